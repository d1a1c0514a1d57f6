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

void GdiConsoleSink::Attach(HWND window) {
  window_ = window;
  focused_ = window != nullptr && GetFocus() == window;
}

void GdiConsoleSink::SetOrigin(int col, int row) {
  origin_col_ = col;
  origin_row_ = row;
}

void GdiConsoleSink::Prepare(HDC dc) const {
  SetBkColor(dc, background_);
  SelectObject(dc, font_);
}

void GdiConsoleSink::DrawCells(int row, int col, const char* cells, int count) {
  if (holding()) {
    batch_.AddRow(row);
    return;
  }
  if (window_ == nullptr) return;
  ::HideCaret(window_);
  HDC dc = GetDC(window_);
  Prepare(dc);
  TextOutA(dc, X(col), Y(row), cells, count);
  ReleaseDC(window_, dc);
  ::ShowCaret(window_);
}

void GdiConsoleSink::InvalidateAll() {
  if (holding()) {
    batch_.AddAll();
    return;
  }
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void GdiConsoleSink::ScrolledUp() {
  if (holding()) {
    batch_.ScrollUp();
    return;
  }
  InvalidateAll();
}

void GdiConsoleSink::PlaceCaret(int col, int row) {
  if (holding() || window_ == nullptr || GetFocus() != window_) return;
  MoveCaret(col, row);
}

void GdiConsoleSink::MoveCaret(int col, int row) {
  caret_at_ = POINT{X(col), Y(row) + (3 * char_height_) / 4};
  SetCaretPos(caret_at_.x, caret_at_.y);
}

void GdiConsoleSink::HideCaret() {
  if (!holding() && window_ != nullptr) ::HideCaret(window_);
}

void GdiConsoleSink::ShowCaret() {
  if (!holding() && window_ != nullptr) ::ShowCaret(window_);
}

void GdiConsoleSink::Beep() {
  MessageBeep(0);
}

void GdiConsoleSink::BeginWrite() {
  if (drawing_ == Drawing::kBatched || holding()) ++holding_;
}

void GdiConsoleSink::EndWrite(const ConsoleModel& model) {
  if (!holding() || --holding_ > 0) return;
  DrawBatched(model);
  batch_.Clear();
}

bool GdiConsoleSink::OnScreen() const {
  return IsWindowVisible(window_) && !IsIconic(window_) && !IsIconic(GetAncestor(window_, GA_ROOT));
}

int GdiConsoleSink::FirstShownRow() const {
  return origin_row_ < 0 ? 0 : origin_row_;
}

void GdiConsoleSink::DrawRow(HDC dc, const ConsoleModel& model, int row) const {
  const int first_col = origin_col_ < 0 ? 0 : (origin_col_ > kColumns ? kColumns : origin_col_);
  const std::string_view text = model.Row(row).substr(static_cast<std::size_t>(first_col));
  TextOutA(dc, 0, Y(row), text.data(), static_cast<int>(text.size()));
}

bool GdiConsoleSink::ScrollShown(HDC dc, int rows) const {
  // Pixels still waiting for a paint are not the grid's: they must not move.
  if (GetUpdateRect(window_, nullptr, FALSE)) return false;
  RECT client;
  GetClientRect(window_, &client);
  const int shift = rows * char_height_;
  // Rows below a short window's view were never shown: nothing there to move.
  if (Y(kRows) > client.bottom) return false;
  RECT grid{0, 0, client.right, Y(kRows)};
  if (grid.bottom <= shift) return false;
  HRGN uncovered = CreateRectRgn(0, 0, 0, 0);
  ScrollDC(dc, 0, -shift, &grid, &grid, uncovered, nullptr);
  // The rows that came in at the bottom are drawn from the batch; anything
  // else left uncovered had no pixels to move (another window lay over it).
  HRGN incoming = CreateRectRgn(0, grid.bottom - shift, grid.right, grid.bottom);
  const int left = CombineRgn(uncovered, uncovered, incoming, RGN_DIFF);
  DeleteObject(incoming);
  DeleteObject(uncovered);
  return left == NULLREGION;
}

bool GdiConsoleSink::BatchCoversCaret() const {
  if (batch_.all() || batch_.scrolled() > 0) return true;
  for (int row = 0; row < kRows; ++row) {
    if (batch_.row(row) && caret_at_.y + char_height_ / 4 > Y(row) && caret_at_.y < Y(row + 1)) return true;
  }
  return false;
}

void GdiConsoleSink::DrawHeld(HDC dc, const ConsoleModel& model) {
  Prepare(dc);
  const bool all = batch_.all() || (batch_.scrolled() > 0 && !ScrollShown(dc, batch_.scrolled()));
  for (int row = FirstShownRow(); row < kRows; ++row) {
    if (all || batch_.row(row)) DrawRow(dc, model, row);
  }
}

void GdiConsoleSink::DrawBatched(const ConsoleModel& model) {
  if (window_ == nullptr) return;
  if (!OnScreen()) {
    // Nothing is seen now; the paint that comes when it is seen reads the grid.
    if (!batch_.empty()) InvalidateRect(window_, nullptr, FALSE);
    return;
  }
  // The caret is inverted pixels: hidden while anything is drawn over it.
  const bool hide = focused_ && !batch_.empty() && BatchCoversCaret();
  if (hide) ::HideCaret(window_);
  if (!batch_.empty()) {
    HDC dc = GetDC(window_);
    RECT clip;
    // Wholly covered: the paint that uncovers it reads the grid.
    if (GetClipBox(dc, &clip) != NULLREGION) DrawHeld(dc, model);
    ReleaseDC(window_, dc);
  }
  // Each caret call is a round trip to the window system under Wine: the
  // caret moves only when the cursor did.
  if (focused_ && (caret_at_.x != X(model.cursor_col()) ||
                   caret_at_.y != Y(model.cursor_row()) + (3 * char_height_) / 4)) {
    MoveCaret(model.cursor_col(), model.cursor_row());
  }
  if (hide) ::ShowCaret(window_);
}

void GdiConsoleSink::Paint(HDC dc, const ConsoleModel& model) {
  if (window_ == nullptr || IsIconic(window_)) return;
  ::HideCaret(window_);
  // The colour scheme may have changed since the last paint.
  background_ = GetSysColor(COLOR_WINDOW);
  Prepare(dc);
  for (int row = FirstShownRow(); row < kRows; ++row) DrawRow(dc, model, row);
  PlaceCaret(model.cursor_col(), model.cursor_row());
  ::ShowCaret(window_);
}

void GdiConsoleSink::OnSetFocus(const ConsoleModel& model) {
  if (window_ == nullptr) return;
  // Also sent by the window to itself around a resize, focused or not.
  focused_ = GetFocus() == window_;
  CreateCaret(window_, nullptr, char_width_, char_height_ / 4);
  caret_at_ = POINT{-1, -1};
  PlaceCaret(model.cursor_col(), model.cursor_row());
  ::ShowCaret(window_);
}

void GdiConsoleSink::OnKillFocus() {
  focused_ = false;
  if (window_ == nullptr) return;
  ::HideCaret(window_);
  DestroyCaret();
}

}  // namespace console
