#include "server/toolbars/tool_tip.h"

using tessel::toolbars::HintRouter;
using tessel::toolbars::kTipTimerId;
using tessel::toolbars::PaintTip;
using tessel::toolbars::TipKeyboardHook;
using tessel::toolbars::TipTiming;
using tessel::toolbars::Win32TipWindow;

// clang-format off
DEFINE_RESPONSE_TABLE1(TToolTip, TWindow)
  EV_WM_TIMER(EvTimer),
END_RESPONSE_TABLE;
// clang-format on

TToolTip::TToolTip(std::unique_ptr<TToolTipFont> font)
    : TWindow(static_cast<TWindow*>(nullptr)), Font(std::move(font)) {
  if (!Font) Font = std::make_unique<TToolTipFont>();
  Attr.Style = WS_POPUP;
  Attr.ExStyle = WS_EX_TOPMOST;
  Attr.X = Attr.Y = Attr.W = Attr.H = 0;
  Create();
  Port = std::make_unique<Win32TipWindow>(HWindow, Font->GetHandle());
  Timing = std::make_unique<TipTiming>(*Port, *Port);
  Router = std::make_unique<HintRouter>(*Timing);
  Hook = std::make_unique<TipKeyboardHook>(*Timing);
}

TToolTip::~TToolTip() {
  Hook.reset();
  if (HWindow) ::KillTimer(HWindow, kTipTimerId);
  // Gone while the font and the timing it paints from still exist.
  Destroy();
}

void TToolTip::SetTipText(const char* text) {
  Timing->SetTipText(text ? text : "");
}

void TToolTip::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  // The face is painted whole; the screen under a short-lived popup is kept
  // rather than repainted.
  wc.style |= CS_SAVEBITS;
  wc.hbrBackground = nullptr;
}

void TToolTip::Paint(HDC dc, bool, RECT&) {
  if (!Timing) return;  // not yet set up
  RECT client;
  GetClientRect(client);
  PaintTip(dc, client, Timing->text(), Font->GetHandle());
}

void TToolTip::EvTimer(UINT_PTR) {
  Timing->OnTimer();
}
