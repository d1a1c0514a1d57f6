#include "boards/include/link_name.h"

#include <cstdio>

namespace link_interface {

std::optional<std::uint32_t> ParsePortBase(const char* link_name,
                                           std::span<const char* const> formats) {
  if (link_name == nullptr || link_name[0] == '\0') return kDefaultPortBase;
  for (const char* format : formats) {
    // %x stores an unsigned int and %d an int; both are 32 bits wide here, and
    // the port base keeps the bits as they are.
    unsigned int value = 0;
#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat"
#endif
    const int converted = std::sscanf(link_name, format, &value);
#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (converted == 1) return static_cast<std::uint32_t>(value);
  }
  return std::nullopt;
}

}  // namespace link_interface
