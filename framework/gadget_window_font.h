// TGadgetWindowFont: the font of a gadget window, given in points.
#pragma once
#include "framework/font.h"

class TGadgetWindowFont : public TFont {
 public:
  explicit TGadgetWindowFont(int pointSize = 10, bool bold = false, bool italic = false)
      : TFont("MS Sans Serif", -PointsToPixels(pointSize), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
              VARIABLE_PITCH | FF_SWISS, italic) {}

 private:
  static int PointsToPixels(int points) {
    HDC dc = GetDC(nullptr);
    const int pixels = MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return pixels;
  }
};
