#include "server/toolbars/tip_timing.h"

namespace tessel::toolbars {

void TipTiming::SetTipText(std::string_view text) {
  text_.assign(text);
  window_.SetText(text);
  if (text.empty()) {
    EnterIdle();
    return;
  }

  const uint32_t now = clock_.TickCount();
  const TipSize extent = window_.MeasureText(text);
  tipSize_ = {extent.cx + kTipPadWidth, extent.cy + kTipPadHeight};
  // A tip already up disappears until the new one is due.
  window_.Hide();

  // Leaving one button and entering the next arrive within one mouse move,
  // so the hiding and this scheduling fall on the same tick.
  const bool movingOn = lastHideTick_ && *lastHideTick_ == now;
  timerRunning_ = window_.StartTimer(movingOn ? kTipMoveOnDelayMs : kTipFirstDelayMs);
  lastHideTick_.reset();
  state_ = State::Pending;
}

void TipTiming::OnTimer() {
  // A WM_TIMER queued before the timer was stopped is stale.
  if (!timerRunning_) return;
  window_.StopTimer();
  timerRunning_ = false;

  if (state_ == State::Shown) {
    EnterIdle();
    return;
  }
  window_.ShowAt(PlaceTip(window_.CursorPos(), tipSize_, window_.ScreenSize()));
  state_ = State::Shown;
  timerRunning_ = window_.StartTimer(kTipShowTimeMs);
}

void TipTiming::EnterIdle() {
  if (timerRunning_) {
    window_.StopTimer();
    timerRunning_ = false;
  }
  window_.Hide();
  lastHideTick_ = clock_.TickCount();
  state_ = State::Idle;
}

}  // namespace tessel::toolbars
