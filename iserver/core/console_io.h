// What the protocol core needs of the user's console: the program's standard
// output and error, typed lines for its standard input, and single keys.
// iserver.dll maps it onto tessel.exe's console services; a terminal host
// onto its terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace iserver {

enum class ConsoleStream : std::uint8_t { kOutput, kError };

class ConsoleIo {
 public:
  virtual ~ConsoleIo() = default;
  // Shows the bytes as they are: a '\n' ends the line.
  virtual void Write(ConsoleStream stream, std::span<const std::uint8_t> bytes) = 0;
  // Typed input, one edited and echoed line at a time, each ending in '\n',
  // handed out in pieces of at most count (>= 1) bytes. Waits for a line when
  // none is pending. 0 means the wait ended without input: the task is being
  // ended (terminated, or the host is quitting), and the session stops.
  virtual std::size_t ReadLine(std::uint8_t* buffer, std::size_t count) = 0;
  // The next key, raw and without echo; waits for one. nullopt as for ReadLine.
  virtual std::optional<std::uint8_t> GetKey() = 0;
  // A key that is already waiting, or nullopt at once.
  virtual std::optional<std::uint8_t> PollKey() = 0;
  // True once standard input has run out (a pipe or file at its end): a wait
  // that ends without input then answers as at the end of a file (READ gets
  // no bytes, GETS and GETKEY fail, EOF says so) instead of ending the task.
  virtual bool InputEnded() { return false; }
};

}  // namespace iserver
