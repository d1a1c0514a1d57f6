#include "server/console/draw_batch.h"

#include <algorithm>

namespace console {

void DrawBatch::AddRow(int row) {
  if (row < 0 || row >= kRows) return;
  rows_[static_cast<std::size_t>(row)] = true;
  any_ = true;
}

void DrawBatch::ScrollUp() {
  if (all_) return;
  if (++scrolled_ >= kRows) {
    all_ = true;
    return;
  }
  std::move(rows_.begin() + 1, rows_.end(), rows_.begin());
  // The new bottom row is blank on the grid but not yet on the screen.
  rows_.back() = true;
  any_ = true;
}

void DrawBatch::Clear() {
  rows_.fill(false);
  all_ = false;
  any_ = false;
  scrolled_ = 0;
}

}  // namespace console
