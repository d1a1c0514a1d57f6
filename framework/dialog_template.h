// TDialogTemplate builds a standard (not extended) dialog template in memory,
// for dialogs that have no resource: the input dialog, and tests. The byte
// layout is the platform's: a DWORD-aligned header, menu, class, caption,
// optional font, then each item DWORD-aligned. Platform-free.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

class TDialogTemplate {
 public:
  // Predefined control classes, by their atoms.
  enum TControlClass : uint16_t {
    Button = 0x80,
    Edit = 0x81,
    Static = 0x82,
    ListBox = 0x83,
    ScrollBar = 0x84,
    ComboBox = 0x85
  };
  static constexpr uint32_t DsSetFont = 0x40;

  // A class name of "" leaves the platform's dialog class; a point size of 0
  // writes no font (and clears DS_SETFONT).
  TDialogTemplate(uint32_t style, std::string_view caption, int16_t x, int16_t y, int16_t cx, int16_t cy,
                  std::string_view className = {}, uint16_t pointSize = 0, std::string_view face = {});

  void AddItem(TControlClass cls, uint16_t id, std::string_view text, uint32_t style, int16_t x, int16_t y,
               int16_t cx, int16_t cy);

  const std::vector<uint8_t>& Bytes() const { return Data; }
  // Aligned for the platform's DWORD reads.
  const void* Get() const { return Data.data(); }
  uint16_t ItemCount() const { return Count; }

 private:
  void Word(uint16_t w);
  void DWord(uint32_t d);
  void String(std::string_view s);  // UTF-16 of an 8-bit text, NUL-terminated
  void AlignDWord();
  std::vector<uint8_t> Data;
  uint16_t Count = 0;
};
