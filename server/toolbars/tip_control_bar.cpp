#include "server/toolbars/tip_control_bar.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TBasicTipControlBar, TControlBar)
  EV_WM_MOUSEMOVE(EvMouseMove),
  EV_MESSAGE(WM_SETCURSOR, EvSetCursor),
  EV_WM_LBUTTONDOWN(EvLButtonDown),
  EV_MESSAGE(WM_PARENTNOTIFY, EvParentNotify),
END_RESPONSE_TABLE;
// clang-format on

TBasicTipControlBar::TBasicTipControlBar(TToolTip& tip, TWindow* parent, TTileDirection direction,
                                         std::unique_ptr<TFont> font)
    : TControlBar(parent, direction, std::move(font)), ToolTip(tip) {
  SetHintMode(EnterHints);
}

void TBasicTipControlBar::TrackMouse(UINT modKeys, POINT point) {
  ToolTip.GetHintRouter().OnToolBarMouseMove(GadgetFromPoint(point) != nullptr, GetCapture() != nullptr,
                                             [&] { TGadgetWindow::EvMouseMove(modKeys, point); });
}

void TBasicTipControlBar::EvMouseMove(UINT modKeys, POINT point) {
  if (point.x == -1 && point.y == -1) {
    // Stands for wherever the cursor is now.
    ::GetCursorPos(&point);
    ::ScreenToClient(HWindow, &point);
  }
  TrackMouse(modKeys, point);
}

LRESULT TBasicTipControlBar::EvSetCursor(const TMessage& message) {
  // The cursor over a control on the bar: the bar sees no mouse move of its
  // own there, so the control gets its hint and tip through this.
  HWND under = reinterpret_cast<HWND>(message.WParam);
  if (under != HWindow && ::IsChild(HWindow, under)) {
    POINT point;
    ::GetCursorPos(&point);
    ::ScreenToClient(HWindow, &point);
    TrackMouse(0, point);
  }
  return DefaultProcessing(message);
}

void TBasicTipControlBar::EvLButtonDown(UINT modKeys, POINT point) {
  ToolTip.HideTip();
  TControlBar::EvLButtonDown(modKeys, point);
}

LRESULT TBasicTipControlBar::EvParentNotify(const TMessage& message) {
  if (LOWORD(message.WParam) == WM_LBUTTONDOWN) ToolTip.HideTip();
  return DefaultProcessing(message);
}

// clang-format off
DEFINE_RESPONSE_TABLE1(TTipControlBar, TBasicTipControlBar)
  EV_WM_LBUTTONDBLCLK(EvLButtonDblClk),
END_RESPONSE_TABLE;
// clang-format on

void TTipControlBar::EvLButtonDblClk(UINT modKeys, POINT point) {
  // The gadget window takes it as a press; the tip goes as for any press.
  ToolTip.HideTip();
  TControlBar::EvLButtonDblClk(modKeys, point);
}
