// TToolTipFont and TToolTip: the application's one tooltip, a small
// pale-yellow popup that names the tool-bar button under the mouse. The
// application object owns it and builds it before the main window; the tip
// bars only refer to it, so it must outlive their windows.
#pragma once
#include <memory>

#include "framework/font.h"
#include "framework/window.h"
#include "server/toolbars/hint_text.h"
#include "server/toolbars/tip_timing.h"
#include "server/toolbars/tip_window_win32.h"

// "MS Sans Serif", 9 pixels high, normal weight, default character set.
class TToolTipFont : public TFont {
 public:
  TToolTipFont() : TFont(tessel::toolbars::TipLogFont()) {}
};

// A topmost popup of class "Moss:Tooltip", created hidden at construction.
// A text schedules it (600 ms, or 150 ms when moving straight on from the
// previous button), it then shows below the cursor for 5 seconds; an empty
// text, any key of the thread, or a press on the bar hides it.
class TToolTip : public TWindow {
 public:
  // Takes ownership of the font (a new TToolTipFont if null).
  explicit TToolTip(std::unique_ptr<TToolTipFont> font);
  ~TToolTip() override;

  // Null or empty: hide. Anything else: show after the delay.
  void SetTipText(const char* text);
  void HideTip() { SetTipText(nullptr); }
  // Idle (hidden), pending (hidden, timer running) or shown.
  tessel::toolbars::TipTiming::State GetTipState() const { return Timing->state(); }

  // Shared by every tip bar of the application: the split of hints between
  // status bar and tooltip, and the flag a tip tool bar raises while it
  // handles a mouse move.
  tessel::toolbars::HintRouter& GetHintRouter() { return *Router; }

  const char* GetClassName() override { return "Moss:Tooltip"; }
  void GetWindowClass(WNDCLASSA& wc) override;
  void Paint(HDC dc, bool erase, RECT& rect) override;

  void EvTimer(UINT_PTR timerId);

  DECLARE_RESPONSE_TABLE(TToolTip);

 private:
  std::unique_ptr<TToolTipFont> Font;
  std::unique_ptr<tessel::toolbars::Win32TipWindow> Port;
  std::unique_ptr<tessel::toolbars::TipTiming> Timing;
  std::unique_ptr<tessel::toolbars::HintRouter> Router;
  std::unique_ptr<tessel::toolbars::TipKeyboardHook> Hook;
};
