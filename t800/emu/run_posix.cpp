#include <csignal>

#include "t800/emu/terminal_host.h"
#include "t800/emu/terminal_platform.h"
#include "t800/emu/terminal_posix.h"

namespace t800emu {

int RunOnTerminal(t800::Transputer& cpu, t800::Clock& clock, const std::string& file,
                  const std::vector<std::string>& arguments) {
  std::signal(SIGPIPE, SIG_IGN);  // output to a closed pipe fails, it does not end us
  PosixTerminal terminal;
  TerminalConsole console(terminal);
  return RunProgram(cpu, clock, console, file, arguments);
}

}  // namespace t800emu
