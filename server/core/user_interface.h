// What run control needs of the user interface: message boxes, the file-open
// dialog, the five tool-bar buttons and the three status texts.
#pragma once

#include <array>
#include <cstdint>

namespace server {

enum class Owner { kMainWindow, kFocusWindow, kDialog };
enum class Buttons { kOk, kOkCancel, kYesNo };
enum class Icon { kExclamation, kQuestion, kInformation, kStop };
enum class Answer { kOk, kCancel, kYes, kNo };

// Enabled flags of the buttons that run control sets directly.
struct ButtonStates {
  bool run = false;
  bool terminate = false;
  bool suspend = false;
  bool resume = false;  // Continue
  bool setup = false;

  bool operator==(const ButtonStates&) const = default;
};

struct StatusTexts {
  std::array<char, 16> clock{};
  std::array<char, 32> memory{};
  std::array<char, 300> boot{};  // room for a 259-character boot file name
};

// Both the file dialog's path buffer and its filter are 256 bytes.
using DialogBuffer = std::array<char, 256>;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual Answer ShowMessage(Owner owner, const char* text, const char* caption, Buttons buttons,
                             Icon icon) = 0;
  // Owned by the focus window; the chosen file must exist. False when cancelled.
  virtual bool OpenFileDialog(const DialogBuffer& filter, DialogBuffer& path) = 0;
  virtual void SetButtons(const ButtonStates& states) = 0;
  virtual void SetStatus(const StatusTexts& texts) = 0;
  // Only the clock text changed (the timer tick).
  virtual void SetClock(const char* clock) = 0;
};

struct LocalTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual LocalTime Now() = 0;
  // The available-virtual figure of the global memory status, in bytes.
  virtual std::uint64_t AvailableVirtual() = 0;
};

}  // namespace server
