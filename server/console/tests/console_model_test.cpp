#include "server/console/console_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "server/console/tests/recording_sink.h"

namespace console {
namespace {

using ::testing::ElementsAre;
using testing::RecordingSink;

class ConsoleModelTest : public ::testing::Test {
 protected:
  void Put(std::string_view text) { model.PutText(text); }
  void MoveTo(int col, int row) {  // 0-based, without going through escapes
    model.GotoXY(col + 1, row + 1);
    sink.log.clear();
  }
  std::string RowText(int row) const { return std::string(model.Row(row)); }

  RecordingSink sink;
  ConsoleModel model{sink};
};

TEST_F(ConsoleModelTest, PrintableByteIsStoredDrawnAndTheCaretFollows) {
  MoveTo(3, 2);
  model.PutChar('x');
  EXPECT_THAT(sink.log, ElementsAre("draw 2,3 'x'", "caret 4,2"));
  EXPECT_EQ(model.Cell(2, 3), 'x');
}

TEST_F(ConsoleModelTest, EightyBytesWrapAndLineFeedOnLastRowScrolls) {
  Put(std::string(80, 'a'));
  EXPECT_EQ(model.cursor_col(), 0);
  EXPECT_EQ(model.cursor_row(), 1);
  MoveTo(5, 0);
  Put("top");
  MoveTo(7, 24);
  Put("bottom\n");
  EXPECT_EQ(model.cursor_row(), 24);
  EXPECT_EQ(model.cursor_col(), 0);
  EXPECT_EQ(RowText(0), std::string(80, ' '));  // the old row 0 is gone
  EXPECT_EQ(RowText(23).substr(7, 6), "bottom");
  EXPECT_EQ(RowText(24), std::string(80, ' '));
  EXPECT_EQ(sink.Count("invalidate"), 1);
}

TEST_F(ConsoleModelTest, WritingPastTheLastCellScrolls) {
  MoveTo(79, 24);
  model.PutChar('z');
  EXPECT_EQ(RowText(23)[79], 'z');
  EXPECT_EQ(model.cursor_row(), 24);
  EXPECT_EQ(model.cursor_col(), 0);
}

TEST_F(ConsoleModelTest, TabWritesSpacesToTheNextStop) {
  struct Case {
    int from;
    int spaces;
    int end_col, end_row;
  } cases[] = {{0, 8, 8, 3}, {5, 3, 8, 3}, {8, 8, 16, 3}, {79, 1, 0, 4}};
  for (const Case& c : cases) {
    MoveTo(c.from, 3);
    model.PutChar(9);
    int drawn = 0;
    for (const auto& line : sink.log) drawn += line.rfind("draw", 0) == 0;
    EXPECT_EQ(drawn, c.spaces) << c.from;
    EXPECT_EQ(model.cursor_col(), c.end_col) << c.from;
    EXPECT_EQ(model.cursor_row(), c.end_row) << c.from;
  }
}

TEST_F(ConsoleModelTest, BackspaceAndCarriageReturnMoveWithoutErasing) {
  Put("ab\b");
  EXPECT_EQ(model.cursor_col(), 1);
  EXPECT_EQ(model.Cell(0, 1), 'b');
  Put("\r\b");
  EXPECT_EQ(model.cursor_col(), 0);
  EXPECT_EQ(model.cursor_row(), 0);
}

TEST_F(ConsoleModelTest, IgnoredBytesLeaveNoTraceButPlaceTheCaret) {
  MoveTo(4, 4);
  for (int byte : {7, 0, 1, 31, 127 + 1, 200, 255}) model.PutChar(static_cast<std::uint8_t>(byte));
  EXPECT_EQ(RowText(4), std::string(80, ' '));
  EXPECT_EQ(model.cursor_col(), 4);
  EXPECT_EQ(sink.Count("caret 4,4"), 7);
  EXPECT_EQ(sink.log.size(), 7u);
  model.PutChar(127);  // DEL is printable here
  EXPECT_EQ(model.Cell(4, 4), '\x7f');
}

TEST_F(ConsoleModelTest, FormFeedClearsAndHomes) {
  Put("junk\n\nmore");
  sink.log.clear();
  model.PutChar(12);
  EXPECT_THAT(sink.log, ElementsAre("invalidate", "caret 0,0", "caret 0,0"));
  for (int r = 0; r < kRows; ++r) EXPECT_EQ(RowText(r), std::string(80, ' '));
}

TEST_F(ConsoleModelTest, ClearScreenSequencesOnlyAtLengthTwo) {
  struct Case {
    const char* sequence;
    bool clears;
  } cases[] = {{"\x1b[2J", true},    {"\x1b[J", true}, {"\x1b[0J", true},
               {"\x1b[1;2J", false}, {"\x1bJ", false}, {"\x1b[[J", false}};
  for (const Case& c : cases) {
    model.PutChar(12);
    Put("text");
    Put(c.sequence);
    EXPECT_EQ(model.Cell(0, 0) == ' ', c.clears) << c.sequence + 1;
    EXPECT_EQ(model.cursor_col(), c.clears ? 0 : 4) << c.sequence + 1;
    EXPECT_FALSE(model.escape().open());
  }
}

TEST_F(ConsoleModelTest, CursorPositionOnlyWithRowAndColumn) {
  struct Case {
    const char* sequence;
    int col, row;  // 0-based result, from a start at column 2 of row 2
  } cases[] = {
      {"\x1b[5;10H", 9, 4},    {"\x1b[5;10f", 9, 4}, {"\x1b[12;34H", 33, 11}, {"\x1b[26;1H", 2, 2},
      {"\x1b[5H", 2, 2},       {"\x1b[H", 2, 2},     {"\x1b[1;81H", 2, 2},    {"\x1b[0;5H", 2, 2},
      {"\x1b[25;80H", 79, 24}, {"\x1b[;H", 2, 2},    {"\x1b[1;1;1H", 2, 2},   {"\x1b[300;1H", 2, 2},
  };
  for (const Case& c : cases) {
    MoveTo(2, 2);
    Put(c.sequence);
    EXPECT_EQ(model.cursor_col(), c.col) << c.sequence + 1;
    EXPECT_EQ(model.cursor_row(), c.row) << c.sequence + 1;
  }
}

TEST_F(ConsoleModelTest, RelativeMovesAndTheirQuirks) {
  struct Case {
    int from_col, from_row;
    const char* sequence;
    int col, row;
  } cases[] = {
      {5, 5, "\x1b[A", 5, 4},
      {5, 5, "\x1b[3A", 5, 2},
      {5, 1, "\x1b[3A", 5, 1},
      {5, 0, "\x1b[A", 5, 0},
      {5, 5,
       "\x1b"
       "A",
       5, 4},
      {5, 5, "\x1b[2B", 5, 7},
      {5, 5, "\x1b[B", 5, 6},
      {5, 24, "\x1b[B", 5, 24},
      {5, 5, "\x1b[0C", 6, 5},
      {5, 5, "\x1b[C", 6, 5},
      {5, 5, "\x1b[4C", 9, 5},
      {79, 5, "\x1b[C", 79, 5},
      {5, 5, "\x1b[D", 4, 5},
      {5, 5, "\x1b[5D", 0, 5},
      {5, 5, "\x1b[6D", 5, 5},
      {5, 5, "\x1b[1;1A", 5, 4},  // a second parameter drops the count: one row
      {5, 5, "\x1b[200B", 5, 5},  // 200 reads back as -56: 61 rows up, outside
      {5, 5, "\x1b[255A", 5, 6},  // 255 reads back as -1: up by -1 is down by one
  };
  for (const Case& c : cases) {
    MoveTo(c.from_col, c.from_row);
    Put(c.sequence);
    EXPECT_EQ(model.cursor_col(), c.col) << c.from_col << "," << c.from_row << c.sequence + 1;
    EXPECT_EQ(model.cursor_row(), c.row) << c.from_col << "," << c.from_row << c.sequence + 1;
  }
}

TEST_F(ConsoleModelTest, SaveAndRestoreWithOrWithoutBracket) {
  MoveTo(10, 3);
  Put("\x1b[s output \n more\x1b[u");
  EXPECT_EQ(model.cursor_col(), 10);
  EXPECT_EQ(model.cursor_row(), 3);
  MoveTo(20, 7);
  Put("\x1bsabc\x1bu");
  EXPECT_EQ(model.cursor_col(), 20);
  EXPECT_EQ(model.cursor_row(), 7);
}

TEST_F(ConsoleModelTest, EraseToEndOfLineRedrawsTheRestWithoutMoving) {
  Put(std::string(80, 'q'));
  MoveTo(70, 0);
  Put("\x1b[K");
  EXPECT_THAT(sink.log, ElementsAre("draw 0,70 '          '"));
  EXPECT_EQ(RowText(0), std::string(70, 'q') + std::string(10, ' '));
  EXPECT_EQ(model.cursor_col(), 70);
  Put("\x1b[1;2K\x1bK");  // parameters do not matter, nor does the bracket
  EXPECT_EQ(sink.Count("draw 0,70 '          '"), 3);
}

TEST_F(ConsoleModelTest, UnknownFinalAbandonsAndTheNextBytePrints) {
  struct Case {
    const char* sequence;
    int col;
  } cases[] = {{"\x1bXy", 1}, {"\x1b[12Zy", 1}, {"\x1b\x1by", 1}, {"\x1b[\xc8y", 1}};
  for (const Case& c : cases) {
    model.PutChar(12);
    Put(c.sequence);
    EXPECT_EQ(RowText(0).substr(0, 2), "y ") << c.sequence + 1;
    EXPECT_EQ(model.cursor_col(), c.col);
  }
}

TEST_F(ConsoleModelTest, SequenceThatWouldOutgrowEscBufIsAbandonedInBounds) {
  // Each ";" takes two bytes; 40 of them run far past the buffer.
  std::string sequence = "\x1b[";
  for (int i = 0; i < 40; ++i) sequence += "1;";
  Put(sequence);
  EXPECT_LT(model.escape().length(), EscapeParser::kSize);
  Put("H");
  EXPECT_FALSE(model.escape().open());

  // "[" alone fills one byte each; the sequence ends once the buffer is full,
  // and what follows prints.
  model.PutChar(12);
  Put("\x1b" + std::string(60, '[') + "ok");
  EXPECT_FALSE(model.escape().open());
  EXPECT_NE(RowText(0).find("ok"), std::string::npos);
}

TEST_F(ConsoleModelTest, SequenceSplitAcrossCallsStillActs) {
  Put("abc\x1b[");
  Put("2");
  Put("J");
  EXPECT_EQ(model.Cell(0, 0), ' ');
}

}  // namespace
}  // namespace console
