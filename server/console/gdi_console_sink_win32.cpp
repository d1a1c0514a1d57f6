#include "server/console/gdi_console_sink_win32.h"

namespace console {

GdiConsoleSink::GdiConsoleSink()
    : font_(GetStockObject(SYSTEM_FIXED_FONT)), background_(GetSysColor(COLOR_WINDOW)) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font_);
  TEXTMETRICA metrics;
  if (GetTextMetricsA(screen, &metrics)) {
    char_width_ = metrics.tmAveCharWidth;
    char_height_ = metrics.tmHeight;
  }
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
}

void GdiConsoleSink::SetOrigin(int col, int row) {
  origin_col_ = col;
  origin_row_ = row;
}

void GdiConsoleSink::DrawCells(int row, int col, const char* cells, int count) {
  if (window_ == nullptr) return;
  ::HideCaret(window_);
  HDC dc = GetDC(window_);
  SetBkColor(dc, background_);
  SelectObject(dc, font_);
  TextOutA(dc, X(col), Y(row), cells, count);
  ReleaseDC(window_, dc);
  ::ShowCaret(window_);
}

void GdiConsoleSink::InvalidateAll() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void GdiConsoleSink::PlaceCaret(int col, int row) {
  if (window_ == nullptr || GetFocus() != window_) return;
  SetCaretPos(X(col), Y(row) + (3 * char_height_) / 4);
}

void GdiConsoleSink::HideCaret() {
  if (window_ != nullptr) ::HideCaret(window_);
}

void GdiConsoleSink::ShowCaret() {
  if (window_ != nullptr) ::ShowCaret(window_);
}

void GdiConsoleSink::Beep() {
  MessageBeep(0);
}

void GdiConsoleSink::Paint(HDC dc, const ConsoleModel& model) {
  if (window_ == nullptr || IsIconic(window_)) return;
  ::HideCaret(window_);
  SelectObject(dc, font_);
  // The colour scheme may have changed since the last paint.
  background_ = GetSysColor(COLOR_WINDOW);
  SetBkColor(dc, background_);
  const int first_col = origin_col_ < 0 ? 0 : (origin_col_ > kColumns ? kColumns : origin_col_);
  for (int row = origin_row_ < 0 ? 0 : origin_row_; row < kRows; ++row) {
    const std::string_view text = model.Row(row).substr(static_cast<std::size_t>(first_col));
    TextOutA(dc, 0, Y(row), text.data(), static_cast<int>(text.size()));
  }
  PlaceCaret(model.cursor_col(), model.cursor_row());
  ::ShowCaret(window_);
}

void GdiConsoleSink::OnSetFocus(const ConsoleModel& model) {
  if (window_ == nullptr) return;
  CreateCaret(window_, nullptr, char_width_, char_height_ / 4);
  PlaceCaret(model.cursor_col(), model.cursor_row());
  ::ShowCaret(window_);
}

void GdiConsoleSink::OnKillFocus() {
  if (window_ == nullptr) return;
  ::HideCaret(window_);
  DestroyCaret();
}

}  // namespace console
