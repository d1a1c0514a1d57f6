// The far end of a simulated C012's link: takes the adapter's frames, keeps
// what arrived, and answers by echoing and/or from a small script.
//
// Script: one command a line, run in order; '#' starts a comment.
//   expect N       wait until N more data bytes have arrived
//   send HH HH ..  send data bytes given in hexadecimal
//   say TEXT       send the bytes of TEXT
//   error 0|1      lower or raise the transputer's error flag (TestError then answers 0 or 1)
//   await-reset    wait until the reset line has gone 1 and back to 0
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace peer {

struct ScriptStep {
  enum class Kind { kExpect, kSend, kError, kAwaitReset } kind;
  std::vector<std::uint8_t> bytes;  // kSend
  std::uint32_t count = 0;          // kExpect; kError: the flag
};

// The script's steps, or a message naming the first bad line.
struct ParsedScript {
  std::vector<ScriptStep> steps;
  std::string error;
};
ParsedScript ParseScript(std::string_view text);

class PeerSession {
 public:
  PeerSession(std::vector<ScriptStep> script, bool echo) : script_(std::move(script)), echo_(echo) {}

  // Feeds bytes from the adapter; returns the bytes to send back.
  std::vector<std::uint8_t> OnReceive(std::span<const std::uint8_t> bytes);
  // The bytes the script sends before anything has arrived.
  std::vector<std::uint8_t> Start();

  const std::vector<std::uint8_t>& data() const { return data_; }
  std::uint32_t resets() const { return resets_; }
  bool script_done() const { return next_step_ == script_.size(); }
  // One line per event: "data HH", "reset 0|1", "analyse 0|1".
  const std::string& transcript() const { return transcript_; }

 private:
  void OnFrame(std::uint8_t tag, std::uint8_t value, std::vector<std::uint8_t>& out);
  void RunScript(std::vector<std::uint8_t>& out);

  std::vector<ScriptStep> script_;
  bool echo_;
  std::size_t next_step_ = 0;
  // Where the current waiting step began: the data size for an expect, the
  // reset count for an await-reset.
  std::size_t step_mark_ = 0;
  bool step_started_ = false;
  int pending_tag_ = -1;
  bool reset_line_ = false;
  std::vector<std::uint8_t> data_;
  std::uint32_t resets_ = 0;
  std::string transcript_;
};

}  // namespace peer
