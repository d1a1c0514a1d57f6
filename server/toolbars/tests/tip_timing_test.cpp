#include "server/toolbars/tip_timing.h"

#include <gtest/gtest.h>

#include "server/toolbars/tests/fake_tip_window.h"

namespace tessel::toolbars {
namespace {

using testing::FakeTipWindow;
using State = TipTiming::State;

class TipTimingTest : public ::testing::Test {
 protected:
  FakeTipWindow window;
  TipTiming tip{window, window};
};

TEST_F(TipTimingTest, RestingOnAButtonShowsTheTipAfter600MsForFiveSeconds) {
  tip.SetTipText("Run");
  EXPECT_EQ(tip.state(), State::Pending);
  window.Advance(tip, 599);
  EXPECT_FALSE(window.visible);
  window.Advance(tip, 1);
  ASSERT_TRUE(window.visible);
  EXPECT_EQ(tip.state(), State::Shown);
  EXPECT_EQ(window.windowText, "Run");

  window.Advance(tip, 4999);
  EXPECT_TRUE(window.visible);
  window.Advance(tip, 1);
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(tip.state(), State::Idle);
  EXPECT_FALSE(window.timerPeriod()) << "an unattended tip stays away until its text is set again";
  window.Advance(tip, 20'000);
  EXPECT_FALSE(window.visible);
}

TEST_F(TipTimingTest, MovingStraightOnToTheNextButtonShowsItsTipAfter150Ms) {
  tip.SetTipText("Run");
  window.Advance(tip, 600);
  ASSERT_TRUE(window.visible);

  // One mouse move reports leaving the old gadget and entering the new one.
  tip.HideTip();
  tip.SetTipText("Reset");
  EXPECT_FALSE(window.visible);
  window.Advance(tip, 149);
  EXPECT_FALSE(window.visible);
  window.Advance(tip, 1);
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.windowText, "Reset");
}

TEST_F(TipTimingTest, EnteringAButtonLaterThanTheLastHidingWaitsTheFull600Ms) {
  tip.SetTipText("Run");
  window.Advance(tip, 700);
  tip.HideTip();
  window.Advance(tip, 1);
  tip.SetTipText("Reset");
  EXPECT_EQ(window.timerPeriod(), kTipFirstDelayMs);

  // A show scheduled since the hiding clears it, even on the same tick.
  tip.SetTipText("Terminate");
  EXPECT_EQ(window.timerPeriod(), kTipFirstDelayMs);
}

TEST_F(TipTimingTest, TheFirstTipWaits600MsEvenAtTickZero) {
  window.now = 0;
  tip.SetTipText("Run");
  EXPECT_EQ(window.timerPeriod(), kTipFirstDelayMs);
}

TEST_F(TipTimingTest, HidingCancelsAPendingTipAndAStaleTimerMessageIsIgnored) {
  tip.SetTipText("Run");
  window.Advance(tip, 300);
  tip.HideTip();
  EXPECT_EQ(tip.state(), State::Idle);
  EXPECT_FALSE(window.timerPeriod());

  // A WM_TIMER already queued when the timer was stopped.
  window.log.clear();
  tip.OnTimer();
  EXPECT_FALSE(window.visible);
  EXPECT_TRUE(window.log.empty());
}

TEST_F(TipTimingTest, ANewTextWhileShownHidesAtOnceAndPendsAgain) {
  tip.SetTipText("Run");
  window.Advance(tip, 600);
  window.log.clear();

  tip.SetTipText("Suspend");
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(tip.state(), State::Pending);
  EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "start 600"}));
  window.Advance(tip, 600);
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.windowText, "Suspend");
}

TEST_F(TipTimingTest, TheTipIsSizedForItsWholeTextAndPlacedAtTheCursor) {
  const std::string sixty(60, 'x');
  tip.SetTipText(sixty);
  EXPECT_EQ(tip.tipSize(), (TipSize{7 * 60 + 5, 13 + 4}));

  window.cursor = {300, 200};
  window.Advance(tip, 600);
  EXPECT_EQ(window.shownAt, (TipRect{298, 222, 298 + 425, 222 + 17}));
}

}  // namespace
}  // namespace tessel::toolbars
