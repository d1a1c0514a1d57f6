#include "server/toolbars/tip_placement.h"

namespace tessel::toolbars {

TipRect PlaceTip(TipPoint cursor, TipSize tip, TipSize screen) {
  TipRect r{cursor.x - kTipOffsetLeft, cursor.y + kTipOffsetDown, 0, 0};
  r.right = r.left + tip.cx;
  r.bottom = r.top + tip.cy;

  int dx = 0;
  if (r.left < 0)
    dx = kTipScreenMargin - r.left;
  else if (r.right > screen.cx)
    dx = (screen.cx - kTipScreenMargin) - r.right;
  r.left += dx;
  r.right += dx;

  if (r.bottom > screen.cy) {
    r.top -= 2 * kTipOffsetDown;
    r.bottom -= 2 * kTipOffsetDown;
  }
  return r;
}

}  // namespace tessel::toolbars
