// The console's drawing on a window: direct per-byte output through a fresh
// device context, whole-grid painting, and the underline caret. The window
// class that owns it passes its handle, its scroll position and its paint,
// focus and size messages through.
#pragma once

#include <windows.h>

#include "server/console/console_model.h"
#include "server/console/console_sink.h"

namespace console {

class GdiConsoleSink : public ConsoleSink {
 public:
  // Reads the cell metrics of the system fixed font from the screen.
  GdiConsoleSink();

  // Drawing starts once the window exists; until then output only fills the grid.
  void Attach(HWND window) { window_ = window; }
  // The scroller's position in cells; drawing and the caret subtract it.
  void SetOrigin(int col, int row);

  int char_width() const { return char_width_; }
  int char_height() const { return char_height_; }

  // Every visible row, whatever the update region says.
  void Paint(HDC dc, const ConsoleModel& model);
  void OnSetFocus(const ConsoleModel& model);
  void OnKillFocus();

  void DrawCells(int row, int col, const char* cells, int count) override;
  void InvalidateAll() override;
  void PlaceCaret(int col, int row) override;
  void HideCaret() override;
  void ShowCaret() override;
  void Beep() override;

 private:
  int X(int col) const { return (col - origin_col_) * char_width_; }
  int Y(int row) const { return (row - origin_row_) * char_height_; }

  HWND window_ = nullptr;
  HGDIOBJ font_;  // a stock object: never deleted
  COLORREF background_;
  int char_width_ = 8;
  int char_height_ = 16;
  int origin_col_ = 0;
  int origin_row_ = 0;
};

}  // namespace console
