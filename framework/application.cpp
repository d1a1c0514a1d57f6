#include "framework/application.h"

#include "framework/frame_window.h"

namespace {
TApplication* CurrentApplication = nullptr;
}

TApplication::TApplication(const char* name, HINSTANCE instance)
    : Name(name ? name : ""),
      Instance(instance ? instance : GetModuleHandleA(nullptr)),
      Previous(CurrentApplication) {
  CurrentApplication = this;
}

TApplication::~TApplication() {
  DeleteMainWindow();
  if (CurrentApplication == this) CurrentApplication = Previous;
}

TApplication* TApplication::Current() {
  return CurrentApplication;
}

void TApplication::ReplaceMainWindow(std::unique_ptr<TFrameWindow> window) {
  // The old one is forgotten first, so that its destruction posts no quit message.
  std::unique_ptr<TFrameWindow> old = std::move(MainWindow);
  old.reset();
  MainWindow = std::move(window);
}

void TApplication::DeleteMainWindow() {
  ReplaceMainWindow(nullptr);
}

bool TApplication::IsMainWindow(const TWindow& window) const {
  return MainWindow && MainWindow.get() == &window;
}

int TApplication::Run(int cmdShow) {
  if (!MainWindow) InitMainWindow();
  if (!MainWindow || !MainWindow->Create()) return -1;
  // The set-up step may have shown the window its own way (minimized, say).
  if (!MainWindow->IsWindowVisible()) MainWindow->ShowWindow(cmdShow);
  MainWindow->UpdateWindow();
  return MessageLoop();
}

int TApplication::MessageLoop() {
  long idleCount = 0;
  MSG msg;
  for (;;) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      if (!ProcessAppMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      idleCount = 0;
    }
    // The queue is empty: idle work (command enabling of gadgets) until it
    // asks for no more, then wait for the next message.
    if (!IdleAction(idleCount++)) WaitMessage();
  }
}

bool TApplication::IdleAction(long idleCount) {
  if (MainWindow && MainWindow->HWindow) MainWindow->IdleAction(idleCount);
  return false;
}

bool TApplication::ProcessAppMsg(MSG& msg) {
  return MainWindow && MainWindow->HWindow && MainWindow->PreProcessMsg(msg);
}
