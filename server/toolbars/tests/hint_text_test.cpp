#include "server/toolbars/hint_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "server/toolbars/tests/fake_tip_window.h"

namespace tessel::toolbars {
namespace {

using State = TipTiming::State;

TEST(SplitHintText, SplitsAtTheFirstNewlineOnly) {
  const struct {
    std::string_view hint;
    SplitHint expected;
  } cases[] = {
      {"Reset hardware\nReset", {"Reset hardware", "Reset"}},
      {"Configure protocols", {"Configure protocols", ""}},
      {"Status\nTip\nmore", {"Status", "Tip\nmore"}},
      {"\nTip only", {"", "Tip only"}},
      {"Status only\n", {"Status only", ""}},
      {"", {"", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitHintText(c.hint), c.expected) << c.hint;
}

TEST(SplitHintText, AHintLongerThanItsBufferIsCut) {
  const std::string status(120, 's');
  const SplitHint split = SplitHintText(status + "\n" + std::string(40, 't'));
  EXPECT_EQ(split.status, status);
  EXPECT_EQ(split.tip, std::string(kHintCapacity - 121, 't'));
}

class HintRouterTest : public ::testing::Test {
 protected:
  testing::FakeTipWindow window;
  TipTiming tip{window, window};
  HintRouter router{tip};
};

TEST_F(HintRouterTest, AToolBarHintFeedsStatusBarAndTooltip) {
  std::optional<std::string> status;
  {
    HintRouter::ToolBarMouseMove move(router);
    status = router.SetHintText("Reset hardware\nReset");
  }
  EXPECT_EQ(status, "Reset hardware");
  EXPECT_EQ(tip.state(), State::Pending);
  EXPECT_EQ(tip.text(), "Reset");
  EXPECT_FALSE(router.toolBarHint());
}

TEST_F(HintRouterTest, AToolBarHintWithoutNewlineHidesTheTip) {
  {
    HintRouter::ToolBarMouseMove move(router);
    router.SetHintText("Run program\nRun");
  }
  window.Advance(tip, 600);
  ASSERT_TRUE(window.visible);

  HintRouter::ToolBarMouseMove move(router);
  EXPECT_EQ(router.SetHintText("Configure hardware"), "Configure hardware");
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(tip.state(), State::Idle);
}

TEST_F(HintRouterTest, MenuHintsNeverTouchTheTooltip) {
  EXPECT_EQ(router.SetHintText("Run program\nRun"), "Run program");
  EXPECT_EQ(tip.state(), State::Idle);
  EXPECT_TRUE(window.log.empty());

  {
    HintRouter::ToolBarMouseMove move(router);
    router.SetHintText("Exit Server\nExit");
  }
  window.Advance(tip, 600);
  router.SetHintText("Configure protocols");
  EXPECT_TRUE(window.visible) << "a menu hint without tip text must not hide a shown tip";
}

TEST_F(HintRouterTest, ANullHintHidesTheTipWhateverTheFlag) {
  {
    HintRouter::ToolBarMouseMove move(router);
    router.SetHintText("Run program\nRun");
  }
  EXPECT_EQ(router.SetHintText(nullptr), std::nullopt);
  EXPECT_EQ(tip.state(), State::Idle);
}

TEST_F(HintRouterTest, AMouseMoveBetweenButtonsHidesTheTipUnlessAGadgetHoldsTheCapture) {
  auto enterRun = [&] { router.SetHintText("Run program\nRun"); };
  router.OnToolBarMouseMove(true, false, enterRun);
  window.Advance(tip, 600);
  ASSERT_TRUE(window.visible);

  // A pressed button keeps the capture while the mouse strays off it.
  router.OnToolBarMouseMove(false, true, [] {});
  EXPECT_TRUE(window.visible);

  bool flagSeen = false;
  router.OnToolBarMouseMove(false, false, [&] { flagSeen = router.toolBarHint(); });
  EXPECT_FALSE(window.visible);
  EXPECT_TRUE(flagSeen);
  EXPECT_FALSE(router.toolBarHint());
}

TEST_F(HintRouterTest, TheToolBarFlagDropsEvenWhenTheMouseMoveThrows) {
  EXPECT_THROW(
      {
        HintRouter::ToolBarMouseMove move(router);
        throw std::runtime_error("gadget window failed");
      },
      std::runtime_error);
  EXPECT_FALSE(router.toolBarHint());
}

}  // namespace
}  // namespace tessel::toolbars
