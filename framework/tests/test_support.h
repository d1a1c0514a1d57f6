// Helpers shared by the framework's Wine tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"

// Dispatches whatever is queued for this thread.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Shown without activation: under Wine without a window manager, destroying
// an active top-level window waits 2 s.
inline void ShowInactive(TWindow& w) {
  ::ShowWindow(w.HWindow, SW_SHOWNA);
}

// A visible top-level window to put things in.
class TTopWindow : public TWindow {
 public:
  bool Create() override {
    if (!TWindow::Create()) return false;
    ShowInactive(*this);
    return true;
  }
  explicit TTopWindow(const char* title = "Top") : TWindow(static_cast<TWindow*>(nullptr), title) {
    Attr.Style = WS_POPUP | WS_BORDER;
    Attr.X = Attr.Y = 10;
    Attr.W = 400;
    Attr.H = 300;
  }
};

inline std::string ClassNameOf(HWND hwnd) {
  char name[64] = "";
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}
