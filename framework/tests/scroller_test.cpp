// TScroller positions, steps and the paint offset, through real scroll messages.
#include "framework/scroller.h"

#include <gtest/gtest.h>

#include "framework/tests/test_support.h"

namespace {

class TScrolled : public TTopWindow {
 public:
  TScrolled() {
    Attr.Style |= WS_HSCROLL | WS_VSCROLL;
    SetScroller(std::make_unique<TScroller>(this, 8, 16, 80, 25));
  }
  POINT PaintOrigin{-1, -1};
  RECT PaintRect{};
  void Paint(HDC dc, bool, RECT& rect) override {
    GetWindowOrgEx(dc, &PaintOrigin);
    PaintRect = rect;
  }
  void Repaint() {
    Invalidate();
    UpdateWindow();
  }
};

TEST(Scroller, ScrollMessagesMoveThePositionWithinTheRange) {
  TScrolled w;
  ASSERT_TRUE(w.Create());
  TScroller& s = *w.GetScroller();
  RECT client;
  w.GetClientRect(client);
  EXPECT_EQ(s.YPage, client.bottom / 16);  // from the client size

  w.SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(s.YPos, 1);
  w.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(s.YPos, 1 + s.YPage);
  w.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(s.YPos, 25);
  w.SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(s.YPos, 25);  // not past the range
  EXPECT_EQ(GetScrollPos(w.HWindow, SB_VERT), 25);
  w.SendMessage(WM_VSCROLL, SB_TOP);
  w.SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(s.YPos, 0);

  // Thumb tracking on: the view follows the thumb while it moves.
  w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 30));
  EXPECT_EQ(s.XPos, 30);
  // Off: only the release moves it.
  s.TrackMode = false;
  w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50));
  EXPECT_EQ(s.XPos, 30);
  w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50));
  EXPECT_EQ(s.XPos, 50);

  s.ScrollTo(-5, 100);
  EXPECT_EQ(s.XPos, 0);
  EXPECT_EQ(s.YPos, 25);
  s.SetRange(10, 5);  // shrinking pulls the position in
  EXPECT_EQ(s.YPos, 5);
}

TEST(Scroller, AutomaticOriginOffsetsThePaintContextByThePosition) {
  TScrolled w;
  ASSERT_TRUE(w.Create());
  TScroller& s = *w.GetScroller();
  s.ScrollTo(3, 2);
  w.Repaint();
  EXPECT_EQ(w.PaintOrigin.x, 24);
  EXPECT_EQ(w.PaintOrigin.y, 32);
  EXPECT_GE(w.PaintRect.left, 24);  // the update rectangle in scrolled coordinates

  s.AutoOrg = false;
  w.Repaint();
  EXPECT_EQ(w.PaintOrigin.x, 0);
  EXPECT_EQ(w.PaintOrigin.y, 0);
}

}  // namespace
