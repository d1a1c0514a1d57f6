// TScroller scrolls a window's contents in units (pixels per step). It keeps
// the position (XPos, YPos) within 0..range, the line and page steps, and the
// switches: AutoOrg (paint context offset by the position), AutoMode
// (scrolling while dragging outside the window) and TrackMode (follow the
// thumb while it moves, else only where it is released). The window's
// WM_HSCROLL/WM_VSCROLL handling calls HScroll/VScroll.
#pragma once
#include <windows.h>

class TWindow;

class TScroller {
 public:
  TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange);
  virtual ~TScroller() = default;

  void SetRange(long xRange, long yRange);
  // Page steps from the window's client size (whole units).
  virtual void SetPageSize();
  // Shows the ranges and positions on the window's scroll bars.
  virtual void SetSBarRange();
  virtual void ScrollTo(long x, long y);
  void ScrollBy(long dx, long dy) { ScrollTo(XPos + dx, YPos + dy); }
  virtual void HScroll(UINT code, int thumbPos);
  virtual void VScroll(UINT code, int thumbPos);
  // Scrolls towards the mouse while it is captured outside the client area.
  virtual void AutoScroll();
  // Paint context set-up and release, around the window's Paint.
  virtual void BeginView(HDC dc, RECT& rect);
  virtual void EndView(HDC dc);

  TWindow* Window;
  long XPos = 0, YPos = 0;
  long XRange, YRange;
  int XUnit, YUnit;
  int XLine = 1, YLine = 1;
  int XPage = 1, YPage = 1;
  bool AutoMode = true;
  bool TrackMode = true;
  bool AutoOrg = true;

 protected:
  // Called with the new position in place, before the window scrolls and
  // repaints: for scrollers whose drawing needs the position first.
  virtual void PositionChanged() {}

 private:
  long Step(UINT code, int thumbPos, long pos, long range, int line, int page) const;
};
