#include "server/console/draw_batch.h"

#include <gtest/gtest.h>

#include <string>

namespace console {
namespace {

// The rows a batch would draw, as a string of 25 flags ('x' drawn).
std::string Rows(const DrawBatch& batch) {
  std::string rows;
  for (int r = 0; r < kRows; ++r) rows += batch.row(r) ? 'x' : '.';
  return rows;
}

TEST(DrawBatchTest, RowsMoveWithScrollsUntilEveryRowIsNew) {
  DrawBatch batch;
  EXPECT_TRUE(batch.empty());
  batch.AddRow(3);
  batch.AddRow(0);
  batch.AddRow(-1);     // outside the grid: ignored
  batch.AddRow(kRows);  // likewise
  EXPECT_EQ(Rows(batch), "x..x.....................");
  batch.ScrollUp();  // row 0 leaves the screen; row 3 is now row 2; a new bottom row
  EXPECT_EQ(Rows(batch), "..x.....................x");
  EXPECT_EQ(batch.scrolled(), 1);
  EXPECT_FALSE(batch.all());
  for (int i = 1; i < kRows - 1; ++i) batch.ScrollUp();
  EXPECT_FALSE(batch.all());
  batch.ScrollUp();  // a whole screenful: nothing shown is worth moving
  EXPECT_TRUE(batch.all());
  batch.Clear();
  EXPECT_TRUE(batch.empty());
  EXPECT_EQ(batch.scrolled(), 0);
  batch.AddAll();
  batch.ScrollUp();
  EXPECT_EQ(Rows(batch), std::string(kRows, 'x'));
  EXPECT_EQ(batch.scrolled(), 0);
}

}  // namespace
}  // namespace console
