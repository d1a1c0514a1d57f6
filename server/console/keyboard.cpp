#include "server/console/keyboard.h"

#include <iterator>

namespace console {

bool KeyRing::Put(std::uint8_t byte) {
  const int next = (in_ + 1) % kSize;
  if (next == out_) return false;
  bytes_[static_cast<std::size_t>(in_)] = byte;
  in_ = next;
  return true;
}

bool KeyRing::PutPair(std::uint8_t code) {
  const int before = in_;
  if (Put(0) && Put(code)) return true;
  in_ = before;
  return false;
}

std::uint8_t KeyRing::Take() {
  const std::uint8_t byte = bytes_[static_cast<std::size_t>(out_)];
  out_ = (out_ + 1) % kSize;
  return byte;
}

namespace {

struct ExtKey {
  std::uint8_t key;
  std::uint8_t plain, shift, ctrl, alt;
};

// PC BIOS extended codes; the Shift column of the cursor block holds the
// keypad's digit characters, still sent behind a 0.
constexpr ExtKey kExtKeyTable[] = {
    {0x70, 59, 84, 94, 104},  {0x71, 60, 85, 95, 105},    {0x72, 61, 86, 96, 106},
    {0x73, 62, 87, 97, 107},  {0x74, 63, 88, 98, 108},    {0x75, 64, 89, 99, 109},
    {0x76, 65, 90, 100, 110}, {0x77, 66, 91, 101, 111},   {0x78, 67, 92, 102, 112},
    {0x79, 68, 93, 103, 113}, {0x7A, 133, 135, 137, 139}, {0x7B, 134, 136, 138, 140},
    {0x08, 0, 0, 0, 14},      {0x09, 0, 15, 148, 165},    {0x0D, 0, 0, 0, 28},
    {0x1B, 0, 0, 0, 1},       {0x21, 73, 57, 132, 153},   {0x22, 81, 51, 118, 161},
    {0x23, 79, 49, 117, 159}, {0x24, 71, 55, 119, 151},   {0x25, 75, 52, 115, 155},
    {0x26, 72, 56, 141, 152}, {0x27, 77, 54, 116, 157},   {0x28, 80, 50, 145, 160},
    {0x2D, 82, 48, 146, 162}, {0x2E, 83, 46, 147, 163},
};

struct AltKey {
  std::uint8_t key;
  std::uint8_t code;
};

constexpr AltKey kAltKeyTable[] = {
    {'0', 129}, {'1', 120}, {'2', 121}, {'3', 122}, {'4', 123}, {'5', 124}, {'6', 125}, {'7', 126},
    {'8', 127}, {'9', 128}, {'A', 30},  {'B', 48},  {'C', 46},  {'D', 32},  {'E', 18},  {'F', 33},
    {'G', 34},  {'H', 35},  {'I', 23},  {'J', 36},  {'K', 37},  {'L', 38},  {'M', 50},  {'N', 49},
    {'O', 24},  {'P', 25},  {'Q', 16},  {'R', 19},  {'S', 31},  {'T', 20},  {'U', 22},  {'V', 47},
    {'W', 17},  {'X', 45},  {'Y', 21},  {'Z', 44},
};

}  // namespace

bool IsMenuAltKey(std::uint8_t key) {
  switch (key) {
    case 'R':
    case 'C':
    case 'D':
    case 'W':
    case 'Q':
    case 'H':
    case ' ':
      return true;
    default:
      return false;
  }
}

std::uint8_t ExtKeyCode(std::uint8_t virtual_key, const Modifiers& modifiers) {
  for (const ExtKey& row : kExtKeyTable) {
    if (row.key != virtual_key) continue;
    if (modifiers.alt) return row.alt;
    if (modifiers.ctrl) return row.ctrl;
    if (modifiers.shift) return row.shift;
    return row.plain;
  }
  return 0;
}

std::uint8_t AltKeyCode(std::uint8_t virtual_key) {
  for (const AltKey& row : kAltKeyTable) {
    if (row.key == virtual_key) return row.code;
  }
  return 0;
}

void Keyboard::Put(std::uint8_t byte) {
  if (!ring_.Put(byte)) sink_.Beep();
}

void Keyboard::PutPair(std::uint8_t code) {
  if (!ring_.PutPair(code)) sink_.Beep();
}

void Keyboard::OnChar(std::uint8_t character) {
  if (!task_.active()) return;
  Put(character);
}

void Keyboard::OnKeyDown(std::uint8_t virtual_key) {
  if (!task_.active()) return;
  if (virtual_key == kVkControl) {
    modifiers_.ctrl = true;
    return;
  }
  if (virtual_key == kVkShift) {
    modifiers_.shift = true;
    return;
  }
  std::uint8_t code = ExtKeyCode(virtual_key, modifiers_);
  if (code == 0) {
    if (!modifiers_.alt) return;
    code = AltKeyCode(virtual_key);
    if (code == 0) return;
  }
  // Cleared after the lookup, so Ctrl+F5 and Ctrl+F6 still give their codes.
  if (virtual_key == kVkF5 || virtual_key == kVkF6) modifiers_.ctrl = false;
  PutPair(code);
}

void Keyboard::OnSysKeyDown(std::uint8_t virtual_key) {
  if (!task_.active()) return;
  if (virtual_key == kVkMenu && !modifiers_.alt) {
    modifiers_.alt = true;
    return;
  }
  if (IsMenuAltKey(virtual_key)) {
    modifiers_.alt = false;
    return;
  }
  std::uint8_t code = ExtKeyCode(virtual_key, modifiers_);
  if (code == 0) code = AltKeyCode(virtual_key);
  if (code == 0) return;
  PutPair(code);
}

void Keyboard::OnKeyUp(std::uint8_t virtual_key) {
  if (!task_.active()) return;
  if (virtual_key == kVkShift) modifiers_.shift = false;
  if (virtual_key == kVkControl) modifiers_.ctrl = false;
  if (virtual_key == kVkMenu || virtual_key == kVkEscape) modifiers_.alt = false;
}

void Keyboard::OnSysKeyUp(std::uint8_t virtual_key) {
  if (!task_.active()) return;
  if (virtual_key == kVkMenu) modifiers_.alt = false;
  if (virtual_key == kVkControl) modifiers_.ctrl = false;
}

void Keyboard::OnSetFocus(bool from_console_itself) {
  if (!from_console_itself) ring_.Clear();
}

}  // namespace console
