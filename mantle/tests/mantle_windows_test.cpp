// Plain windows, the event queue they fill, dialogs from a resource file and
// controls, from an outside client under Wine.
#include <cstring>
#include <string>
#include <utility>

#include "mantle/tests/mantle_client.h"

namespace {

constexpr const char* kResFile = "mantle_test.res";
const HWND kAnyWindow = reinterpret_cast<HWND>(0xFFFF);

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, static_cast<int>(sizeof name));
  return name;
}

// The command records of one control (focus changes notify too).
std::vector<QueuedMessage> About(const std::vector<QueuedMessage>& records, int id) {
  std::vector<QueuedMessage> mine;
  for (const QueuedMessage& r : records)
    if (r.message == WM_COMMAND && LOWORD(r.wParam) == id) mine.push_back(r);
  return mine;
}

bool IsFourHexDigits(const std::string& s) {
  return s.size() == 4 && s.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

class Windows : public MantleClient {
 protected:
  HWND TopLevel(int id, const char* title = "mantle test") {
    return MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, nullptr, title, id, 10, 10,
                                 300, 200);
  }
};

TEST_F(Windows, PlainWindowClassStyleAndSixteenBitGeometry) {
  EXPECT_EQ(MANTLE(_CreateWindow)(0, nullptr, "child without parent", 1, 0, 0, 10, 10), nullptr);

  const HWND window = TopLevel(7);
  ASSERT_NE(window, nullptr);
  const std::string name = ClassOf(window);
  EXPECT_EQ(name.substr(0, 11), "OWLZWindow:");
  EXPECT_TRUE(IsFourHexDigits(name.substr(11))) << name;
  EXPECT_EQ(GetClassLongA(window, GCL_STYLE), static_cast<DWORD>(CS_DBLCLKS | CS_NOCLOSE));
  EXPECT_EQ(GetClassLongA(window, GCL_CBWNDEXTRA), 22u);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0);
  EXPECT_NE(style & WS_MAXIMIZEBOX, 0);

  // A child 70000 wide arrives 4464 wide.
  const HWND child =
      MANTLE(_CreateWindow)(WS_CHILD | WS_VISIBLE, window, "child", 3, 0, 0, 70000, 65536 + 20);
  ASSERT_NE(child, nullptr);
  RECT rect{};
  GetWindowRect(child, &rect);
  EXPECT_EQ(rect.right - rect.left, 4464);
  EXPECT_EQ(rect.bottom - rect.top, 20);
  EXPECT_EQ(MANTLE(_ChildWithId)(window, 3), child);
  EXPECT_EQ(MANTLE(_ChildWithId)(window, 4), nullptr);
  EXPECT_EQ(MANTLE(_ChildWithId)(nullptr, 3), nullptr);

  // 22 extra bytes: a word at 20 fits, at 22 it does not.
  SetLastError(0);
  MANTLE(_SetWindowWord)(window, 20, 0x12345);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(MANTLE(_GetWindowWord)(window, 20), 0x2345);
  MANTLE(_SetWindowWord)(window, 22, 1);
  EXPECT_NE(GetLastError(), 0u);

  const std::string long_title(200, 't');
  MANTLE(_SetWindowText)(window, long_title.c_str());
  char buffer[256];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(MANTLE(_GetWindowText)(window, buffer), 127);
  EXPECT_EQ(buffer[127], '\0');
  EXPECT_EQ(buffer[128], 'x');

  EXPECT_EQ(MANTLE(_DeleteWindow)(window), 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(Windows, ClassIconAndCursorBelongToOneWindowEach) {
  const HWND first = TopLevel(1);
  Sleep(30);  // another tick, another class
  const HWND second = TopLevel(2);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(ClassOf(first), ClassOf(second));
  const HCURSOR before = reinterpret_cast<HCURSOR>(GetClassLongPtrA(second, GCLP_HCURSOR));
  EXPECT_EQ(MANTLE(_AssignCursor)(first, MANTLE(_LoadCursor)(0x10000 + 32515)), 1);  // IDC_CROSS, low 16 bits
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(first, GCLP_HCURSOR)),
            LoadCursorA(nullptr, IDC_CROSS));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(second, GCLP_HCURSOR)), before);
  EXPECT_EQ(MANTLE(_AssignIcon)(first, nullptr), 0);
  EXPECT_EQ(MANTLE(_AssignIcon)(first, MANTLE(_LoadIcon)(32512)), 1);

  // Not for foreign windows.
  const HWND foreign =
      CreateWindowA("STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(MANTLE(_AssignIcon)(foreign, MANTLE(_LoadIcon)(32512)), 0);
  EXPECT_EQ(MANTLE(_AssignMenu)(foreign, nullptr), 0);
  POINT pos{5, 5};
  EXPECT_EQ(MANTLE(_GetWindowScrollerPos)(first, &pos), 0);  // a plain window has none
  EXPECT_EQ(pos.x, 5);
  EXPECT_EQ(MANTLE(_DeleteWindow)(foreign), 1);
  EXPECT_FALSE(IsWindow(foreign));
  MANTLE(_DeleteWindow)(first);
  MANTLE(_DeleteWindow)(second);
}

// A class of its own for each window, released with the window: a client
// creating and deleting windows must not grow the process.
TEST_F(Windows, DeletedWindowsTakeTheirClassesWithThem) {
  const auto registered = [](const std::pair<std::string, HINSTANCE>& c) {
    WNDCLASSA wc;
    return GetClassInfoA(c.second, c.first.c_str(), &wc) != 0;
  };
  const auto class_of = [](HWND window) {
    return std::make_pair(ClassOf(window), reinterpret_cast<HINSTANCE>(GetClassLongPtrA(window, GCLP_HMODULE)));
  };
  const HWND window = TopLevel(1);
  ASSERT_NE(window, nullptr);
  const HWND dialog = MANTLE(_CreateDialogIndirect)(kResFile, "SETTINGS", window, 42, 0);
  ASSERT_NE(dialog, nullptr);
  Sleep(30);  // another tick, another class
  const HWND graphics = MANTLE(_CreateGraphWindow)("graphics", 9, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, 64, 64, nullptr);
  ASSERT_NE(graphics, nullptr);
  const auto window_class = class_of(window), dialog_class = class_of(dialog), graph_class = class_of(graphics);
  EXPECT_TRUE(registered(window_class) && registered(dialog_class) && registered(graph_class));
  MANTLE(_DeleteWindow)(graphics);
  EXPECT_FALSE(registered(graph_class));
  EXPECT_TRUE(registered(window_class));
  // The dialog goes with the window that owns it, and its class with it.
  MANTLE(_DeleteWindow)(window);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(registered(window_class));
  EXPECT_FALSE(registered(dialog_class));
  Drain();
}

TEST_F(Windows, KeysArriveInOrderWithTheWindowsId) {
  const HWND window = TopLevel(7);
  ASSERT_NE(window, nullptr);
  Pump();
  Drain();
  PostMessageA(window, WM_KEYDOWN, 'A', 0x001E0001);
  Pump();  // the character is posted as the key-down is translated
  PostMessageA(window, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u));
  Pump();
  const auto records = Drain();
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  for (const auto& r : records) {
    EXPECT_EQ(r.id, 7);
    EXPECT_EQ(Handle(r), window);
  }
  EXPECT_EQ(records[1].wParam, static_cast<std::uint32_t>('a'));
  MANTLE(_DeleteWindow)(window);
}

TEST_F(Windows, WhichMessagesAreQueued) {
  const HWND window = TopLevel(5);
  ASSERT_NE(window, nullptr);
  Pump();
  Drain();
  PostMessageA(window, WM_USER + 3, 0x1234, 0x5678);
  PostMessageA(window, WM_USER + 10, 1, 2);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // plain windows: no mouse
  PostMessageA(window, WM_COMMAND, 501, 0);
  PostMessageA(window, WM_TIMER, 9, 0);
  SendMessageA(window, WM_HSCROLL, SB_LINEDOWN, 0);
  Pump();
  auto records = Drain();
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_HSCROLL, WM_USER + 3, WM_COMMAND, WM_TIMER}));
  EXPECT_EQ(records[1].wParam, 0x1234u);
  EXPECT_EQ(records[1].lParam, 0x5678);
  EXPECT_EQ(records[2].wParam, 501u);

  // Close destroys the platform window without queuing; the records of a
  // window that is gone come back with id 0.
  PostMessageA(window, WM_USER, 0, 0);
  Pump();
  EXPECT_EQ(MANTLE(_CloseWindow)(window), 0);
  EXPECT_FALSE(IsWindow(window));
  records = Drain();
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_USER}));
  EXPECT_EQ(records[0].id, 0);
  EXPECT_EQ(MANTLE(_DeleteWindow)(window), 1);
}

TEST_F(Windows, PeekLooksAtTheHeadOnly) {
  auto* peek = MANTLE(_PeekMessage);
  const HWND window = TopLevel(11);
  ASSERT_NE(window, nullptr);
  Pump();
  Drain();
  PostMessageA(window, WM_USER + 1, 1, 0);
  PostMessageA(window, WM_USER + 2, 2, 0);
  Pump();
  QueuedMessage record{};
  EXPECT_EQ(peek(&record, nullptr, 0, 0, 0), 0);  // 0 is a window of its own, not "any"
  EXPECT_EQ(peek(&record, kAnyWindow, WM_USER + 2, WM_USER + 2, 0), 0);  // only the head is looked at
  for (int i = 0; i < 2; ++i) {
    record = QueuedMessage{};
    EXPECT_EQ(peek(&record, kAnyWindow, 0, 0, 0), 1);
    EXPECT_EQ(record.message, static_cast<std::uint32_t>(WM_USER + 1));
    EXPECT_EQ(record.id, 11);
  }
  EXPECT_EQ(peek(&record, window, WM_USER, WM_USER + 1, 1), 1);
  EXPECT_EQ(peek(&record, window, 0, 0, 1), 1);
  EXPECT_EQ(record.message, static_cast<std::uint32_t>(WM_USER + 2));
  EXPECT_EQ(peek(&record, kAnyWindow, 0, 0, 1), 0);

  // Enabling again discards what was queued.
  PostMessageA(window, WM_USER + 1, 1, 0);
  Pump();
  MANTLE(_EnableMantle)(1);
  EXPECT_TRUE(Drain().empty());
  MANTLE(_DeleteWindow)(window);
}

class Dialogs : public MantleClient {
 protected:
  void SetUp() override {
    MantleClient::SetUp();
    owner = MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW, nullptr, "owner", 1, 0, 0, 300, 200);
    ASSERT_NE(owner, nullptr);
    dialog = MANTLE(_CreateDialogIndirect)(kResFile, "SETTINGS", owner, 42, 1);
    ASSERT_NE(dialog, nullptr);
    Pump();
  }
  void TearDown() override {
    if (dialog) MANTLE(_DeleteWindow)(dialog);
    if (owner) MANTLE(_DeleteWindow)(owner);
    MantleClient::TearDown();
  }
  HWND owner = nullptr;
  HWND dialog = nullptr;
};

TEST_F(Dialogs, DialogFromTheFileWithItsOwnClass) {
  const std::string name = ClassOf(dialog);
  EXPECT_EQ(name.substr(0, 10), "OWLZDialog");
  EXPECT_TRUE(IsFourHexDigits(name.substr(10))) << name;
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_NE(GetWindowLongA(dialog, GWL_STYLE) & DS_3DLOOK, 0);
  EXPECT_FALSE(IsWindowEnabled(owner));
  auto records = Drain();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0].message, static_cast<std::uint32_t>(WM_INITDIALOG));
  EXPECT_EQ(records[0].id, 42);

  // OK: the button's record, then the command's; the dialog stays.
  SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Pump();
  records = About(Drain(), IDOK);
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_COMMAND, WM_COMMAND}));
  EXPECT_EQ(records[0].wParam, 1u);
  EXPECT_EQ(records[0].lParam,
            static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(GetDlgItem(dialog, IDOK))));
  EXPECT_EQ(LOWORD(records[1].wParam), 1);
  EXPECT_EQ(records[1].id, 42);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(Drain().empty());
  EXPECT_TRUE(IsWindow(dialog));

  EXPECT_EQ(MANTLE(_DeleteWindow)(dialog), 1);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  dialog = nullptr;

  // No class field, no template, no file: nothing made, nothing disabled.
  EXPECT_EQ(MANTLE(_CreateDialogIndirect)(kResFile, "PLAIN", owner, 1, 1), nullptr);
  EXPECT_EQ(MANTLE(_CreateDialogIndirect)(kResFile, "NOSUCH", owner, 1, 1), nullptr);
  EXPECT_EQ(MANTLE(_CreateDialogIndirect)("no_such.res", "SETTINGS", owner, 1, 1), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(Dialogs, ForeignParentIsEnabledAgain) {
  const HWND foreign =
      CreateWindowA("STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const HWND second = MANTLE(_CreateDialogIndirect)(kResFile, "SETTINGS", foreign, 43, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindowEnabled(foreign));
  MANTLE(_DeleteWindow)(second);
  EXPECT_TRUE(IsWindowEnabled(foreign));
  DestroyWindow(foreign);
}

TEST_F(Dialogs, ForeignListAndComboControls) {
  const HWND list = GetDlgItem(dialog, 12);
  const HWND combo = GetDlgItem(dialog, 13);
  EXPECT_EQ(MANTLE(_GetId)(list), 12);
  for (const HWND control : {list, combo}) {
    EXPECT_EQ(MANTLE(_AddString)(control, "zero"), 0);
    EXPECT_EQ(MANTLE(_AddString)(control, "one"), 1);
    EXPECT_EQ(MANTLE(_InsertString)(control, "a much longer item", 2), 2);
    EXPECT_EQ(MANTLE(_GetCount)(control), 3);
    char text[64] = "";
    EXPECT_EQ(MANTLE(_GetSelString)(control, text, 64), -1);  // nothing selected
    EXPECT_EQ(MANTLE(_SetSelIndex)(control, 2), 2);
    EXPECT_EQ(MANTLE(_GetSelIndex)(control), 2);
    EXPECT_EQ(MANTLE(_GetSelString)(control, text, 64), 18);
    EXPECT_STREQ(text, "a much longer item");
    // Never past the caller's count.
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(MANTLE(_GetSelString)(control, text, 5), 4);
    EXPECT_STREQ(text, "a mu");
    EXPECT_EQ(text[6], 'x');
    EXPECT_EQ(MANTLE(_GetStringLen)(control, 1), 3);
    EXPECT_EQ(MANTLE(_GetString)(control, text, 1), 3);
    EXPECT_STREQ(text, "one");
    EXPECT_EQ(MANTLE(_SetSelString)(control, "on", -1), 1);
    EXPECT_EQ(MANTLE(_DeleteString)(control, 0), 2);
    MANTLE(_ClearList)(control);
    EXPECT_EQ(MANTLE(_GetCount)(control), 0);
  }
  // A multiple-selection list is not asked.
  SetWindowLongA(list, GWL_STYLE, GetWindowLongA(list, GWL_STYLE) | LBS_MULTIPLESEL);
  EXPECT_EQ(MANTLE(_GetSelIndex)(list), -1);
  EXPECT_EQ(MANTLE(_SetSelIndex)(list, 0), -1);

  MANTLE(_ShowList)(combo);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  MANTLE(_HideList)(combo);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(Dialogs, EditAndStaticTexts) {
  const HWND edit = GetDlgItem(dialog, 11);
  const HWND label = GetDlgItem(dialog, 10);
  MANTLE(_SetEditText)(edit, "70000");
  int translated = 0;
  EXPECT_EQ(MANTLE(_GetEditInt)(edit, &translated, 0), 4464);
  EXPECT_EQ(translated, 1);
  MANTLE(_SetEditInt)(edit, -5, 1);
  EXPECT_EQ(MANTLE(_GetEditInt)(edit, nullptr, 1), 65531);
  char buffer[512];
  EXPECT_EQ(MANTLE(_GetEditText)(edit, buffer), 2);
  EXPECT_STREQ(buffer, "-5");

  EXPECT_NE(MANTLE(_SetStaticText)(label, "abcdefghijklmnopqrstuvwxyz0123"), 0);
  std::memset(buffer, 'x', 32);
  EXPECT_EQ(MANTLE(_GetStaticText)(label, buffer, 0x10000 + 10), 9);
  EXPECT_STREQ(buffer, "abcdefghi");
  EXPECT_EQ(buffer[10], 'x');
}

TEST_F(Dialogs, AccessorsOnHandleZero) {
  char buffer[512] = "";
  EXPECT_EQ(MANTLE(_GetId)(nullptr), 0);
  EXPECT_EQ(MANTLE(_GetStaticText)(nullptr, buffer, 10), 0);
  EXPECT_EQ(MANTLE(_GetCheck)(nullptr), 0);
  EXPECT_EQ(MANTLE(_AddString)(nullptr, "x"), -1);
  EXPECT_EQ(MANTLE(_InsertString)(nullptr, "x", 0), 0);
  EXPECT_EQ(MANTLE(_DeleteString)(nullptr, 0), -1);
  EXPECT_EQ(MANTLE(_GetCount)(nullptr), -1);
  EXPECT_EQ(MANTLE(_GetString)(nullptr, buffer, 0), 0);
  EXPECT_EQ(MANTLE(_GetSelIndex)(nullptr), -1);
  EXPECT_EQ(MANTLE(_GetSelString)(nullptr, buffer, 10), -1);
  EXPECT_EQ(MANTLE(_SetSelIndex)(nullptr, 0), -1);
  EXPECT_EQ(MANTLE(_SetSelString)(nullptr, "x", 0), -1);
  EXPECT_EQ(MANTLE(_GetEditText)(nullptr, buffer), 0);
  EXPECT_EQ(MANTLE(_GetEditInt)(nullptr, nullptr, 0), 0);
}

TEST_F(Dialogs, LibraryControlsInWindowsAndDialogs) {
  const HWND foreign =
      CreateWindowA("STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(MANTLE(_CreateButton)(foreign, 1, "no", 0, 0, 10, 10, 0), nullptr);
  EXPECT_EQ(MANTLE(_CreateListBox)(nullptr, 1, 0, 0, 10, 10), nullptr);
  DestroyWindow(foreign);

  const HWND list = MANTLE(_CreateListBox)(owner, 20, 0, 0, 100, 80);
  const HWND combo = MANTLE(_CreateComboBox)(owner, 21, 110, 0, 100, 80, CBS_DROPDOWNLIST, 10);
  const HWND group = MANTLE(_CreateGroupBox)(owner, 22, "Group", 0, 90, 200, 60);
  const HWND check = MANTLE(_CreateCheckBox)(owner, 23, "Check", 5, 100, 80, 16, group);
  const HWND radio = MANTLE(_CreateRadioButton)(owner, 24, "Radio", 90, 100, 80, 16, group);
  const HWND edit = MANTLE(_CreateEdit)(owner, 25, "12", 0, 160, 80, 20, 5, 1);
  const HWND label = MANTLE(_CreateStatic)(owner, 26, "label", 90, 160, 80, 20, 0);
  for (const HWND control : {list, combo, group, check, radio, edit, label}) ASSERT_NE(control, nullptr);
  // The platform drops the bits of scroll bars not shown and turns an edit's
  // border into an edge.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)) & 0x00800003u, 0x00800003u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(combo, GWL_STYLE)) & 0x50030143u, 0x50030143u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(check, GWL_STYLE)) & 0xFFFF00FFu, 0x50010003u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(radio, GWL_STYLE)) & 0xFFFF00FFu, 0x50000009u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) & 0x000100C4u, 0x000100C4u);
  EXPECT_EQ(MANTLE(_GetId)(edit), 25);
  EXPECT_EQ(MANTLE(_ChildWithId)(owner, 23), check);

  EXPECT_EQ(MANTLE(_AddString)(list, "b"), 0);
  EXPECT_EQ(MANTLE(_AddString)(list, "a"), 0);  // sorted
  EXPECT_EQ(MANTLE(_AddString)(combo, "x"), 0);
  EXPECT_EQ(MANTLE(_SetSelIndex)(combo, 0), 0);
  char text[16] = "";
  EXPECT_EQ(MANTLE(_GetSelString)(combo, text, 16), 1);
  MANTLE(_SetCheck)(check, 1);
  EXPECT_EQ(MANTLE(_GetCheck)(check), 1);
  MANTLE(_SetRadio)(radio, 1);
  EXPECT_EQ(MANTLE(_GetRadio)(radio), 1);
  EXPECT_EQ(MANTLE(_GetEditInt)(edit, nullptr, 0), 12);

  // A control of a dialog tells the dialog's client.
  const HWND button = MANTLE(_CreateButton)(dialog, 30, "Go", 5, 5, 40, 14, 1);
  ASSERT_NE(button, nullptr);
  Drain();
  SendMessageA(button, BM_CLICK, 0, 0);
  Pump();
  const auto records = About(Drain(), 30);
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_COMMAND}));
  EXPECT_EQ(LOWORD(records[0].wParam), 30);
  EXPECT_EQ(records[0].id, 42);
  EXPECT_EQ(MANTLE(_DeleteWindow)(button), 1);
  EXPECT_FALSE(IsWindow(button));
}

}  // namespace
