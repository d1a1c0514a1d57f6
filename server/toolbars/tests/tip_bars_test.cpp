// The tip bars in a real decorated MDI frame with the server's glyphs, menu
// and hints: mouse moves over the tool bar reach the status bar and the
// tooltip through the frame's hint handling.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/button_gadget.h"
#include "framework/gadget_window_font.h"
#include "framework/mdi_frame.h"
#include "framework/separator_gadget.h"
#include "server/resources/resource_ids.h"
#include "server/toolbars/tip_control_bar.h"
#include "server/toolbars/tip_status_bar.h"

namespace {

using State = tessel::toolbars::TipTiming::State;

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// Timers and input only promise "not before": on a loaded or emulated machine
// they may come well after their time, so waiting for them has a wide limit.
// The tip delays themselves are checked on a fake clock in the timing tests.
template <class Done>
bool PumpUntil(Done done) {
  for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 5000;) PumpFor(10);
  return done();
}

std::string WindowText(HWND window) {
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class TipBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Away from the frame, so that no real mouse move reaches the bar.
    SetCursorPos(8, 8);
    Tip = std::make_unique<TToolTip>(std::make_unique<TToolTipFont>());
    Frame = std::make_unique<TDecoratedMDIFrame>("Tip bars", "TESSEL", std::make_unique<TMDIClient>(), true);
    Frame->Attr.X = 60;
    Frame->Attr.Y = 60;
    Frame->Attr.W = 560;
    Frame->Attr.H = 380;

    Bar = &Frame->Insert(std::make_unique<TTipControlBar>(*Tip, Frame.get(), TGadgetWindow::Horizontal,
                                                          std::make_unique<TGadgetWindowFont>(10)),
                         TFrameWindow::Top);
    Bar->Insert(std::make_unique<TButtonGadget>("RUN", CM_RUN, TButtonGadget::Command, true));
    Bar->Insert(std::make_unique<TSeparatorGadget>(12));
    Bar->Insert(std::make_unique<TButtonGadget>("RESET", CM_RESET, TButtonGadget::Command, true));
    Bar->Insert(std::make_unique<TButtonGadget>("TERMINATE", CM_TERMINATE, TButtonGadget::Command, true));
    Bar->Insert(std::make_unique<TSeparatorGadget>(10));
    // A hint without a newline: status text only.
    Bar->Insert(std::make_unique<TButtonGadget>("SETUP", CM_PROTOCOLS, TButtonGadget::Command, true));

    Status = &Frame->Insert(std::make_unique<TTipStatusBar>(*Tip, Frame.get(), TGadget::Recessed, 0,
                                                            std::make_unique<TGadgetWindowFont>(8)),
                            TFrameWindow::Bottom);
    Status->SetText("Ready");

    ASSERT_TRUE(Frame->Create());
    // Without activation: under Wine an active top-level window takes 2 s to go.
    Frame->ShowWindow(SW_SHOWNA);
    PumpFor(50);
  }

  void TearDown() override {
    Frame.reset();
    Tip.reset();
  }

  // Moves the cursor there and hands the bar the mouse move it would get.
  void MoveTo(POINT client) {
    POINT screen = client;
    ClientToScreen(Bar->HWindow, &screen);
    SetCursorPos(screen.x, screen.y);
    // Let the system's own move for the new position arrive first, so that
    // it cannot come late and undo what the test does next.
    PumpFor(30);
    SendMessageA(Bar->HWindow, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  POINT CentreOf(const TGadget& gadget) const {
    const RECT& r = gadget.GetBounds();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void MoveOnto(int id) { MoveTo(CentreOf(*Bar->GadgetWithId(id))); }
  std::string Hint() const { return Status->GetHintText() ? Status->GetHintText() : "(none)"; }
  bool TipVisible() const { return IsWindowVisible(Tip->HWindow); }
  bool WaitForTip() {
    return PumpUntil([this] { return TipVisible(); });
  }

  std::unique_ptr<TToolTip> Tip;
  std::unique_ptr<TDecoratedMDIFrame> Frame;
  TTipControlBar* Bar = nullptr;
  TTipStatusBar* Status = nullptr;
};

TEST_F(TipBarsTest, AButtonsHintGoesToTheStatusBarAndItsTipShowsAfterTheDelay) {
  MoveOnto(CM_RUN);
  EXPECT_EQ(Hint(), "Run program");
  EXPECT_EQ(WindowText(Tip->HWindow), "Run");
  EXPECT_EQ(Tip->GetTipState(), State::Pending);
  PumpFor(400);
  EXPECT_FALSE(TipVisible()) << "the first tip waits 600 ms";
  ASSERT_TRUE(WaitForTip());

  // A topmost popup of its own class at the cursor, without activation.
  EXPECT_EQ(GetForegroundWindow() == Tip->HWindow, false);
  char className[32] = "";
  GetClassNameA(Tip->HWindow, className, sizeof className);
  EXPECT_STREQ(className, "Moss:Tooltip");
  EXPECT_TRUE(GetWindowLongA(Tip->HWindow, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLongA(Tip->HWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
  POINT cursor;
  GetCursorPos(&cursor);
  RECT tip;
  GetWindowRect(Tip->HWindow, &tip);
  EXPECT_EQ(tip.left, cursor.x - 2);
  EXPECT_EQ(tip.top, cursor.y + 22);

  if (const char* hold = std::getenv("TIP_BARS_HOLD_MS")) PumpFor(std::atoi(hold));  // for a screenshot

  // Straight on to the next button: its tip comes after 150 ms.
  MoveOnto(CM_RESET);
  EXPECT_EQ(Hint(), "Reset hardware");
  EXPECT_FALSE(TipVisible());
  EXPECT_TRUE(WaitForTip());
  EXPECT_EQ(WindowText(Tip->HWindow), "Reset");

  // A hint without a newline: the whole of it in the status bar, no tip.
  MoveOnto(CM_PROTOCOLS);
  EXPECT_EQ(Hint(), "Configure protocols");
  EXPECT_FALSE(TipVisible());
  EXPECT_EQ(Tip->GetTipState(), State::Idle);
}

TEST_F(TipBarsTest, LeavingTheButtonsHidesTheTipAndEndsTheHint) {
  const RECT run = Bar->GadgetWithId(CM_RUN)->GetBounds();
  const POINT betweenButtons{run.right + 6, (run.top + run.bottom) / 2};
  const POINT barMargin{1, 1};
  for (const POINT away : {betweenButtons, barMargin}) {
    MoveOnto(CM_RUN);
    ASSERT_TRUE(WaitForTip());
    MoveTo(away);
    EXPECT_FALSE(TipVisible());
    EXPECT_EQ(Tip->GetTipState(), State::Idle);
    EXPECT_EQ(Hint(), "(none)");
  }

  // Out of the bar altogether, with the tip still pending: the bar learns
  // it from the system's leave notification.
  MoveOnto(CM_TERMINATE);
  EXPECT_EQ(Hint(), "Terminate program");
  SetCursorPos(8, 8);
  EXPECT_TRUE(PumpUntil([this] { return Tip->GetTipState() == State::Idle; }));
  EXPECT_EQ(Hint(), "(none)");
  EXPECT_FALSE(TipVisible());
}

TEST_F(TipBarsTest, APressOnTheBarHidesAShownTipAndCancelsAPendingOne) {
  const POINT run = CentreOf(*Bar->GadgetWithId(CM_RUN));
  MoveOnto(CM_RUN);
  ASSERT_TRUE(WaitForTip());
  SendMessageA(Bar->HWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(run.x, run.y));
  SendMessageA(Bar->HWindow, WM_LBUTTONUP, 0, MAKELPARAM(run.x, run.y));
  EXPECT_FALSE(TipVisible());
  EXPECT_EQ(Tip->GetTipState(), State::Idle);

  // The second press of a double click, and a press in a control on the bar.
  for (const UINT press : {UINT(WM_LBUTTONDBLCLK), UINT(WM_PARENTNOTIFY)}) {
    Tip->SetTipText("Run");
    ASSERT_EQ(Tip->GetTipState(), State::Pending);
    if (press == WM_PARENTNOTIFY)
      SendMessageA(Bar->HWindow, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(run.x, run.y));
    else
      SendMessageA(Bar->HWindow, press, MK_LBUTTON, MAKELPARAM(run.x, run.y));
    EXPECT_EQ(Tip->GetTipState(), State::Idle) << press;
  }
}

TEST_F(TipBarsTest, AControlOnTheBarGetsTheHintAndTipOfWhereTheCursorIs) {
  // The bar sees no mouse moves over a control of its own; the control's
  // cursor message, passed up to the bar, stands in for them.
  const RECT terminate = Bar->GadgetWithId(CM_TERMINATE)->GetBounds();
  HWND control = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE, terminate.left, terminate.top,
                               terminate.right - terminate.left, terminate.bottom - terminate.top,
                               Bar->HWindow, nullptr, nullptr, nullptr);
  ASSERT_TRUE(control);
  POINT screen = CentreOf(*Bar->GadgetWithId(CM_TERMINATE));
  ClientToScreen(Bar->HWindow, &screen);
  SetCursorPos(screen.x, screen.y);
  PumpUntil([this] { return Hint() != "(none)"; });
  EXPECT_EQ(Hint(), "Terminate program");
  EXPECT_EQ(WindowText(Tip->HWindow), "Terminate");
  EXPECT_NE(Tip->GetTipState(), State::Idle);
}

TEST_F(TipBarsTest, AKeyOfTheThreadHidesTheTip) {
  SetForegroundWindow(Frame->HWindow);
  MoveOnto(CM_RUN);
  ASSERT_TRUE(WaitForTip());
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([this] { return !TipVisible(); }));
  EXPECT_EQ(Tip->GetTipState(), State::Idle);
}

TEST_F(TipBarsTest, MenuHintsReachTheStatusBarWithoutATooltip) {
  HMENU menu = GetMenu(Frame->HWindow);
  ASSERT_TRUE(menu);
  SendMessageA(Frame->HWindow, WM_MENUSELECT, MAKEWPARAM(CM_RUN, MF_STRING), reinterpret_cast<LPARAM>(menu));
  SendMessageA(Frame->HWindow, WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_EQ(Hint(), "Run program");
  EXPECT_EQ(Tip->GetTipState(), State::Idle);
  PumpFor(700);
  EXPECT_FALSE(TipVisible());

  // The menu closes: the status bar shows its own text again.
  SendMessageA(Frame->HWindow, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(Hint(), "(none)");
}

TEST(ToolTipPainting, FramesThePaleFaceAndDrawsTheWholeText) {
  TToolTipFont font;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const std::string text(60, 'W');
  HGDIOBJ oldFont = SelectObject(dc, font.GetHandle());
  SIZE extent;
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, oldFont);
  const RECT client = {0, 0, extent.cx + tessel::toolbars::kTipPadWidth,
                       extent.cy + tessel::toolbars::kTipPadHeight};
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  tessel::toolbars::PaintTip(dc, client, text, font.GetHandle());

  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(GetPixel(dc, 1, 1), tessel::toolbars::kTipFaceColour);
  // Text drawn in full reaches the first character cell; a text cut short
  // and centred would leave the first cells empty.
  const int firstCell = extent.cx / 60 + 3;
  bool inkNearLeft = false;
  for (int x = 1; x < firstCell && !inkNearLeft; ++x)
    for (int y = 1; y < client.bottom - 1 && !inkNearLeft; ++y)
      inkNearLeft = GetPixel(dc, x, y) == RGB(0, 0, 0);
  EXPECT_TRUE(inkNearLeft);

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
