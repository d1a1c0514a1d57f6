// The terminal host on this platform: the terminal it serves, then
// RunProgram (terminal_host.h). POSIX in run_posix.cpp; the Windows build
// serves the console window in run_win32.cpp.
#pragma once

#include <string>
#include <vector>

#include "t800/core/transputer.h"

namespace t800emu {

int RunOnTerminal(t800::Transputer& cpu, t800::Clock& clock, const std::string& file,
                  const std::vector<std::string>& arguments);

}  // namespace t800emu
