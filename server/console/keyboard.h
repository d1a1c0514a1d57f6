// The console's keyboard side: the key ring, the PC-style extended key codes
// and the translation of key messages into the ring's byte stream.
#pragma once

#include <array>
#include <cstdint>

#include "server/console/console_sink.h"
#include "server/core/task_state.h"

namespace console {

// 256 bytes, one always free, so at most 255 keys wait.
class KeyRing {
 public:
  static constexpr int kSize = 256;

  bool empty() const { return in_ == out_; }
  int count() const { return (in_ - out_ + kSize) % kSize; }
  int in() const { return in_; }
  int out() const { return out_; }

  // False, with the ring unchanged, when it is full.
  bool Put(std::uint8_t byte);
  // A 0 and an extended code: both bytes or neither.
  bool PutPair(std::uint8_t code);
  // Only on a ring that is not empty.
  std::uint8_t Peek() const { return bytes_[static_cast<std::size_t>(out_)]; }
  std::uint8_t Take();
  void Clear() { in_ = out_ = 0; }

 private:
  std::array<std::uint8_t, kSize> bytes_{};
  int in_ = 0;
  int out_ = 0;
};

struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

enum VirtualKey : std::uint8_t {
  kVkShift = 16,
  kVkControl = 17,
  kVkMenu = 18,  // Alt
  kVkEscape = 27,
  kVkF5 = 0x74,
  kVkF6 = 0x75,
};

// ExtKeyTable: the column is Alt, else Ctrl, else Shift, else plain; 0 when
// the key has no code there.
std::uint8_t ExtKeyCode(std::uint8_t virtual_key, const Modifiers& modifiers);
// AltKeyTable: digits and capital letters; 0 for any other key.
std::uint8_t AltKeyCode(std::uint8_t virtual_key);

// Alt combinations left to the menus: Alt+R, C, D, W, Q, H and Space.
bool IsMenuAltKey(std::uint8_t virtual_key);

// Key messages as the console window receives them (low byte of wParam).
// While no task is active every message is dropped without a trace.
class Keyboard {
 public:
  Keyboard(KeyRing& ring, const server::TaskState& task, ConsoleSink& sink)
      : ring_(ring), task_(task), sink_(sink) {}

  void OnChar(std::uint8_t character);
  void OnKeyDown(std::uint8_t virtual_key);
  void OnKeyUp(std::uint8_t virtual_key);
  void OnSysKeyDown(std::uint8_t virtual_key);
  void OnSysKeyUp(std::uint8_t virtual_key);
  // Focus arriving from another window discards the keys typed ahead.
  void OnSetFocus(bool from_console_itself);

  const Modifiers& modifiers() const { return modifiers_; }

 private:
  void Put(std::uint8_t byte);
  void PutPair(std::uint8_t code);

  KeyRing& ring_;
  const server::TaskState& task_;
  ConsoleSink& sink_;
  Modifiers modifiers_;
};

}  // namespace console
