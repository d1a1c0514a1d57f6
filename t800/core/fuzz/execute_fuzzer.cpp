// Arbitrary code bytes on the processor for a bounded number of cycles: no
// crash, no access outside the host's memory, whatever the code does to
// queues, channels and links. The first byte picks the processor type.
#include <cstddef>
#include <cstdint>

#include "t800/core/transputer.h"

namespace {

class StepClock final : public t800::Clock {
 public:
  std::uint64_t Microseconds() override { return now += 7; }
  std::uint64_t now = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  StepClock clock;
  const t800::Cpu type = (data[0] & 1) ? t800::Cpu::kT414 : t800::Cpu::kT800;
  t800::Transputer cpu({type, 64 * 1024}, clock);
  cpu.SetDiagnostics([](std::string_view) {});
  const std::uint8_t* code = data + 1;
  const auto length = static_cast<std::uint32_t>(size - 1 > 60000 ? 60000 : size - 1);
  cpu.memory().Write(cpu.mem_start(), code, length);
  cpu.StartProcess(cpu.mem_start(), 0x80008000u + (data[0] & 0xF0) * 64u, data[0] >> 7);
  std::uint8_t out[64];
  // 20 rounds of 500 cycles: long enough for timers, links and the
  // scheduler to interleave, short enough for millions of inputs.
  for (int round = 0; round < 20; ++round) {
    if (cpu.Run(500) == t800::RunStatus::kHalted) break;
    for (int link = 0; link < t800::kLinkCount; ++link) {
      cpu.LinkInput(link, code, length < 16 ? length : 16);
      cpu.LinkOutput(link, out, sizeof out);
    }
    if (round == 10 && (data[0] & 2)) cpu.Analyse();
  }
  return 0;
}
