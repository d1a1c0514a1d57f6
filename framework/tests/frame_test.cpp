// MDI frame, client and children; decorations; menu-selection hints.
#include <gtest/gtest.h>

#include "framework/control_bar.h"
#include "framework/mdi_child.h"
#include "framework/mdi_frame.h"
#include "framework/status_bar.h"
#include "framework/tests/test_support.h"

namespace {

// Records every hint it is given; a null hint as "(null)".
class TRecordingStatusBar : public TStatusBar {
 public:
  explicit TRecordingStatusBar(TWindow* parent) : TStatusBar(parent, TGadget::Recessed) {}
  std::vector<std::string> Hints;
  void SetHintText(const char* text) override {
    Hints.push_back(text ? text : "(null)");
    TStatusBar::SetHintText(text);
  }
};

struct MdiFixture : ::testing::Test {
  TDecoratedMDIFrame Frame{"Frame", "FRAME", std::make_unique<TMDIClient>(), true};
  TMDIClient* Client = Frame.GetClientWindow();
  TControlBar* ToolBar = &Frame.Insert(std::make_unique<TControlBar>(&Frame), TFrameWindow::Top);
  TRecordingStatusBar* StatusBar =
      &Frame.Insert(std::make_unique<TRecordingStatusBar>(&Frame), TFrameWindow::Bottom);

  void SetUp() override {
    Frame.Attr.X = Frame.Attr.Y = 0;
    Frame.Attr.W = 600;
    Frame.Attr.H = 400;
    StatusBar->SetText("Ready");
    ASSERT_TRUE(Frame.Create());
    ShowInactive(Frame);
    ASSERT_TRUE(Client->HWindow);
  }

  TMDIChild* NewChild(const char* title, DWORD extraStyle = 0) {
    auto* child = &Client->InsertChild(std::make_unique<TMDIChild>(*Client, title));
    child->Attr.Style |= extraStyle;
    EXPECT_TRUE(child->Create());
    return child;
  }

  static RECT ScreenRect(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r;
  }
};

TEST_F(MdiFixture, DecorationsFrameTheClientTopAndBottom) {
  RECT client, bar, status, mdi;
  Frame.GetClientRect(client);
  GetWindowRect(ToolBar->HWindow, &bar);
  GetWindowRect(StatusBar->HWindow, &status);
  GetWindowRect(Client->HWindow, &mdi);
  POINT origin{0, 0};
  ClientToScreen(Frame.HWindow, &origin);
  EXPECT_EQ(bar.top, origin.y);
  EXPECT_EQ(mdi.top, bar.bottom);
  EXPECT_EQ(mdi.bottom, status.top);
  EXPECT_EQ(status.bottom, origin.y + client.bottom);
  EXPECT_GT(bar.bottom - bar.top, 0);
  EXPECT_GT(status.bottom - status.top, 0);
}

TEST_F(MdiFixture, AMaximizedChildAndTheWindowCommands) {
  TMDIChild* child = NewChild("Console", WS_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(child->HWindow));
  EXPECT_EQ(Client->GetActiveMDIChild(), child);
  EXPECT_EQ(ClassNameOf(child->HWindow), "TMDIChild");
  EXPECT_EQ(TWindow::GetWindowPtr(child->HWindow), child);

  TMDIChild* second = NewChild("Second");
  TMDIChild* third = NewChild("Third");
  // Tile: routed from the frame through the active child to the client.
  Frame.SendMessage(WM_COMMAND, CM_TILECHILDREN);
  RECT a = ScreenRect(second->HWindow), b = ScreenRect(third->HWindow), overlap;
  EXPECT_FALSE(IsZoomed(child->HWindow));
  EXPECT_FALSE(IntersectRect(&overlap, &a, &b));

  Frame.SendMessage(WM_COMMAND, CM_CASCADECHILDREN);
  a = ScreenRect(second->HWindow);
  b = ScreenRect(third->HWindow);
  EXPECT_TRUE(IntersectRect(&overlap, &a, &b));
  EXPECT_NE(a.left, b.left);
  EXPECT_NE(a.top, b.top);

  ShowWindow(third->HWindow, SW_MINIMIZE);
  Frame.SendMessage(WM_COMMAND, CM_ARRANGEICONS);
  EXPECT_TRUE(IsIconic(third->HWindow));

  // Deleting a child object takes its window out of the client.
  const HWND gone = third->HWindow;
  Client->ReleaseChild(*third).reset();
  EXPECT_FALSE(IsWindow(gone));
}

TEST_F(MdiFixture, AMenuSelectionReachesTheStatusBarAtTheNextIdle) {
  HMENU file = GetSubMenu(GetMenu(Frame.HWindow), 0);
  Frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(101, MF_HILITE), reinterpret_cast<LPARAM>(file));
  EXPECT_TRUE(StatusBar->Hints.empty());  // nothing before the idle message
  Frame.SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  ASSERT_EQ(StatusBar->Hints.size(), 1u);
  EXPECT_EQ(StatusBar->Hints[0], "Run program\nRun");
  EXPECT_STREQ(StatusBar->GetHintText(), "Run program\nRun");

  // The menu closes: a null hint at once, and the message text is back.
  Frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  ASSERT_EQ(StatusBar->Hints.size(), 2u);
  EXPECT_EQ(StatusBar->Hints[1], "(null)");
  EXPECT_EQ(StatusBar->GetHintText(), nullptr);
  EXPECT_STREQ(StatusBar->GetMessageGadget()->GetText(), "Ready");
  Frame.SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_EQ(StatusBar->Hints.size(), 2u);  // the idle after closing adds nothing

  // An id without a string gives an empty hint.
  Frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(102, MF_HILITE), reinterpret_cast<LPARAM>(file));
  Frame.SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_EQ(StatusBar->Hints.back(), "");
}

TEST_F(MdiFixture, SettingTheMenuDescriptorAgainKeepsTheWindowPopup) {
  NewChild("One");
  Frame.SetMenuDescr(TMenuDescr("FRAME", 1, 0, 0, 1, 1, 0));
  HMENU bar = GetMenu(Frame.HWindow);
  ASSERT_TRUE(bar);
  HMENU window = GetSubMenu(bar, 2);
  ASSERT_TRUE(window);
  // The client lists its child in the Window popup of the new menu.
  EXPECT_NE(GetMenuState(window, IDW_FIRSTMDICHILD, MF_BYCOMMAND), static_cast<UINT>(-1));
}

}  // namespace
