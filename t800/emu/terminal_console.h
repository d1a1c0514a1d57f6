// The protocol core's console on a terminal or a pipe: output as it comes,
// lines for READ and GETS, keys for GETKEY and POLLKEY. Keys come from
// standard input whatever it is: at a terminal in raw mode (no echo, no line
// editing), from a pipe one byte a key, with a newline arriving as the Enter
// key (a carriage return) as it would at a terminal; READ gets the bytes
// unchanged. Platform-free over a small Terminal interface.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "iserver/core/console_io.h"

namespace t800emu {

class Terminal {
 public:
  enum class Got { kByte, kNothing, kEnd };
  virtual ~Terminal() = default;
  virtual bool IsTerminal() = 0;  // standard input is a terminal
  // Raw: keys one at a time without echo; cooked: edited, echoed lines.
  virtual void SetRaw(bool raw) = 0;
  // One byte of standard input, waiting up to timeout_ms (-1: for ever).
  virtual Got ReadByte(std::uint8_t& byte, int timeout_ms) = 0;
  virtual void Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) = 0;
};

class TerminalConsole final : public iserver::ConsoleIo {
 public:
  explicit TerminalConsole(Terminal& terminal) : terminal_(terminal) {}

  void Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) override;
  std::size_t ReadLine(std::uint8_t* buffer, std::size_t count) override;
  std::optional<std::uint8_t> GetKey() override;
  std::optional<std::uint8_t> PollKey() override;
  bool InputEnded() override { return ended_ && line_.empty(); }

 private:
  std::optional<std::uint8_t> Key(int timeout_ms);
  void SetRaw(bool raw);  // only changes reach the terminal

  Terminal& terminal_;
  std::string line_;  // the rest of a line READ has not taken yet
  bool ended_ = false;
  std::optional<bool> raw_;
};

}  // namespace t800emu
