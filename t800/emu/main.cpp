// t800emu: an emulated transputer board.
//   --listen HOST:PORT  link.dll's simulated-adapter peer over TCP
//   --run FILE [ARGS]   boot FILE and serve it on this terminal
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "t800/core/transputer.h"
#include "t800/emu/board_server.h"
#include "t800/emu/options.h"
#include "t800/emu/steady_clock.h"
#include "t800/emu/terminal_host.h"
#include "t800/emu/terminal_platform.h"

int main(int argc, char** argv) {
  const t800emu::Options options = t800emu::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.error.empty()) {
    std::fprintf(stderr, "t800emu: %s\n%s", options.error.c_str(), t800emu::kUsage);
    return 2;
  }
  if (options.mode == t800emu::Options::Mode::kHelp) {
    std::fputs(t800emu::kUsage, stdout);
    return 0;
  }
  t800emu::SteadyClock clock;
  t800::Transputer cpu({options.cpu, options.memory_size}, clock);
  // Said once per kind, on standard error, whatever the mode.
  cpu.SetDiagnostics([](std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  });
  if (options.mode == t800emu::Options::Mode::kListen) {
    return t800emu::ServeBoard(cpu, options.host, options.port);
  }
  return t800emu::RunOnTerminal(cpu, clock, options.file, options.arguments);
}
