#include "framework/dialog_template.h"

namespace {
constexpr size_t ItemCountOffset = 8;  // after style and extended style
}

TDialogTemplate::TDialogTemplate(uint32_t style, std::string_view caption, int16_t x, int16_t y, int16_t cx,
                                 int16_t cy, std::string_view className, uint16_t pointSize,
                                 std::string_view face) {
  if (pointSize)
    style |= DsSetFont;
  else
    style &= ~DsSetFont;
  DWord(style);
  DWord(0);  // extended style
  Word(0);   // item count, patched by AddItem
  Word(static_cast<uint16_t>(x));
  Word(static_cast<uint16_t>(y));
  Word(static_cast<uint16_t>(cx));
  Word(static_cast<uint16_t>(cy));
  Word(0);  // no menu
  if (className.empty())
    Word(0);
  else
    String(className);
  String(caption);
  if (pointSize) {
    Word(pointSize);
    String(face);
  }
}

void TDialogTemplate::AddItem(TControlClass cls, uint16_t id, std::string_view text, uint32_t style,
                              int16_t x, int16_t y, int16_t cx, int16_t cy) {
  AlignDWord();
  DWord(style);
  DWord(0);
  Word(static_cast<uint16_t>(x));
  Word(static_cast<uint16_t>(y));
  Word(static_cast<uint16_t>(cx));
  Word(static_cast<uint16_t>(cy));
  Word(id);
  Word(0xFFFF);
  Word(cls);
  String(text);
  Word(0);  // no creation data
  ++Count;
  Data[ItemCountOffset] = static_cast<uint8_t>(Count);
  Data[ItemCountOffset + 1] = static_cast<uint8_t>(Count >> 8);
}

void TDialogTemplate::Word(uint16_t w) {
  Data.push_back(static_cast<uint8_t>(w));
  Data.push_back(static_cast<uint8_t>(w >> 8));
}

void TDialogTemplate::DWord(uint32_t d) {
  Word(static_cast<uint16_t>(d));
  Word(static_cast<uint16_t>(d >> 16));
}

void TDialogTemplate::String(std::string_view s) {
  for (char c : s) Word(static_cast<uint8_t>(c));  // Latin-1 widened
  Word(0);
}

void TDialogTemplate::AlignDWord() {
  while (Data.size() % 4) Data.push_back(0);
}
