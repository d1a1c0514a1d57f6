// The rows that one write call changed, gathered so that the window can draw
// them once at the end of the call, or the whole grid once it was cleared.
// Only positions are kept; the text is read from the grid when the batch is
// drawn. A changed row is drawn whole, exactly as a repaint draws it: glyphs
// may reach a pixel into the next cell, so drawing part of a row could leave
// pixels that a repaint would not.
#pragma once

#include <array>

#include "server/console/console_model.h"

namespace console {

class DrawBatch {
 public:
  void AddRow(int row);
  // The grid was wiped or rewritten as a whole: every row is drawn.
  void AddAll() { all_ = true; }
  // The grid moved up by one row: rows already gathered move with it, and the
  // new bottom row is drawn. After a screenful of scrolls every row is new.
  void ScrollUp();
  void Clear();

  bool empty() const { return !all_ && !any_; }
  bool all() const { return all_; }
  bool row(int r) const { return all_ || rows_[static_cast<std::size_t>(r)]; }
  // Rows the grid moved up by since the batch began (when not all()).
  int scrolled() const { return scrolled_; }

 private:
  std::array<bool, kRows> rows_{};
  bool all_ = false;
  bool any_ = false;
  int scrolled_ = 0;
};

}  // namespace console
