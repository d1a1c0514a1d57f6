// The application's message loop: idle-time enabling of gadgets, and the end
// of the loop when the main window goes.
#include "framework/application.h"

#include <gtest/gtest.h>

#include "framework/button_gadget.h"
#include "framework/control_bar.h"
#include "framework/frame_window.h"
#include "framework/tests/test_support.h"

namespace {

class TLoopFrame : public TFrameWindow {
 public:
  TLoopFrame() : TFrameWindow(nullptr, "Loop") {
    Attr.X = Attr.Y = 0;
    Attr.W = 300;
    Attr.H = 200;
  }
  TControlBar* Bar = &Insert(std::make_unique<TControlBar>(this), Top);
  TButtonGadget* Run = &Bar->Insert(std::make_unique<TButtonGadget>("GLYPH", 101));  // starts disabled
  bool EnabledAtTimer = false;

  void SetupWindow() override {
    TFrameWindow::SetupWindow();
    SetTimer(1, 100);
  }
  void CeRun(TCommandEnabler& ce) { ce.Enable(true); }
  void EvTimer(UINT_PTR) {
    KillTimer(1);
    EnabledAtTimer = Run->GetEnabled();
    PostMessage(WM_CLOSE);
  }
  DECLARE_RESPONSE_TABLE(TLoopFrame);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TLoopFrame, TFrameWindow)
  EV_COMMAND_ENABLE(101, CeRun),
  EV_WM_TIMER(EvTimer),
END_RESPONSE_TABLE;
// clang-format on

class TLoopApp : public TApplication {
 public:
  TLoopApp() : TApplication("LOOP") {}
  TLoopFrame* Frame = nullptr;
  void InitMainWindow() override { Frame = &SetMainWindow(std::make_unique<TLoopFrame>()); }
};

TEST(Application, IdleTimeEnablesGadgetsAndClosingTheMainWindowEndsTheLoop) {
  TLoopApp app;
  EXPECT_EQ(TApplication::Current(), &app);
  EXPECT_STREQ(app.GetName(), "LOOP");
  EXPECT_EQ(app.Run(SW_SHOWNA), 0);
  EXPECT_TRUE(app.Frame->EnabledAtTimer);
  EXPECT_EQ(app.GetMainWindow()->HWindow, nullptr);
  char hint[128];
  EXPECT_GT(app.LoadString(101, hint, sizeof hint), 0);
  EXPECT_STREQ(hint, "Run program\nRun");
}

}  // namespace
