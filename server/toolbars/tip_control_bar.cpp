#include "server/toolbars/tip_control_bar.h"

#include <windowsx.h>

// clang-format off
DEFINE_RESPONSE_TABLE1(TBasicTipControlBar, TControlBar)
  EV_MESSAGE(WM_MOUSEMOVE, EvMouseMove),
  EV_MESSAGE(WM_SETCURSOR, EvSetCursor),
  EV_MESSAGE(WM_LBUTTONDOWN, EvLButtonDown),
  EV_MESSAGE(WM_PARENTNOTIFY, EvParentNotify),
END_RESPONSE_TABLE;
// clang-format on

TBasicTipControlBar::TBasicTipControlBar(TToolTip& tip, TWindow* parent, TTileDirection direction,
                                         TFont* font)
    : TControlBar(parent, direction, font), ToolTip(tip) {
  SetHintMode(EnterHints);
}

void TBasicTipControlBar::TrackMouse(WPARAM modKeys, POINT point) {
  ToolTip.GetHintRouter().OnToolBarMouseMove(GadgetFromPoint(point) != nullptr, GetCapture() != nullptr, [&] {
    TGadgetWindow::EvMouseMove(modKeys, MAKELPARAM(point.x, point.y));
  });
}

LRESULT TBasicTipControlBar::EvMouseMove(WPARAM wParam, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (point.x == -1 && point.y == -1) {
    // Stands for wherever the cursor is now.
    ::GetCursorPos(&point);
    ::ScreenToClient(HWindow, &point);
  }
  TrackMouse(wParam, point);
  return 0;
}

LRESULT TBasicTipControlBar::EvSetCursor(WPARAM wParam, LPARAM) {
  // The cursor over a control on the bar: the bar sees no mouse move of its
  // own there, so the control gets its hint and tip through this.
  HWND under = reinterpret_cast<HWND>(wParam);
  if (under != HWindow && ::IsChild(HWindow, under)) {
    POINT point;
    ::GetCursorPos(&point);
    ::ScreenToClient(HWindow, &point);
    TrackMouse(0, point);
  }
  return DefaultProcessing();
}

LRESULT TBasicTipControlBar::EvLButtonDown(WPARAM wParam, LPARAM lParam) {
  ToolTip.HideTip();
  return TControlBar::EvLButtonDown(wParam, lParam);
}

LRESULT TBasicTipControlBar::EvParentNotify(WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) == WM_LBUTTONDOWN) ToolTip.HideTip();
  return DefaultProcessing();
}

// clang-format off
DEFINE_RESPONSE_TABLE1(TTipControlBar, TBasicTipControlBar)
  EV_MESSAGE(WM_LBUTTONDBLCLK, EvLButtonDblClk),
END_RESPONSE_TABLE;
// clang-format on

LRESULT TTipControlBar::EvLButtonDblClk(WPARAM wParam, LPARAM lParam) {
  // The gadget window takes it as a press; the tip goes as for any press.
  ToolTip.HideTip();
  return TControlBar::EvLButtonDblClk(wParam, lParam);
}
