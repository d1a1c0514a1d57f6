// The I/O Window in a small MDI frame: it cannot be closed, keys reach the
// ring only while a task is active, Alt+menu letters stay with the menus,
// resizing keeps typed-ahead keys, and scrolling moves drawing and caret.
#include <gtest/gtest.h>
#include <windows.h>

#include "framework/mdi_client.h"
#include "framework/mdi_frame.h"
#include "framework/tests/test_support.h"
#include "server/console/stdio_window.h"

namespace {

class StdioWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new TMDIFrame("Host", nullptr, std::make_unique<TMDIClient>());
    client = frame->GetClientWindow();
    frame->Attr.X = frame->Attr.Y = 0;
    frame->Attr.W = 900;
    frame->Attr.H = 600;
    ASSERT_TRUE(frame->Create());
    ::ShowWindow(frame->HWindow, SW_SHOWNA);
    console = &client->InsertChild(std::make_unique<TStdioWindow>(*client, "I/O Window", task));
    console->Attr.Style |= WS_MAXIMIZE;
    ASSERT_TRUE(console->Create());
    console->ShowWindow(SW_SHOWMAXIMIZED);
    console->SetFocus();
    PumpMessages();
  }
  void TearDown() override {
    delete frame;
    PumpMessages();
  }
  void Key(UINT message, WPARAM key) {
    console->SendMessage(message, key, 0);
  }
  int Queued() { return console->GetConsole().ring.count(); }

  server::TaskState task;
  TMDIClient* client = nullptr;
  TMDIFrame* frame = nullptr;
  TStdioWindow* console = nullptr;
};

TEST_F(StdioWindowTest, CloseRequestsLeaveTheConsoleOpen) {
  console->SendMessage(WM_CLOSE);
  PumpMessages();
  EXPECT_TRUE(IsWindow(console->HWindow));
}

TEST_F(StdioWindowTest, KeysReachTheRingOnlyWhileATaskIsActive) {
  Key(WM_CHAR, 'a');
  Key(WM_KEYDOWN, VK_F1);
  Key(WM_KEYDOWN, VK_SHIFT);
  EXPECT_EQ(Queued(), 0);
  EXPECT_FALSE(console->GetConsole().keyboard.modifiers().shift);

  task.value = server::kTaskRunning;
  Key(WM_CHAR, 'a');
  Key(WM_KEYDOWN, VK_F1);
  Key(WM_SYSKEYDOWN, VK_MENU);
  Key(WM_SYSKEYDOWN, 'A');  // Alt+A: 0, 30
  Key(WM_SYSKEYUP, VK_MENU);
  Key(WM_SYSKEYDOWN, VK_MENU);
  Key(WM_SYSKEYDOWN, 'R');  // left to the menus
  auto& ring = console->GetConsole().ring;
  ASSERT_EQ(ring.count(), 5);
  for (int expected : {97, 0, 59, 0, 30}) EXPECT_EQ(ring.Take(), expected);
}

TEST_F(StdioWindowTest, ResizingKeepsTypedAheadKeysAndRebuildsTheCaret) {
  task.value = server::kTaskRunning;
  Key(WM_CHAR, 'x');
  console->ShowWindow(SW_RESTORE);
  console->MoveWindow(0, 0, 300, 200);
  PumpMessages();
  EXPECT_EQ(Queued(), 1);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  EXPECT_EQ(caret.y, (3 * console->GetSink().char_height()) / 4);

  // Focus coming back from another window discards them.
  frame->SetFocus();
  console->SetFocus();
  EXPECT_EQ(Queued(), 0);
}

TEST_F(StdioWindowTest, ScrollingMovesTheCaretWithTheView) {
  console->ShowWindow(SW_RESTORE);
  console->MoveWindow(0, 0, 200, 120);
  PumpMessages();
  console->GetConsole().model.PutText("\x1b[6;11H");
  console->GetScroller()->ScrollTo(3, 2);
  console->GetConsole().model.PlaceCaret();
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  const int w = console->GetSink().char_width(), h = console->GetSink().char_height();
  EXPECT_EQ(caret.x, (10 - 3) * w);
  EXPECT_EQ(caret.y, (5 - 2) * h + (3 * h) / 4);
}

}  // namespace
