// Where the console model's output goes: drawing, the caret and the beep.
// Rows and columns are grid cells; the window subtracts its scroll position.
#pragma once

namespace console {

class ConsoleModel;

class ConsoleSink {
 public:
  virtual ~ConsoleSink() = default;
  // Draws count cells of a row, with the caret hidden meanwhile: at once, or
  // at the end of the write call (below).
  virtual void DrawCells(int row, int col, const char* cells, int count) = 0;
  // The grid changed wholesale (scroll, clear): repaint everything, no erase.
  virtual void InvalidateAll() = 0;
  // The grid moved up by one row; a sink that can move what it shows may do
  // that instead of repainting.
  virtual void ScrolledUp() { InvalidateAll(); }
  // Puts the caret under a cell, if the console has the focus.
  virtual void PlaceCaret(int col, int row) = 0;
  virtual void HideCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void Beep() = 0;

  // The bytes of one write call come between these two. A sink may hold its
  // drawing back until the end and then draw the changed cells once, reading
  // them from the grid, which by then is what per-byte drawing would show.
  virtual void BeginWrite() {}
  virtual void EndWrite(const ConsoleModel&) {}
};

// Discards everything: for benchmarks and for a console without a window.
class NullSink : public ConsoleSink {
 public:
  void DrawCells(int, int, const char*, int) override {}
  void InvalidateAll() override {}
  void PlaceCaret(int, int) override {}
  void HideCaret() override {}
  void ShowCaret() override {}
  void Beep() override {}
};

}  // namespace console
