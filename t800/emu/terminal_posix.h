// The process's standard input and output as a Terminal on POSIX. The
// terminal's settings are restored whenever the program ends: on return,
// exit, and the signals that end it.
#pragma once

#include "t800/emu/terminal_console.h"

namespace t800emu {

class PosixTerminal final : public Terminal {
 public:
  PosixTerminal();
  ~PosixTerminal() override;
  PosixTerminal(const PosixTerminal&) = delete;
  PosixTerminal& operator=(const PosixTerminal&) = delete;

  bool IsTerminal() override { return is_terminal_; }
  void SetRaw(bool raw) override;
  Got ReadByte(std::uint8_t& byte, int timeout_ms) override;
  void Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) override;

 private:
  bool is_terminal_ = false;
  bool raw_ = false;
};

}  // namespace t800emu
