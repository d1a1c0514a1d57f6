// t800emu --run: boots a file on an emulated board in this process and
// serves it on the terminal with the protocol core, as iserver -sb would.
#pragma once

#include <string>
#include <vector>

#include "iserver/core/console_io.h"
#include "iserver/core/stdio_host.h"
#include "t800/core/transputer.h"

namespace t800emu {

// Files and environment through the C library, with the board's memory size
// answering IBOARDSIZE (in the toolsets' #hex form) when the variable is
// unset, as C runtimes size their heap by it.
class BoardHost final : public iserver::StdioHost {
 public:
  explicit BoardHost(std::uint32_t memory_size) : memory_size_(memory_size) {}
  std::optional<std::string> Environment(const std::string& name) override;

 private:
  std::uint32_t memory_size_;
};

// The program's parameters as one command line: words with blanks (or
// nothing in them) are quoted, as a host that was given separate words must.
std::string JoinParameters(const std::vector<std::string>& words);

// Boots `file` with `parameters` and serves it until it exits; returns the
// exit code the classic server would give.
int RunProgram(t800::Transputer& cpu, t800::Clock& clock, iserver::ConsoleIo& console, const std::string& file,
               const std::vector<std::string>& parameters);

}  // namespace t800emu
