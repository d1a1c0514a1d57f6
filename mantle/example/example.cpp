// A small client of mantle.dll: a window with a menu and a few controls, a
// graphics window, and a dialog from example.res; it pumps its messages and
// drains the library's queue, reacting to the events by window id.
//   mantle_example.exe [/quit]   (/quit: leave after the first round)
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "mantle/mantle.h"

namespace {

HMODULE module = nullptr;

template <class Function>
Function* Entry(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
#define MANTLE(name) Entry<decltype(name)>(#name)

constexpr int kMainId = 1, kGraphId = 2, kDialogId = 3;
constexpr int kAsk = 101, kExit = 102, kList = 201, kAdd = 202, kName = 203;

}  // namespace

int main(int argc, char** argv) {
  const bool quit_at_once = argc > 1 && std::strcmp(argv[1], "/quit") == 0;
  module = LoadLibraryA("mantle.dll");
  if (module == nullptr) {
    std::printf("mantle.dll not found\n");
    return 1;
  }
  MANTLE(_EnableMantle)(1);

  const HWND main = MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "mantle example",
                                          kMainId, 40, 40, 360, 260);
  MANTLE(_AssignMenu)(main, MANTLE(_CreateMenuIndirect)("example.res", "EXAMPLE"));
  const HWND list = MANTLE(_CreateListBox)(main, kList, 10, 10, 150, 150);
  MANTLE(_CreateEdit)(main, kName, "transputer", 170, 10, 150, 22, 64, 0);
  MANTLE(_CreateButton)(main, kAdd, "&Add", 170, 40, 80, 26, 1);
  MANTLE(_AddString)(list, "T800");
  MANTLE(_AddString)(list, "T425");

  const HWND graph = MANTLE(_CreateGraphWindow)("drawing", kGraphId,
                                                WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0,
                                                0, 240, 200, 400, 300, nullptr);
  const HDC dc = MANTLE(_GetDC)(graph);
  MANTLE(_Ellipse)(dc, 20, 20, 380, 280);
  MANTLE(_TextOut)(dc, 150, 140, "mantle", 6);

  HWND dialog = MANTLE(_CreateDialogIndirect)("example.res", "NOTE", main, kDialogId, 0);
  if (dialog != nullptr) MANTLE(_AddString)(GetDlgItem(dialog, 12), "B004");

  const bool made = main != nullptr && graph != nullptr && dialog != nullptr;
  bool running = made;
  MSG msg;
  while (running && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    QueuedMessage event;
    int id;
    while ((id = MANTLE(_RetrieveMessage)(&event)) != 0) {
      if (id == kMainId && event.message == WM_COMMAND) {
        const int command = LOWORD(event.wParam);
        if (command == kExit) running = false;
        if (command == kAdd) {
          char name[512];
          MANTLE(_GetEditText)(MANTLE(_ChildWithId)(main, kName), name);
          MANTLE(_AddString)(list, name);
        }
        if (command == kAsk) {
          char text[64] = "";
          if (MANTLE(_ExecInputDialog)(main, "Ask", "Your name:", text, sizeof text) == IDOK) {
            MANTLE(_SetWindowText)(main, text);
          }
        }
      } else if (id == kGraphId && event.message == WM_LBUTTONDOWN) {
        const int x = static_cast<short>(LOWORD(event.lParam)), y = static_cast<short>(HIWORD(event.lParam));
        MANTLE(_Rectangle)(dc, x - 3, y - 3, x + 3, y + 3);
      } else if (id == kDialogId && event.message == WM_COMMAND &&
                 (event.wParam == IDOK || event.wParam == IDCANCEL)) {
        MANTLE(_DeleteWindow)(dialog);  // the library never closes it by itself
        dialog = nullptr;
      }
    }
    if (!IsWindow(main)) running = false;  // closed from its system menu
    if (quit_at_once && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) running = false;
  }

  if (dialog != nullptr) MANTLE(_DeleteWindow)(dialog);
  MANTLE(_ReleaseDC)(graph, dc);
  MANTLE(_DeleteWindow)(graph);
  MANTLE(_DeleteWindow)(main);
  MANTLE(_EnableMantle)(0);
  FreeLibrary(module);
  if (!made) std::printf("could not make the windows (is example.res beside the program?)\n");
  return made ? 0 : 1;
}
