// Graphics windows, drawing, pixel batches, the common dialogs and the
// wrappers, from an outside client under Wine.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "mantle/tests/mantle_client.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class Graphics : public MantleClient {
 protected:
  HWND Make(int width, int height, int id = 9) {
    const HWND window =
        MANTLE(_CreateGraphWindow)("graphics", id, WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 100, 100,
                                   width, height, 640, 480, nullptr);
    if (window != nullptr) {
      ShowWindow(window, SW_SHOWNA);
      UpdateWindow(window);
      Pump();
    }
    return window;
  }
  // The window's screen pixel at a client position.
  static COLORREF Screen(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
  }
  static void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
  }
  static SIZE Client(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
  }
  static int Range(HWND window, int bar) {
    int low = 0, high = 0;
    GetScrollRange(window, bar, &low, &high);
    return high;
  }
};

TEST_F(Graphics, ScrollRangesFollowBitmapAndClientSizes) {
  const HWND window = Make(200, 150);
  ASSERT_NE(window, nullptr) << GetLastError();
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);  // whatever x and y were
  EXPECT_EQ(rect.top, 0);
  char name[32] = "";
  GetClassNameA(window, name, 32);
  EXPECT_EQ(std::string(name).substr(0, 10), "OWLZGraph:");
  EXPECT_EQ(Range(window, SB_HORZ), 640 - Client(window).cx);
  EXPECT_EQ(Range(window, SB_VERT), 480 - Client(window).cy);

  MoveWindow(window, 0, 0, 300, 250, TRUE);
  Pump();
  EXPECT_EQ(Range(window, SB_HORZ), 640 - Client(window).cx);
  EXPECT_EQ(Range(window, SB_VERT), 480 - Client(window).cy);
  MANTLE(_DeleteWindow)(window);

  const HWND large = Make(900, 700);
  ASSERT_NE(large, nullptr);
  POINT pos{-1, -1};
  EXPECT_EQ(MANTLE(_GetWindowScrollerPos)(large, &pos), 1);
  EXPECT_EQ(pos.x, 0);
  EXPECT_EQ(pos.y, 0);
  SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
  GetScrollInfo(large, SB_HORZ, &info);
  EXPECT_EQ(info.nMax, 0);
  MANTLE(_DeleteWindow)(large);
}

TEST_F(Graphics, DrawingThroughTheLibraryContextSurvivesRepaintAtScrolledPositions) {
  const HWND window = Make(200, 150);
  ASSERT_NE(window, nullptr);
  Drain();
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
  Pump();
  POINT pos{};
  ASSERT_EQ(MANTLE(_GetWindowScrollerPos)(window, &pos), 1);
  EXPECT_EQ(pos.x, 30);
  EXPECT_EQ(pos.y, 0);
  const auto records = Drain();
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_HSCROLL}));
  EXPECT_EQ(records[0].id, 9);

  const HDC dc = MANTLE(_GetDC)(window);
  ASSERT_NE(dc, nullptr);
  MANTLE(_SetPixel)(dc, 30, 0, kRed);  // bitmap (30, 0): the leftmost visible pixel
  EXPECT_EQ(Screen(window, 0, 0), kRed);
  EXPECT_EQ(MANTLE(_GetPixel)(dc, 0, 0), kRed);  // read untranslated
  const HPEN pen = MANTLE(_CreatePen)(PS_SOLID, 1, kBlue);
  MANTLE(_SelectObject)(dc, pen);
  MANTLE(_MoveTo)(dc, 40, 20);
  MANTLE(_LineTo)(dc, 80, 20);
  POINT at{};
  MANTLE(_GetCurrentPosition)(dc, &at);
  EXPECT_EQ(at.x, 80);

  // The platform's own context draws on the screen only.
  const HDC plain = GetDC(window);
  SetPixel(plain, 5, 40, kRed);
  ReleaseDC(window, plain);
  EXPECT_EQ(Screen(window, 5, 40), kRed);

  Repaint(window);
  EXPECT_EQ(Screen(window, 0, 0), kRed);
  EXPECT_EQ(Screen(window, 20, 20), kBlue);  // bitmap (50, 20)
  EXPECT_EQ(Screen(window, 5, 40), kWhite);

  // Scrolled back, the bitmap shows at its own coordinates.
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  Repaint(window);
  EXPECT_EQ(Screen(window, 30, 0), kRed);
  EXPECT_EQ(Screen(window, 50, 20), kBlue);

  EXPECT_EQ(MANTLE(_GetDC)(nullptr), nullptr);
  EXPECT_EQ(MANTLE(_ReleaseDC)(window, nullptr), 0);
  EXPECT_EQ(MANTLE(_ReleaseDC)(window, dc), 1);
  MANTLE(_DeleteObject)(pen);
  MANTLE(_DeleteWindow)(window);
}

TEST_F(Graphics, PixelBatchesCopyTheArrayAndRunOneAtATime) {
  auto* set_pixels = Call<decltype(_SetPixels)>(MANTLE_SET_PIXELS_EXPORT);
  const HWND window = Make(660, 520);
  ASSERT_NE(window, nullptr);
  const HDC dc = MANTLE(_GetDC)(window);
  ASSERT_NE(dc, nullptr);
  set_pixels(dc, 0, nullptr);  // nothing to draw, and it still completes

  std::vector<tagBPixel> pixels;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 640; ++x) pixels.push_back({x, y, kRed});
  set_pixels(dc, static_cast<unsigned short>(pixels.size()), pixels.data());
  for (auto& p : pixels) p.color = kBlue;  // reused at once
  set_pixels(dc, 0, nullptr);              // returns once the first batch is drawn
  EXPECT_EQ(Screen(window, 639, 99), kRed);
  EXPECT_EQ(Screen(window, 0, 0), kRed);
  EXPECT_EQ(Screen(window, 0, 100), kWhite);
  Repaint(window);
  EXPECT_EQ(Screen(window, 639, 99), kRed);  // in the bitmap too

  // Many batches leave no thread handles behind.
  DWORD before = 0, after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &before);
  for (int i = 0; i < 50; ++i) set_pixels(dc, 1, pixels.data());
  MANTLE(_SetPixel)(dc, 1, 1, kBlue);  // waits for the last batch
  GetProcessHandleCount(GetCurrentProcess(), &after);
  EXPECT_LE(after, before + 1);
  MANTLE(_ReleaseDC)(window, dc);
  MANTLE(_DeleteWindow)(window);
}

TEST_F(Graphics, UnloadingDuringABatchWaitsForTheWorker) {
  auto* set_pixels = Call<decltype(_SetPixels)>(MANTLE_SET_PIXELS_EXPORT);
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 640, 480);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  std::vector<tagBPixel> pixels;
  for (int i = 0; i < 65535; ++i) pixels.push_back({i % 640, i / 640, kBlue});
  MANTLE(_EnableMantle)(0);
  set_pixels(memory, 65535, pixels.data());
  FreeLibrary(module);  // the client's last reference, while the worker draws
  module = nullptr;
  for (int i = 0; i < 500 && GetModuleHandleA("mantle.dll") != nullptr; ++i) Sleep(10);
  EXPECT_EQ(GetModuleHandleA("mantle.dll"), nullptr);
  EXPECT_EQ(GetPixel(memory, 639, 101), kBlue);  // the batch's last full row
  EXPECT_EQ(GetPixel(memory, 254, 102), kBlue);  // and its last pixel
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  module = LoadLibraryA("mantle.dll");
  ASSERT_NE(module, nullptr);
}

TEST_F(Graphics, MouseEventsOfGraphicsWindowsOnly) {
  const HWND graphics = Make(200, 150, 12);
  const HWND plain = MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW, nullptr, "plain", 13, 0, 0, 100, 100);
  ASSERT_NE(graphics, nullptr);
  ASSERT_NE(plain, nullptr);
  Drain();
  for (const HWND window : {plain, graphics}) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));  // not queued
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  }
  Pump();
  const auto records = Drain();
  ASSERT_EQ(Messages(records), (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
  EXPECT_EQ(records[0].id, 12);
  EXPECT_EQ(records[0].lParam, MAKELPARAM(3, 4));
  MANTLE(_DeleteWindow)(plain);
  MANTLE(_DeleteWindow)(graphics);
}

using Wrappers = MantleClient;

TEST_F(Wrappers, FilesRoundTrip) {
  const char* path = "mantle_wrapper_test.bin";
  const HANDLE file =
      MANTLE(_CreateFile)(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const char text[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  DWORD done = 0;
  EXPECT_NE(MANTLE(_WriteFile)(file, text, 36, &done), 0);
  EXPECT_EQ(done, 36u);
  EXPECT_EQ(MANTLE(_GetFileSize)(file, nullptr), 36u);
  EXPECT_EQ(MANTLE(_SetFilePointer)(file, -10, FILE_END), 26u);
  char back[16] = "";
  EXPECT_NE(MANTLE(_ReadFile)(file, back, 10, &done), 0);
  EXPECT_EQ(std::string(back, done), "qrstuvwxyz");
  EXPECT_NE(MANTLE(_CloseFile)(file), 0);
  EXPECT_EQ(MANTLE(_CreateFile)("no/such/dir/file", GENERIC_READ, 0, OPEN_EXISTING, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(MANTLE(_GetLastError)(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  DeleteFileA(path);

  const HGLOBAL block = MANTLE(_GlobalAlloc)(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_GE(MANTLE(_GlobalSize)(block), 100u);
  auto* bytes = static_cast<char*>(MANTLE(_GlobalLock)(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[99], 0);
  MANTLE(_GlobalUnlock)(block);
  EXPECT_EQ(MANTLE(_GlobalFree)(block), nullptr);
}

TEST_F(Wrappers, DialogsWithoutAnOwnerOrKindGiveTwo) {
  char buffer[260] = "*.txt";
  EXPECT_EQ(MANTLE(_ExecFileDialog)(nullptr, 0, buffer), 2);
  EXPECT_STREQ(buffer, "*.txt");
  char text[16] = "keep";
  EXPECT_EQ(MANTLE(_ExecInputDialog)(nullptr, "Title", "Prompt", text, 16), 2);
  const HWND foreign =
      CreateWindowA("STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(MANTLE(_ExecInputDialog)(foreign, "Title", "Prompt", text, 16), 2);
  DestroyWindow(foreign);
  EXPECT_STREQ(text, "keep");
}

// Answers the next file or input dialog of this thread from a timer: notes
// what it shows, types a text and presses OK.
struct DialogAnswer {
  explicit DialogAnswer(std::string text) : type(std::move(text)) {}
  std::string type;     // typed into the file name or edit field
  std::string filter;   // the first filter entry shown
  std::string initial;  // the file name field on arrival
  bool answered = false;
};
DialogAnswer* answer = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char name[16] = "";
  GetClassNameA(window, name, 16);
  if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr || answer == nullptr || answer->answered) return;
  KillTimer(nullptr, timer);
  answer->answered = true;
  char text[MAX_PATH] = "";
  if (HWND filter = GetDlgItem(dialog, 0x470)) {  // the file dialog's type list
    SendMessageA(filter, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    answer->filter = text;
  }
  HWND field = GetDlgItem(dialog, 0x47C);  // file name
  if (field == nullptr) field = GetDlgItem(dialog, 0x480);
  if (field == nullptr) field = GetDlgItem(dialog, 102);  // the input dialog's edit
  if (field != nullptr) {
    GetWindowTextA(field, text, MAX_PATH);
    answer->initial = text;
    SetWindowTextA(field, answer->type.c_str());
  }
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

int Answered(DialogAnswer& a) {
  answer = &a;
  return static_cast<int>(SetTimer(nullptr, 0, 200, &AnswerDialog));
}

TEST_F(Wrappers, FileDialogKeepsTheFirstFilterAndTheLastPath) {
  const HWND owner = MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW, nullptr, "owner", 1, 0, 0, 100, 100);
  // The file dialog moves the current directory to the chosen file's.
  char cwd[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, cwd);
  CreateDirectoryA("mantle_dialog_dir", nullptr);
  const HANDLE made =
      CreateFileA("mantle_dialog_dir\\chosen.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(made);
  char full[MAX_PATH] = "";
  GetFullPathNameA("mantle_dialog_dir\\chosen.txt", MAX_PATH, full, nullptr);

  DialogAnswer first{full};
  Answered(first);
  char pattern[260] = "*.txt";
  EXPECT_EQ(MANTLE(_ExecFileDialog)(owner, MANTLE_FILE_OPEN, pattern), 1);
  EXPECT_STREQ(pattern, "chosen.txt");
  EXPECT_EQ(first.filter, "User Files(*.txt)");

  DialogAnswer second{full};
  Answered(second);
  std::strcpy(pattern, "*.cpp");
  EXPECT_EQ(MANTLE(_ExecFileDialog)(owner, MANTLE_FILE_OPEN, pattern), 1);
  EXPECT_EQ(second.filter, "User Files(*.txt)");
  EXPECT_NE(second.initial.find("chosen.txt"), std::string::npos) << second.initial;

  // The input dialog writes back what was typed.
  DialogAnswer typed{"typed text"};
  Answered(typed);
  char text[8] = "start";
  EXPECT_EQ(MANTLE(_ExecInputDialog)(owner, "Title", "Prompt", text, 0x10000 + 8), 1);
  EXPECT_EQ(typed.initial, "start");
  EXPECT_STREQ(text, "typed t");

  answer = nullptr;
  SetCurrentDirectoryA(cwd);
  DeleteFileA(full);
  RemoveDirectoryA("mantle_dialog_dir");
  MANTLE(_DeleteWindow)(owner);
}

}  // namespace
