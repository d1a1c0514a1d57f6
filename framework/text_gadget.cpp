#include "framework/text_gadget.h"

#include "framework/gadget_window.h"

namespace {
constexpr int TextPadding = 2;
}

TTextGadget::TTextGadget(int id, TBorderStyle border, TAlign align, UINT numChars, const char* text)
    : TGadget(id, border), Text(text ? text : ""), Align(align), NumChars(numChars) {}

void TTextGadget::SetText(const char* text) {
  const char* newText = text ? text : "";
  if (Text == newText) return;
  Text = newText;
  Invalidate();
}

SIZE TTextGadget::GetDesiredSize() {
  SIZE size = TGadget::GetDesiredSize();
  if (!Window) return size;
  const TEXTMETRICA tm = Window->GetFont().GetTextMetrics();
  size.cx += static_cast<LONG>(NumChars) * tm.tmAveCharWidth + 2 * TextPadding;
  size.cy += tm.tmHeight + 2 * TextPadding;
  return size;
}

void TTextGadget::Paint(HDC dc) {
  PaintBorder(dc);
  RECT r = Bounds;
  InflateRect(&r, -(BorderWidth() + TextPadding), -BorderWidth());
  static constexpr UINT Formats[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, DisplayText(), -1, &r, Formats[Align] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
