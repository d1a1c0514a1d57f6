// TDecoration: what a frame asks of the bars it lays out along its top and
// bottom edges (tool bars, status bars), so that the frame needs to know no
// bar class. A window inserted without it keeps the height it has.
#pragma once

class TDecoration {
 public:
  virtual ~TDecoration() = default;
  // The height the frame gives the bar; the width is the frame's.
  virtual int GetDecorationHeight() = 0;
  // A command hint to show (null: hint off); false from bars that show none.
  virtual bool ShowHint(const char* /*text*/) { return false; }
};
