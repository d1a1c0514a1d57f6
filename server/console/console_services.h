// The five console services the protocol library calls back: GETCH, KBHIT,
// GETS, STREAD and STWRITE, waiting for keys over a message pump.
#pragma once

#include <cstdint>
#include <optional>

#include "server/console/console.h"

namespace console {

struct PumpResult {
  bool quit = false;  // the quit message was retrieved; it is no longer queued
  int exit_code = 0;
};

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Waits for one message of the thread and dispatches it.
  virtual PumpResult PumpOne() = 0;
  // Queues the quit message again, so the main loop still ends the program.
  virtual void RepostQuit(int exit_code) = 0;
};

class ConsoleServices {
 public:
  // What GETCH returns when its wait ends without a key (task terminated or
  // program leaving): like C's EOF.
  static constexpr std::int32_t kNoKey = -1;
  // The longest line GETS and STREAD accept; a GETS buffer needs one more byte.
  static constexpr int kMaxLine = LineState::kSize - 1;

  ConsoleServices(Console& console, MessagePump& pump) : console_(console), pump_(pump) {}

  std::int32_t Getch();
  std::int32_t Kbhit() const;
  // Returns the line's length; 0 with an empty string when the wait ended
  // without a complete line.
  std::int32_t Gets(char* buffer);
  std::int32_t Stread(std::uint8_t* buffer, std::int32_t count);
  // Returns the number of bytes written.
  std::int32_t Stwrite(const std::uint8_t* data, std::int32_t count);

  // The program is leaving: every wait ends at once from now on.
  void SetLeaving() { leaving_ = true; }
  bool leaving() const { return leaving_; }

 private:
  bool WaitForKey();
  std::optional<std::uint8_t> NextByte();
  std::optional<int> GetLine(char* buffer, int max_chars);

  Console& console_;
  MessagePump& pump_;
  bool leaving_ = false;
};

}  // namespace console
