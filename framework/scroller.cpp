#include "framework/scroller.h"

#include <algorithm>

#include "framework/window.h"

TScroller::TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
    : Window(window), XRange(xRange), YRange(yRange), XUnit(xUnit), YUnit(yUnit) {}

void TScroller::SetRange(long xRange, long yRange) {
  XRange = std::max(0L, xRange);
  YRange = std::max(0L, yRange);
  SetSBarRange();
  ScrollTo(XPos, YPos);  // keeps the position inside the new range
}

void TScroller::SetPageSize() {
  if (!Window || !Window->HWindow) return;
  RECT client;
  Window->GetClientRect(client);
  if (XUnit > 0) XPage = std::max(1L, (client.right - client.left) / XUnit);
  if (YUnit > 0) YPage = std::max(1L, (client.bottom - client.top) / YUnit);
}

void TScroller::SetSBarRange() {
  if (!Window || !Window->HWindow) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Window->HWindow, GWL_STYLE));
  if (style & WS_HSCROLL) {
    SetScrollRange(Window->HWindow, SB_HORZ, 0, static_cast<int>(std::min(XRange, 32767L)), FALSE);
    SetScrollPos(Window->HWindow, SB_HORZ, static_cast<int>(XPos), TRUE);
  }
  if (style & WS_VSCROLL) {
    SetScrollRange(Window->HWindow, SB_VERT, 0, static_cast<int>(std::min(YRange, 32767L)), FALSE);
    SetScrollPos(Window->HWindow, SB_VERT, static_cast<int>(YPos), TRUE);
  }
}

void TScroller::ScrollTo(long x, long y) {
  const long newX = std::clamp(x, 0L, XRange);
  const long newY = std::clamp(y, 0L, YRange);
  const long dx = newX - XPos, dy = newY - YPos;
  if (!dx && !dy) return;
  XPos = newX;
  YPos = newY;
  PositionChanged();
  if (!Window || !Window->HWindow) return;
  ScrollWindow(Window->HWindow, static_cast<int>(-dx * XUnit), static_cast<int>(-dy * YUnit), nullptr,
               nullptr);
  if (dx) SetScrollPos(Window->HWindow, SB_HORZ, static_cast<int>(XPos), TRUE);
  if (dy) SetScrollPos(Window->HWindow, SB_VERT, static_cast<int>(YPos), TRUE);
  Window->UpdateWindow();
}

long TScroller::Step(UINT code, int thumbPos, long pos, long range, int line, int page) const {
  switch (code) {
    case SB_LINEUP:
      return pos - line;
    case SB_LINEDOWN:
      return pos + line;
    case SB_PAGEUP:
      return pos - page;
    case SB_PAGEDOWN:
      return pos + page;
    case SB_TOP:
      return 0;
    case SB_BOTTOM:
      return range;
    case SB_THUMBTRACK:
      return TrackMode ? thumbPos : pos;
    case SB_THUMBPOSITION:
      return TrackMode ? pos : thumbPos;
    default:
      return pos;
  }
}

void TScroller::HScroll(UINT code, int thumbPos) {
  ScrollTo(Step(code, thumbPos, XPos, XRange, XLine, XPage), YPos);
}

void TScroller::VScroll(UINT code, int thumbPos) {
  ScrollTo(XPos, Step(code, thumbPos, YPos, YRange, YLine, YPage));
}

void TScroller::AutoScroll() {
  if (!AutoMode || !Window || !Window->HWindow) return;
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(Window->HWindow, &cursor);
  RECT client;
  Window->GetClientRect(client);
  long dx = 0, dy = 0;
  if (cursor.x < client.left)
    dx = -XLine;
  else if (cursor.x >= client.right)
    dx = XLine;
  if (cursor.y < client.top)
    dy = -YLine;
  else if (cursor.y >= client.bottom)
    dy = YLine;
  ScrollBy(dx, dy);
}

void TScroller::BeginView(HDC dc, RECT& rect) {
  if (!AutoOrg) return;
  const long x = XPos * XUnit, y = YPos * YUnit;
  SetWindowOrgEx(dc, static_cast<int>(x), static_cast<int>(y), nullptr);
  OffsetRect(&rect, static_cast<int>(x), static_cast<int>(y));
}

void TScroller::EndView(HDC dc) {
  if (AutoOrg) SetWindowOrgEx(dc, 0, 0, nullptr);
}
