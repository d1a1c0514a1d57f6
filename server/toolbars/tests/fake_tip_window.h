// A tooltip window and system clock in memory: timers fire as the test moves
// the clock, and every window operation is recorded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/toolbars/tip_timing.h"

namespace tessel::toolbars::testing {

class FakeTipWindow : public TipWindowPort, public TipClock {
 public:
  uint32_t now = 50'000;
  TipPoint cursor{100, 100};
  TipSize screen{1280, 1024};

  bool visible = false;
  TipRect shownAt;
  std::string windowText;
  std::vector<std::string> log;

  // Moves the clock on one millisecond at a time, delivering WM_TIMER to the
  // tooltip whenever the running timer is due, as a periodic system timer does.
  void Advance(TipTiming& tip, uint32_t ms) {
    for (uint32_t i = 0; i < ms; ++i) {
      ++now;
      if (timerDue_ && now == *timerDue_) {
        timerDue_ = now + timerPeriod_;
        tip.OnTimer();
      }
    }
  }

  std::optional<uint32_t> timerPeriod() const {
    return timerDue_ ? std::optional(timerPeriod_) : std::nullopt;
  }

  uint32_t TickCount() override { return now; }
  void SetText(std::string_view text) override { windowText.assign(text); }
  TipSize MeasureText(std::string_view text) override { return {7 * static_cast<int>(text.size()), 13}; }
  bool StartTimer(uint32_t delayMs) override {
    log.push_back("start " + std::to_string(delayMs));
    timerPeriod_ = delayMs;
    timerDue_ = now + delayMs;
    return true;
  }
  void StopTimer() override {
    log.push_back("stop");
    timerDue_.reset();
  }
  void Hide() override {
    log.push_back("hide");
    visible = false;
  }
  void ShowAt(const TipRect& rect) override {
    log.push_back("show");
    visible = true;
    shownAt = rect;
  }
  TipPoint CursorPos() override { return cursor; }
  TipSize ScreenSize() override { return screen; }

 private:
  std::optional<uint32_t> timerDue_;
  uint32_t timerPeriod_ = 0;
};

}  // namespace tessel::toolbars::testing
