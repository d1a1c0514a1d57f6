// The tooltip's life: idle, pending behind a timer, shown at the cursor.
// TToolTip drives this from its window procedure and implements TipWindowPort
// with Win32 calls; the rule itself stays here so it can be tested on a fake clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/toolbars/tip_placement.h"

namespace tessel::toolbars {

// The one timer of the tooltip window.
inline constexpr unsigned kTipTimerId = 1000;
// A first tooltip waits for the mouse to rest on the button.
inline constexpr uint32_t kTipFirstDelayMs = 600;
// Moving straight on to the next button is answered quickly.
inline constexpr uint32_t kTipMoveOnDelayMs = 150;
// An unattended tooltip goes away after this long.
inline constexpr uint32_t kTipShowTimeMs = 5000;
// Room around the measured text for the frame.
inline constexpr int kTipPadWidth = 5;
inline constexpr int kTipPadHeight = 4;

// Milliseconds since system start, wrapping like GetTickCount.
class TipClock {
 public:
  virtual ~TipClock() = default;
  virtual uint32_t TickCount() = 0;
};

// What the tooltip window does on behalf of the timing rule.
class TipWindowPort {
 public:
  virtual ~TipWindowPort() = default;
  virtual void SetText(std::string_view text) = 0;
  // Extent of the text in the tip font.
  virtual TipSize MeasureText(std::string_view text) = 0;
  // Starts (or restarts) timer kTipTimerId; false when the system refused it.
  virtual bool StartTimer(uint32_t delayMs) = 0;
  virtual void StopTimer() = 0;
  virtual void Hide() = 0;
  // Moves and sizes the window without activating it, shows it the same way,
  // and paints it at once.
  virtual void ShowAt(const TipRect& rect) = 0;
  virtual TipPoint CursorPos() = 0;
  virtual TipSize ScreenSize() = 0;
};

class TipTiming {
 public:
  enum class State { Idle, Pending, Shown };

  TipTiming(TipWindowPort& window, TipClock& clock) : window_(window), clock_(clock) {}

  // An empty text hides the tip; any other text schedules it.
  void SetTipText(std::string_view text);
  void HideTip() { SetTipText({}); }
  // The tooltip window's WM_TIMER.
  void OnTimer();

  State state() const { return state_; }
  const std::string& text() const { return text_; }
  TipSize tipSize() const { return tipSize_; }

 private:
  void EnterIdle();

  TipWindowPort& window_;
  TipClock& clock_;
  State state_ = State::Idle;
  bool timerRunning_ = false;
  // Tick of the latest hiding; empty once a show has been scheduled since.
  // Kept apart from the tick value itself so that a hiding at tick 0 counts.
  std::optional<uint32_t> lastHideTick_;
  TipSize tipSize_;
  std::string text_;
};

}  // namespace tessel::toolbars
