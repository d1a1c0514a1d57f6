// The console's drawing on a window: output through a device context,
// whole-grid painting, and the underline caret. The window class that owns it
// passes its handle, its scroll position and its paint, focus and size
// messages through.
//
// Output is drawn in one of two ways. Batched (the default): the rows that a
// write call changes are gathered and drawn once at its end, each with one
// TextOut, a scroll by moving the pixels, the caret hidden at most once;
// a window that is minimized or covered draws nothing and repaints from the
// grid when it is seen again. Per byte: every cell is drawn at once through a
// fresh device context, and a scroll or clear invalidates the window; single
// bytes outside a write call (the echo of typed keys) always go this way.
#pragma once

#include <windows.h>

#include "server/console/console_model.h"
#include "server/console/console_sink.h"
#include "server/console/draw_batch.h"

namespace console {

class GdiConsoleSink : public ConsoleSink {
 public:
  enum class Drawing { kBatched, kPerByte };

  // Reads the cell metrics of the system fixed font from the screen.
  GdiConsoleSink();

  // Drawing starts once the window exists; until then output only fills the grid.
  void Attach(HWND window);
  // The scroller's position in cells; drawing and the caret subtract it.
  void SetOrigin(int col, int row);
  // Takes effect from the next write call on.
  void SetDrawing(Drawing drawing) { drawing_ = drawing; }

  int char_width() const { return char_width_; }
  int char_height() const { return char_height_; }

  // Every visible row, whatever the update region says.
  void Paint(HDC dc, const ConsoleModel& model);
  void OnSetFocus(const ConsoleModel& model);
  void OnKillFocus();

  void DrawCells(int row, int col, const char* cells, int count) override;
  void InvalidateAll() override;
  void ScrolledUp() override;
  void PlaceCaret(int col, int row) override;
  void HideCaret() override;
  void ShowCaret() override;
  void Beep() override;
  void BeginWrite() override;
  void EndWrite(const ConsoleModel& model) override;

 private:
  int X(int col) const { return (col - origin_col_) * char_width_; }
  int Y(int row) const { return (row - origin_row_) * char_height_; }
  bool holding() const { return holding_ > 0; }
  // Neither minimized nor inside a minimized frame.
  bool OnScreen() const;
  void Prepare(HDC dc) const;
  int FirstShownRow() const;
  // A row as painting draws it, from the first column in view.
  void DrawRow(HDC dc, const ConsoleModel& model, int row) const;
  // Moves the rows on the screen up, as the grid moved; false when they
  // cannot all be moved and every row must be drawn instead.
  bool ScrollShown(HDC dc, int rows) const;
  // Whether drawing the batch touches the pixels under the caret.
  bool BatchCoversCaret() const;
  void DrawHeld(HDC dc, const ConsoleModel& model);
  void DrawBatched(const ConsoleModel& model);
  void MoveCaret(int col, int row);

  HWND window_ = nullptr;
  HGDIOBJ font_;  // a stock object: never deleted
  COLORREF background_;
  int char_width_ = 8;
  int char_height_ = 16;
  int origin_col_ = 0;
  int origin_row_ = 0;
  Drawing drawing_ = Drawing::kBatched;
  int holding_ = 0;  // open write calls whose drawing is held back
  DrawBatch batch_;
  // Kept from the focus messages, so a batch asks the system nothing about
  // the caret: whether the console had the focus when its caret was made,
  // and where the caret was put last.
  bool focused_ = false;
  POINT caret_at_{-1, -1};
};

}  // namespace console
