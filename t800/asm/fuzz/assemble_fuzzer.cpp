// Any text as a source file must assemble or be refused with errors, never
// crash or run away. It can include itself, as "f.s".
#include <cstddef>
#include <cstdint>
#include <string>

#include "t800/asm/assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  t800asm::Assemble("f.s", {}, [&](const std::string& path) -> std::optional<std::string> {
    if (path != "f.s") return std::nullopt;
    return text;
  });
  return 0;
}
