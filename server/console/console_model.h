// The console's text grid: 25 rows of 80 cells, a cursor, control characters
// and a small ANSI-style escape set, drawing through a ConsoleSink.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "server/console/console_sink.h"

namespace console {

constexpr int kRows = 25;
constexpr int kColumns = 80;
constexpr int kTabStop = 8;  // tabs advance to the next multiple of 8

// The control characters the console acts on.
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kTab = 9;
constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kFormFeed = 12;
constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kEscape = 27;

// Collects one escape sequence in the 40-byte EscBuf. Parameters are kept as
// signed bytes: "[" and ";" open a zeroed slot, digits accumulate into it.
class EscapeParser {
 public:
  static constexpr int kSize = 40;

  // The sequence as it stood when its final byte arrived.
  struct Final {
    char byte;
    int length;          // EscLen at that moment
    std::int8_t first;   // EscBuf byte 2
    std::int8_t second;  // EscBuf byte 4
  };

  bool open() const { return length_ != 0; }
  int length() const { return length_; }

  void Start();
  // Feeds one byte of an open sequence: nothing while the sequence goes on,
  // else the final byte, after which the sequence is closed. A sequence that
  // would outgrow the buffer is abandoned: nothing is stored past its end.
  std::optional<Final> Feed(std::int8_t byte);

 private:
  void Append(std::int8_t byte);
  std::optional<Final> Abandon();

  std::array<std::int8_t, kSize> buffer_{};
  int length_ = 0;
};

class ConsoleModel {
 public:
  explicit ConsoleModel(ConsoleSink& sink);

  // One byte of output at the cursor.
  void PutChar(std::uint8_t byte);
  // A run of bytes as one write: the sink may draw them once, at the end.
  void PutText(std::string_view text);

  // 1-based; a position outside the grid is ignored as a whole.
  void GotoXY(int col, int row);
  void ScrollUp();
  void ClearScreen();
  void EraseToEndOfLine();
  void PlaceCaret();

  int cursor_col() const { return cursor_col_; }
  int cursor_row() const { return cursor_row_; }
  char Cell(int row, int col) const { return screen_[static_cast<std::size_t>(row * kColumns + col)]; }
  std::string_view Row(int row) const {
    return {screen_.data() + static_cast<std::size_t>(row * kColumns), kColumns};
  }
  const EscapeParser& escape() const { return escape_; }
  ConsoleSink& sink() { return sink_; }

 private:
  void Printable(char byte);
  void LineFeed();
  void Escape(const EscapeParser::Final& final);

  ConsoleSink& sink_;
  std::array<char, kRows * kColumns> screen_;
  int cursor_col_ = 0;
  int cursor_row_ = 0;
  int saved_col_ = 0;
  int saved_row_ = 0;
  EscapeParser escape_;
};

}  // namespace console
