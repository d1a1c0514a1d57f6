// The Win32 side of the tooltip: the TipTiming port over a popup window, the
// tip font, the painting, and the thread keyboard hook that hides the tip.
// TToolTip owns the window and forwards WM_TIMER and WM_PAINT here.
#pragma once

#include <windows.h>

#include <string_view>

#include "server/toolbars/tip_timing.h"

namespace tessel::toolbars {

// Pale yellow of the tip's face.
inline constexpr COLORREF kTipFaceColour = RGB(255, 255, 128);

// "MS Sans Serif", 9 pixels high, normal weight, default character set: the
// values TToolTipFont hands to font creation.
LOGFONTA TipLogFont();

class Win32TipWindow : public TipWindowPort, public TipClock {
 public:
  // The window and font stay the caller's.
  Win32TipWindow(HWND window, HFONT font) : window_(window), font_(font) {}

  void SetText(std::string_view text) override;
  TipSize MeasureText(std::string_view text) override;
  bool StartTimer(uint32_t delayMs) override;
  void StopTimer() override;
  void Hide() override;
  void ShowAt(const TipRect& rect) override;
  TipPoint CursorPos() override;
  TipSize ScreenSize() override;
  uint32_t TickCount() override;

 private:
  HWND window_;
  HFONT font_;
};

// Paints the tip: a framed pale-yellow rectangle with the text centred on one
// line. The whole text is drawn, since the window was sized for all of it.
void PaintTip(HDC dc, const RECT& client, std::string_view text, HFONT font);

// Any key pressed or released on this thread hides the tip; one hook per
// process, removed when this object goes.
class TipKeyboardHook {
 public:
  explicit TipKeyboardHook(TipTiming& tip);
  ~TipKeyboardHook();
  TipKeyboardHook(const TipKeyboardHook&) = delete;
  TipKeyboardHook& operator=(const TipKeyboardHook&) = delete;

  bool installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK OnKey(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_ = nullptr;
};

}  // namespace tessel::toolbars
