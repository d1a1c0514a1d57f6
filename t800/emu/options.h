// The command line of t800emu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "t800/core/transputer.h"

namespace t800emu {

inline constexpr const char* kUsage =
    "usage: t800emu --listen HOST:PORT [--cpu t414|t800] [--memory SIZE]\n"
    "       t800emu [--cpu t414|t800] [--memory SIZE] --run FILE [ARGS...]\n"
    "  --listen  be the board behind link.dll's simulated adapter\n"
    "            (TESSEL_SIMULATED_C012=HOST:PORT), one connection at a time\n"
    "  --run     boot FILE on the emulated board and serve it on this terminal;\n"
    "            ARGS are the program's parameters (-se: any Error ends it)\n"
    "  --cpu     the processor (default t800)\n"
    "  --memory  the memory fitted: a power of two from 4K to 1G, in bytes or\n"
    "            with K or M (default 2M)\n";

struct Options {
  enum class Mode { kHelp, kListen, kRun } mode = Mode::kHelp;
  t800::Cpu cpu = t800::Cpu::kT800;
  std::uint32_t memory_size = 2u << 20;
  std::string host;
  std::uint16_t port = 0;
  std::string file;
  std::vector<std::string> arguments;
  std::string error;  // empty when the line was understood
};

// Everything after --run FILE belongs to the program.
Options ParseOptions(const std::vector<std::string>& words);

}  // namespace t800emu
