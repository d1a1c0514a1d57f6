// Gadget windows: layout, the gadget under a point, capture and clicks, the
// enabled flag through enablers, the hint mode "enter", the status bar's hint.
#include <gtest/gtest.h>

#include "framework/button_gadget.h"
#include "framework/control_bar.h"
#include "framework/separator_gadget.h"
#include "framework/status_bar.h"
#include "framework/tests/test_support.h"
#include "framework/text_gadget.h"

namespace {

std::string Describe(UINT msg, WPARAM wp) {
  char text[48];
  snprintf(text, sizeof text, "%s %lx", msg == WM_MENUSELECT ? "select" : "idle",
           static_cast<unsigned long>(wp));
  return text;
}

// Records the hint messages its bar sends, and answers enablers.
class THost : public TTopWindow {
 public:
  std::vector<std::string>* Log = nullptr;
  bool RunEnabled = true;
  int Commands = 0;
  LRESULT EvMenuSelect(const TMessage& m) {
    Log->push_back(Describe(WM_MENUSELECT, m.WParam));
    return 0;
  }
  LRESULT EvEnterIdle(const TMessage& m) {
    Log->push_back(Describe(WM_ENTERIDLE, m.WParam));
    return 0;
  }
  void CeRun(TCommandEnabler& ce) { ce.Enable(RunEnabled); }
  void CeStop(TCommandEnabler& ce) { ce.Enable(false); }
  void CmRun() { ++Commands; }
  DECLARE_RESPONSE_TABLE(THost);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(THost, TTopWindow)
  EV_MESSAGE(WM_MENUSELECT, EvMenuSelect),
  EV_MESSAGE(WM_ENTERIDLE, EvEnterIdle),
  EV_COMMAND_ENABLE(101, CeRun),
  EV_COMMAND_ENABLE(202, CeStop),
  EV_COMMAND(101, CmRun),
END_RESPONSE_TABLE;
// clang-format on

// Marks where its mouse-move handling begins and ends.
class TTracedBar : public TControlBar {
 public:
  TTracedBar(TWindow* parent, std::vector<std::string>& log) : TControlBar(parent), Log(log) {}
  std::vector<std::string>& Log;
  void EvMouseMove(UINT modKeys, POINT point) {
    Log.push_back("move");
    TControlBar::EvMouseMove(modKeys, point);
    Log.push_back("moved");
  }
  DECLARE_RESPONSE_TABLE(TTracedBar);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TTracedBar, TControlBar)
  EV_WM_MOUSEMOVE(EvMouseMove),
END_RESPONSE_TABLE;
// clang-format on

struct GadgetFixture : ::testing::Test {
  std::vector<std::string> Log;
  THost Host;
  TTracedBar* Bar = &Host.InsertChild(std::make_unique<TTracedBar>(&Host, Log));
  TButtonGadget* Run =
      &Bar->Insert(std::make_unique<TButtonGadget>("GLYPH", 101, TButtonGadget::Command, false));
  TSeparatorGadget* Gap = &Bar->Insert(std::make_unique<TSeparatorGadget>(12));
  TButtonGadget* Stop =
      &Bar->Insert(std::make_unique<TButtonGadget>("GLYPH", 202, TButtonGadget::Command, true));

  void SetUp() override {
    Host.Log = &Log;
    Bar->Attr.W = 300;
    Bar->Attr.H = Bar->GetDesiredSize().cy;
    ASSERT_TRUE(Host.Create());
    ASSERT_TRUE(Bar->HWindow);
  }
  static LPARAM Center(TGadget* g) {
    const RECT& r = g->GetBounds();
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST_F(GadgetFixture, LayoutInARowAndTheGadgetUnderAPoint) {
  EXPECT_EQ(Run->GetDesiredSize().cx, 26);  // 20-pixel glyph and its border
  EXPECT_EQ(Gap->GetBounds().left, Run->GetBounds().right);
  EXPECT_EQ(Stop->GetBounds().left, Gap->GetBounds().right);
  EXPECT_EQ(Gap->GetBounds().right - Gap->GetBounds().left, 12);
  EXPECT_EQ(Bar->GadgetFromPoint({Run->GetBounds().left + 1, 5}), Run);
  EXPECT_EQ(Bar->GadgetFromPoint({Gap->GetBounds().left + 1, 5}), Gap);
  EXPECT_EQ(Bar->GadgetFromPoint({290, 5}), nullptr);
  EXPECT_EQ(Bar->GadgetWithId(202), Stop);
  EXPECT_EQ(Bar->NextGadget(*Run), Gap);
}

TEST_F(GadgetFixture, EnablersSetTheButtonsEnabledFlagAtIdle) {
  EXPECT_FALSE(Run->GetEnabled());
  EXPECT_TRUE(Stop->GetEnabled());
  Host.IdleAction(0);
  EXPECT_TRUE(Run->GetEnabled());
  EXPECT_FALSE(Stop->GetEnabled());
  Host.RunEnabled = false;
  Host.IdleAction(0);
  EXPECT_FALSE(Run->GetEnabled());
  Run->SetEnabled(true);  // and directly
  EXPECT_TRUE(Run->GetEnabled());
}

TEST_F(GadgetFixture, AClickCapturesTheMouseAndPostsTheCommandToTheParent) {
  Run->SetEnabled(true);
  Bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Center(Run));
  EXPECT_EQ(Bar->GetCapture(), Run);
  EXPECT_EQ(GetCapture(), Bar->HWindow);
  EXPECT_TRUE(Run->IsPressed());
  Bar->SendMessage(WM_LBUTTONUP, 0, Center(Run));
  EXPECT_EQ(Bar->GetCapture(), nullptr);
  EXPECT_EQ(Host.Commands, 0);  // posted, not sent
  PumpMessages();
  EXPECT_EQ(Host.Commands, 1);

  // Released off the button: no command. A disabled button takes no press.
  Bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Center(Run));
  Bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(290, 5));
  EXPECT_FALSE(Run->IsPressed());
  Bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(290, 5));
  Run->SetEnabled(false);
  Bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Center(Run));
  EXPECT_EQ(Bar->GetCapture(), nullptr);
  PumpMessages();
  EXPECT_EQ(Host.Commands, 1);
}

TEST_F(GadgetFixture, EnterHintsReportEachChangeBeforeTheMouseMoveReturns) {
  Bar->SetHintMode(TGadgetWindow::EnterHints);
  Log.clear();
  Bar->SendMessage(WM_MOUSEMOVE, 0, Center(Run));
  Bar->SendMessage(WM_MOUSEMOVE, 0, Center(Run) + 1);  // same gadget: nothing
  Bar->SendMessage(WM_MOUSEMOVE, 0, Center(Stop));     // straight on to the next
  Bar->SendMessage(WM_MOUSEMOVE, 0, Center(Gap));      // no command there
  EXPECT_EQ(Log, (std::vector<std::string>{"move", "select 65", "idle 2", "moved", "move", "moved", "move",
                                           "select ffff0000", "idle 2", "select ca", "idle 2", "moved",
                                           "move", "select ffff0000", "idle 2", "moved"}));

  // Leaving the bar from a button reports the leave too.
  Bar->SendMessage(WM_MOUSEMOVE, 0, Center(Run));
  Log.clear();
  Bar->SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(Log, (std::vector<std::string>{"select ffff0000", "idle 2"}));
}

TEST(StatusBar, TheFirstGadgetShowsTheHintWhileOneIsSet) {
  THost host;
  std::vector<std::string> log;
  host.Log = &log;
  auto* bar = &host.InsertChild(std::make_unique<TStatusBar>(&host, TGadget::Recessed, TStatusBar::CapsLock));
  auto* clock = &bar->Insert(std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Center, 10));
  bar->Attr.W = 400;
  bar->Attr.H = 24;
  ASSERT_TRUE(host.Create());
  auto* message = dynamic_cast<TTextGadget*>(bar->FirstGadget());
  ASSERT_EQ(message, bar->GetMessageGadget());
  EXPECT_EQ(bar->GetGadgets().size(), 3u);  // message, Caps indicator, clock
  EXPECT_EQ(bar->GetGadgets().back().get(), clock);
  EXPECT_TRUE(message->WideAsPossible);

  message->SetText("Booted: (none)");
  bar->SetHintText("Run program");
  EXPECT_STREQ(bar->GetHintText(), "Run program");
  bar->SetHintText("");
  EXPECT_STREQ(bar->GetHintText(), "");
  bar->SetHintText(nullptr);
  EXPECT_EQ(bar->GetHintText(), nullptr);
  EXPECT_STREQ(message->GetText(), "Booted: (none)");
  // The message gadget takes what the fixed gadgets leave.
  RECT client;
  bar->GetClientRect(client);
  EXPECT_EQ(clock->GetBounds().right, client.right - 2);
}

}  // namespace
