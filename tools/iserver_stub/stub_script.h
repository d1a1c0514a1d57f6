// The stand-in protocol library's script: one command a line, run by
// CallServer from where the last call stopped. Platform-free so the
// interpreter is tested natively; the DLL shell supplies a StubHost.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stub {

enum class Op {
  kWrite,
  kGetch,
  kKbhit,
  kGets,
  kStread,
  kLinkWrite,
  kLinkRead,
  kLinkReset,
  kLinkTest,
  kIdle,
  kReturn,
  kFault,
};

struct Command {
  Op op;
  std::string text;     // write, link-write: the bytes after unescaping
  std::int32_t number;  // stread, link-read, idle, return
  int line;             // 1-based line in the script
};

// Parses a whole script; on a bad line, nullopt and that line's number in *bad_line.
std::optional<std::vector<Command>> ParseScript(std::string_view text, int* bad_line);

// "\n", "\r", "\t", "\e", "\\" and "\xHH" to bytes.
std::string Unescape(std::string_view text);
// Bytes to log text: printable ASCII as is, everything else as \xHH.
std::string EscapeBytes(const void* data, std::int32_t count);

// What the script acts on.
class StubHost {
 public:
  virtual ~StubHost() = default;
  virtual std::int32_t Stwrite(const std::uint8_t* data, std::int32_t count) = 0;
  virtual std::int32_t Getch() = 0;
  virtual std::int32_t Kbhit() = 0;
  virtual std::int32_t Gets(char* buffer) = 0;
  virtual std::int32_t Stread(std::uint8_t* buffer, std::int32_t count) = 0;
  virtual std::int32_t WriteLink(std::int32_t handle, const void* data, std::int32_t count) = 0;
  virtual std::int32_t ReadLink(std::int32_t handle, void* data, std::int32_t count) = 0;
  virtual std::int32_t ResetLink(std::int32_t handle) = 0;
  // TestError, TestRead and TestWrite, in that order.
  virtual std::array<std::int32_t, 3> TestLink(std::int32_t handle) = 0;
  // Dispatches the thread's messages for up to ms milliseconds, or until stop() holds.
  virtual void Idle(std::int32_t ms, const std::function<bool()>& stop) = 0;
  virtual void Fault() = 0;
  virtual void Log(const std::string& line) = 0;
};

// A booted "program": the script and how far it has run.
class StubProgram {
 public:
  // A new boot: the script starts from its first command.
  void Boot(std::vector<Command> commands);
  // Runs until the script ends (0), a return command, a suspend (2) or a terminate (0).
  std::int32_t Call(StubHost& host, std::int32_t link_handle);
  void RequestSuspend() { suspend_requested_ = true; }
  void RequestTerminate() { terminate_requested_ = true; }
  bool booted() const { return booted_; }

 private:
  void Execute(const Command& command, StubHost& host, std::int32_t link_handle);

  std::vector<Command> commands_;
  std::size_t next_ = 0;
  bool booted_ = false;
  bool suspend_requested_ = false;
  bool terminate_requested_ = false;
};

}  // namespace stub
