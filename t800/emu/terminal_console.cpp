#include "t800/emu/terminal_console.h"

#include <algorithm>

namespace t800emu {

void TerminalConsole::Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) {
  terminal_.Write(stream, bytes);
}

std::size_t TerminalConsole::ReadLine(std::uint8_t* buffer, std::size_t count) {
  if (line_.empty() && !ended_) {
    SetRaw(false);
    std::uint8_t byte = 0;
    for (;;) {
      const Terminal::Got got = terminal_.ReadByte(byte, -1);
      if (got != Terminal::Got::kByte) {
        ended_ = got == Terminal::Got::kEnd;
        break;
      }
      line_.push_back(static_cast<char>(byte));
      if (byte == '\n') break;
    }
  }
  const std::size_t n = std::min(count, line_.size());
  std::copy_n(line_.begin(), n, buffer);
  line_.erase(0, n);
  return n;
}

std::optional<std::uint8_t> TerminalConsole::Key(int timeout_ms) {
  if (!line_.empty()) {  // typed ahead of a READ that took part of the line
    const auto byte = static_cast<std::uint8_t>(line_.front());
    line_.erase(0, 1);
    return byte == '\n' ? '\r' : byte;
  }
  if (ended_) return std::nullopt;
  const bool terminal = terminal_.IsTerminal();
  SetRaw(true);
  std::uint8_t byte = 0;
  const Terminal::Got got = terminal_.ReadByte(byte, timeout_ms);
  if (got == Terminal::Got::kEnd) ended_ = true;
  if (got != Terminal::Got::kByte) return std::nullopt;
  // A newline from a pipe is the Enter key, which a terminal sends as CR.
  if (!terminal && byte == '\n') byte = '\r';
  return byte;
}

void TerminalConsole::SetRaw(bool raw) {
  if (!terminal_.IsTerminal() || raw_ == raw) return;
  raw_ = raw;
  terminal_.SetRaw(raw);
}

std::optional<std::uint8_t> TerminalConsole::GetKey() { return Key(-1); }

std::optional<std::uint8_t> TerminalConsole::PollKey() { return Key(0); }

}  // namespace t800emu
