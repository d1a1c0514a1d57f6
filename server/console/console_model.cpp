#include "server/console/console_model.h"

#include <algorithm>
#include <cstring>

namespace console {

void EscapeParser::Start() {
  buffer_[0] = kEscape;
  buffer_[1] = 0;
  length_ = 1;
}

void EscapeParser::Append(std::int8_t byte) {
  buffer_[static_cast<std::size_t>(length_)] = byte;
  ++length_;
  buffer_[static_cast<std::size_t>(length_)] = 0;
}

std::optional<EscapeParser::Final> EscapeParser::Abandon() {
  length_ = 0;
  return std::nullopt;
}

std::optional<EscapeParser::Final> EscapeParser::Feed(std::int8_t byte) {
  // length_ <= kSize - 1 holds throughout, so buffer_[length_] is the open slot.
  if (byte == '[') {
    if (length_ + 1 >= kSize) return Abandon();
    Append(byte);
    return std::nullopt;
  }
  if (byte == ';') {
    if (length_ + 2 >= kSize) return Abandon();
    ++length_;  // the parameter slot is passed over
    Append(byte);
    return std::nullopt;
  }
  if (byte >= '0' && byte <= '9') {
    std::int8_t& slot = buffer_[static_cast<std::size_t>(length_)];
    // Computed in one byte and read back signed: 200 reads as -56.
    slot = static_cast<std::int8_t>(static_cast<std::uint8_t>(slot * 10 + (byte - '0')));
    return std::nullopt;
  }
  const Final final{static_cast<char>(byte), length_, buffer_[2], buffer_[4]};
  length_ = 0;
  return final;
}

ConsoleModel::ConsoleModel(ConsoleSink& sink) : sink_(sink) {
  screen_.fill(' ');
}

void ConsoleModel::PutText(std::string_view text) {
  sink_.BeginWrite();
  for (char c : text) PutChar(static_cast<std::uint8_t>(c));
  sink_.EndWrite(*this);
}

void ConsoleModel::PutChar(std::uint8_t byte) {
  if (escape_.open()) {
    if (auto final = escape_.Feed(static_cast<std::int8_t>(byte))) Escape(*final);
    return;
  }
  switch (byte) {
    case kBackspace:
      if (cursor_col_ > 0) --cursor_col_;
      break;
    case kTab:
      do {
        PutChar(' ');
      } while (cursor_col_ % kTabStop != 0);
      break;
    case kLineFeed:
      cursor_col_ = 0;
      LineFeed();
      break;
    case kFormFeed:
      ClearScreen();
      break;
    case kCarriageReturn:
      cursor_col_ = 0;
      break;
    case kEscape:
      escape_.Start();
      return;  // no caret update until the sequence acts
    default:
      // Signed, so 128..255 fall below 32 with the other ignored controls.
      if (static_cast<std::int8_t>(byte) < 32) break;
      Printable(static_cast<char>(byte));
      break;
  }
  PlaceCaret();
}

void ConsoleModel::Printable(char byte) {
  char& cell = screen_[static_cast<std::size_t>(cursor_row_ * kColumns + cursor_col_)];
  cell = byte;
  sink_.DrawCells(cursor_row_, cursor_col_, &cell, 1);
  if (++cursor_col_ == kColumns) {
    cursor_col_ = 0;
    LineFeed();
  }
}

void ConsoleModel::LineFeed() {
  if (++cursor_row_ == kRows) {
    cursor_row_ = kRows - 1;
    ScrollUp();
  }
}

void ConsoleModel::Escape(const EscapeParser::Final& final) {
  const int col = cursor_col_ + 1;  // 1-based, as GotoXY takes it
  const int row = cursor_row_ + 1;
  // A parameter counts only right after "[" and only when non-zero.
  const bool has_count = final.length == 2 && final.first != 0;
  const int n = final.first;
  switch (final.byte) {
    case 'A':
      GotoXY(col, has_count ? row - n : row - 1);
      break;
    case 'B':
      GotoXY(col, has_count ? row + n : row + 1);
      break;
    case 'C':
      GotoXY(has_count ? col + n : col + 1, row);
      break;
    case 'D':
      GotoXY(has_count ? col - n : col - 1, row);
      break;
    case 'H':
    case 'f':
      if (final.length == 4) GotoXY(final.second, final.first);
      break;
    case 'J':
      if (final.length == 2) ClearScreen();
      break;
    case 'K':
      EraseToEndOfLine();
      break;
    case 's':
      saved_col_ = cursor_col_;
      saved_row_ = cursor_row_;
      break;
    case 'u':
      GotoXY(saved_col_ + 1, saved_row_ + 1);
      break;
    default:
      break;  // abandoned
  }
}

void ConsoleModel::GotoXY(int col, int row) {
  if (col < 1 || col > kColumns || row < 1 || row > kRows) return;
  sink_.HideCaret();
  cursor_col_ = col - 1;
  cursor_row_ = row - 1;
  PlaceCaret();
  sink_.ShowCaret();
}

void ConsoleModel::ScrollUp() {
  std::memmove(screen_.data(), screen_.data() + kColumns, (kRows - 1) * kColumns);
  std::fill_n(screen_.data() + (kRows - 1) * kColumns, kColumns, ' ');
  sink_.ScrolledUp();
}

void ConsoleModel::ClearScreen() {
  screen_.fill(' ');
  cursor_col_ = 0;
  cursor_row_ = 0;
  sink_.InvalidateAll();
  PlaceCaret();
}

void ConsoleModel::EraseToEndOfLine() {
  char* from = screen_.data() + cursor_row_ * kColumns + cursor_col_;
  const int count = kColumns - cursor_col_;
  std::fill_n(from, count, ' ');
  sink_.DrawCells(cursor_row_, cursor_col_, from, count);
}

void ConsoleModel::PlaceCaret() {
  sink_.PlaceCaret(cursor_col_, cursor_row_);
}

}  // namespace console
