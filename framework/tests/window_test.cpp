// Handle lookup, ownership of child objects, response tables (typed, raw and
// child-notification entries), default processing, command routing and
// command enabling of menu items, with real windows.
#include <gtest/gtest.h>

#include "framework/command_enabler.h"
#include "framework/frame_window.h"
#include "framework/list_box.h"
#include "framework/tests/test_support.h"

namespace {

TEST(HandleLookup, OwnWindowsAreFoundAliasesAndForeignWindowsAreNot) {
  TTopWindow own;
  ASSERT_TRUE(own.Create());
  EXPECT_EQ(TWindow::GetWindowPtr(own.HWindow), &own);

  HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(foreign);
  // A foreign window may carry anything in its user data: it is not consulted.
  SetWindowLongPtrA(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&own));
  EXPECT_EQ(TWindow::GetWindowPtr(foreign), nullptr);

  {
    TWindow alias(foreign);
    EXPECT_TRUE(alias.IsAlias());
    EXPECT_EQ(alias.GetHandle(), foreign);
    EXPECT_EQ(TWindow::GetWindowPtr(foreign), nullptr);  // an alias does not receive its messages
  }
  EXPECT_TRUE(IsWindow(foreign));  // and does not own it
  DestroyWindow(foreign);

  const HWND gone = own.HWindow;
  own.Destroy();
  EXPECT_EQ(own.HWindow, nullptr);
  EXPECT_EQ(TWindow::GetWindowPtr(gone), nullptr);
  EXPECT_EQ(TWindow::GetWindowPtr(nullptr), nullptr);
}

TEST(HandleLookup, DeletingAnObjectDestroysItsWindowAndItsChildren) {
  auto* top = new TTopWindow;
  auto* child = &top->InsertChild(std::make_unique<TWindow>(top, "child"));
  ASSERT_TRUE(top->Create());  // creates the child in its set-up
  const HWND topHandle = top->HWindow, childHandle = child->HWindow;
  ASSERT_TRUE(childHandle);
  EXPECT_EQ(::GetParent(childHandle), topHandle);
  EXPECT_EQ(top->ChildWithId(0), child);
  delete top;  // the child object goes with it
  EXPECT_FALSE(IsWindow(topHandle));
  EXPECT_FALSE(IsWindow(childHandle));
  EXPECT_EQ(TWindow::GetWindowPtr(childHandle), nullptr);
}

// Binds WM_USER+1 and WM_USER+2; the derived class rebinds WM_USER+1.
class TBase : public TTopWindow {
 public:
  std::vector<std::string> Log;
  LRESULT EvOne(const TMessage&) {
    Log.push_back("base one");
    return 1;
  }
  LRESULT EvTwo(const TMessage&) {
    Log.push_back("base two");
    return 2;
  }
  DECLARE_RESPONSE_TABLE(TBase);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TBase, TTopWindow)
  EV_MESSAGE(WM_USER + 1, EvOne),
  EV_MESSAGE(WM_USER + 2, EvTwo),
END_RESPONSE_TABLE;
// clang-format on

class TDerived : public TBase {
 public:
  TMessage Seen;
  LRESULT EvOne(const TMessage& m) {
    Seen = m;
    Log.push_back("derived one");
    return 11;
  }
  LRESULT EvSetText(const TMessage& m) {
    Log.push_back("settext");
    return DefaultProcessing(m);  // the platform stores the text
  }
  DECLARE_RESPONSE_TABLE(TDerived);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TDerived, TBase)
  EV_MESSAGE(WM_USER + 1, EvOne),
  EV_MESSAGE(WM_SETTEXT, EvSetText),
END_RESPONSE_TABLE;
// clang-format on

TEST(ResponseTable, OwnEntriesFirstThenBaseThenDefaultProcessing) {
  TDerived w;
  ASSERT_TRUE(w.Create());
  EXPECT_EQ(w.SendMessage(WM_USER + 1, 5, 6), 11);
  EXPECT_EQ(w.SendMessage(WM_USER + 2), 2);
  EXPECT_EQ(w.SendMessage(WM_USER + 3), 0);  // no entry: the platform's default
  EXPECT_EQ(w.Log, (std::vector<std::string>{"derived one", "base two"}));
  EXPECT_EQ(w.Seen.Msg, UINT{WM_USER + 1});
  EXPECT_EQ(w.Seen.WParam, WPARAM{5});
  EXPECT_EQ(w.Seen.LParam, LPARAM{6});

  SetWindowTextA(w.HWindow, "changed");
  char text[32] = "";
  GetWindowTextA(w.HWindow, text, sizeof text);
  EXPECT_STREQ(text, "changed");
  EXPECT_EQ(w.Log.back(), "settext");
}

// Commands: 500 handled by the client, 501 by the frame; enablers for the
// menu: 101 greyed, 202 enabled (and greyed beforehand in the resource state).
class TClient : public TWindow {
 public:
  explicit TClient() : TWindow(static_cast<TWindow*>(nullptr)) {}
  int Hits = 0;
  void Cm500() { ++Hits; }
  DECLARE_RESPONSE_TABLE(TClient);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TClient, TWindow)
  EV_COMMAND(500, Cm500),
END_RESPONSE_TABLE;
// clang-format on

class TRoutingFrame : public TFrameWindow {
 public:
  explicit TRoutingFrame(std::unique_ptr<TClient> client)
      : TFrameWindow(nullptr, "Routing", std::move(client)) {
    AssignMenu("FRAME");
  }
  int Hits = 0;
  bool RunEnabled = false;
  void Cm501() { ++Hits; }
  void CeRun(TCommandEnabler& ce) { ce.Enable(RunEnabled); }
  void CeTerminate(TCommandEnabler& ce) { ce.Enable(true); }
  DECLARE_RESPONSE_TABLE(TRoutingFrame);
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TRoutingFrame, TFrameWindow)
  EV_COMMAND(501, Cm501),
  EV_COMMAND_ENABLE(101, CeRun),
  EV_COMMAND_ENABLE(202, CeTerminate),
END_RESPONSE_TABLE;
// clang-format on

TEST(CommandRouting, MenuCommandsStartAtTheClientAndGoUpTheParentChain) {
  TRoutingFrame frame(std::make_unique<TClient>());
  auto* client = static_cast<TClient*>(frame.GetClientWindow());
  ASSERT_TRUE(frame.Create());
  ASSERT_TRUE(client->HWindow);

  frame.SendMessage(WM_COMMAND, 500);    // reaches the client's handler
  frame.SendMessage(WM_COMMAND, 501);    // the frame's own
  client->SendMessage(WM_COMMAND, 501);  // from the client up to its parent
  EXPECT_EQ(client->Hits, 1);
  EXPECT_EQ(frame.Hits, 2);

  // A control's notification stays with the control's parent.
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 5, 5, client->HWindow,
                                reinterpret_cast<HMENU>(501), GetModuleHandleA(nullptr), nullptr);
  client->SendMessage(WM_COMMAND, MAKEWPARAM(501, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(frame.Hits, 2);
}

TEST(CommandEnabling, MenuItemsFollowTheirEnablersWhenThePopupOpens) {
  TRoutingFrame frame(std::make_unique<TClient>());
  ASSERT_TRUE(frame.Create());
  HMENU bar = GetMenu(frame.HWindow);
  ASSERT_TRUE(bar);
  HMENU file = GetSubMenu(bar, 0), control = GetSubMenu(bar, 1);
  EnableMenuItem(control, 202, MF_BYCOMMAND | MF_GRAYED);

  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(control), 1);
  EXPECT_TRUE(GetMenuState(file, 101, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(file, 102, MF_BYCOMMAND) & MF_GRAYED);  // no enabler: untouched
  EXPECT_FALSE(GetMenuState(control, 202, MF_BYCOMMAND) & MF_GRAYED);

  frame.RunEnabled = true;
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_FALSE(GetMenuState(file, 101, MF_BYCOMMAND) & MF_GRAYED);
}

// Counts its own destruction.
class TCountedWindow : public TWindow {
 public:
  TCountedWindow(TWindow* parent, int& deleted) : TWindow(parent), Deleted(deleted) {}
  ~TCountedWindow() override { ++Deleted; }

 private:
  int& Deleted;
};

TEST(Ownership, AParentDeletesTheChildrenItWasHandedAndOnlyThose) {
  int deleted = 0;
  auto top = std::make_unique<TTopWindow>();
  TCountedWindow& owned = top->InsertChild(std::make_unique<TCountedWindow>(top.get(), deleted));
  TCountedWindow& released = top->InsertChild(std::make_unique<TCountedWindow>(top.get(), deleted));
  TCountedWindow linked(top.get(), deleted);  // a member-style child: linked, not owned
  ASSERT_TRUE(top->Create());
  EXPECT_TRUE(owned.HWindow && released.HWindow && linked.HWindow);

  EXPECT_EQ(top->ReleaseChild(linked), nullptr);
  std::unique_ptr<TWindow> back = top->ReleaseChild(released);
  EXPECT_EQ(back.get(), &released);
  EXPECT_EQ(top->ReleaseChild(released), nullptr);  // only once

  top.reset();
  EXPECT_EQ(deleted, 1);  // the owned child only
  EXPECT_EQ(linked.GetParent(), nullptr);
  back.reset();
  EXPECT_EQ(deleted, 2);
}

// Typed entries decode; a notification entry answers its own code only.
class TDecoding : public TTopWindow {
 public:
  std::vector<std::string> Log;
  void EvSize(UINT type, int cx, int cy) { Note("size", type, cx, cy); }
  void EvMouseMove(UINT keys, POINT p) { Note("move", keys, p.x, p.y); }
  void EvKeyDown(UINT key, UINT repeat, UINT flags) { Note("key", key, repeat, flags); }
  void EvHScroll(UINT code, int pos, HWND bar) { Note("hscroll", code, pos, bar ? 1 : 0); }
  void EvTimer(UINT_PTR id) { Note("timer", static_cast<UINT>(id), 0, 0); }
  void Picked() { Log.push_back("picked"); }
  void AnyCode() { Log.push_back("any"); }
  DECLARE_RESPONSE_TABLE(TDecoding);

 private:
  void Note(const char* what, UINT a, int b, int c) {
    Log.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                  std::to_string(c));
  }
};
// clang-format off
DEFINE_RESPONSE_TABLE1(TDecoding, TTopWindow)
  EV_WM_SIZE(EvSize),
  EV_WM_MOUSEMOVE(EvMouseMove),
  EV_WM_KEYDOWN(EvKeyDown),
  EV_WM_HSCROLL(EvHScroll),
  EV_WM_TIMER(EvTimer),
  EV_CHILD_NOTIFY(10, LBN_DBLCLK, Picked),
  EV_COMMAND(11, AnyCode),
END_RESPONSE_TABLE;
// clang-format on

TEST(ResponseTable, TypedEntriesDecodeAndNotificationEntriesMatchTheirCode) {
  TDecoding w;
  ASSERT_TRUE(w.Create());
  TListBox& list = w.InsertChild(std::make_unique<TListBox>(&w, 10, 0, 0, 50, 50));
  TListBox& other = w.InsertChild(std::make_unique<TListBox>(&w, 11, 60, 0, 50, 50));
  ASSERT_TRUE(list.Create() && other.Create());
  const LPARAM listHandle = reinterpret_cast<LPARAM>(list.HWindow);
  w.Log.clear();

  w.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
  w.SendMessage(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(-1, -2));  // left of and above the window
  w.SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(3, 0x401E));
  w.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), listHandle);  // from a control
  w.SendMessage(WM_TIMER, 7);
  w.SendMessage(WM_COMMAND, MAKEWPARAM(10, LBN_SELCHANGE), listHandle);  // another code: no entry
  w.SendMessage(WM_COMMAND, MAKEWPARAM(10, LBN_DBLCLK), listHandle);
  w.SendMessage(WM_COMMAND, MAKEWPARAM(10, 0), 0);  // a menu command 10: not the list's notification
  w.SendMessage(WM_COMMAND, MAKEWPARAM(11, LBN_SELCHANGE), reinterpret_cast<LPARAM>(other.HWindow));
  EXPECT_EQ(w.Log, (std::vector<std::string>{"size 2 640 480", "move 4 -1 -2", "key 65 3 16414",
                                             "hscroll 5 300 1", "timer 7 0 0", "picked", "any"}));
}

}  // namespace
