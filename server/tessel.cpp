// tessel.exe: the application object, the start-up with its splash screen,
// and the program entry.
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "framework/application.h"
#include "server/main_window.h"
#include "server/shell/fault_guard_win32.h"
#include "server/shell/module_loader_win32.h"
#include "server/shell/system_info_win32.h"
#include "server/toolbars/tool_tip.h"

namespace {

constexpr DWORD kSplashMilliseconds = 3000;

// TESSEL_NO_SPLASH=1 leaves the splash out (tests and scripted runs).
bool SplashWanted() {
  const char* value = std::getenv("TESSEL_NO_SPLASH");
  return !(value && value[0] == '1');
}

bool IsNtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  // Assume NT when the version cannot be read: then the priority is not raised.
  return !GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The picture "TS8" centred on the screen for three seconds.
void ShowSplash(HINSTANCE instance, bool nt_family) {
  HDC screen = GetDC(nullptr);
  HBITMAP picture = LoadBitmapA(instance, "TS8");
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = picture ? SelectObject(memory, picture) : nullptr;
  BITMAP info{};
  if (picture) GetObjectA(picture, sizeof info, &info);
  const int left = (GetDeviceCaps(screen, HORZRES) - info.bmWidth) / 2;
  const int top = (GetDeviceCaps(screen, VERTRES) - info.bmHeight) / 2;
  const RECT area{left, top, left + info.bmWidth, top + info.bmHeight};
  // On the Windows 95 family nothing else may draw over the picture meanwhile.
  if (!nt_family) SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
  if (picture) BitBlt(screen, left, top, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  Sleep(kSplashMilliseconds);
  if (previous) SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (picture) DeleteObject(picture);
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  // The windows below repaint over the picture.
  InvalidateRect(nullptr, &area, TRUE);
}

class TTessel : public TApplication {
 public:
  TTessel(server::ServerState& state, int argc, const char* const* args)
      : TApplication("TESSEL"),
        ToolTip(std::make_unique<TToolTip>(std::make_unique<TToolTipFont>())),
        State(state),
        Argc(argc),
        Args(args) {}
  // The bars refer to the tooltip: their windows go first.
  ~TTessel() override { DeleteMainWindow(); }

  // The splash, then the main window (built, not yet created).
  void InitMainWindow() override {
    const bool nt_family = IsNtFamily();
    if (SplashWanted()) {
      ShowSplash(GetInstance(), nt_family);
    } else {
      SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }
    SetMainWindow(std::make_unique<TMainWindow>(*ToolTip, State, Argc, Args));
  }

 private:
  std::unique_ptr<TToolTip> ToolTip;
  server::ServerState& State;
  int Argc;
  const char* const* Args;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow) {
  server::Win32ModuleLoader loader;
  server::VectoredFaultGuard guard;
  server::Win32SystemInfo system;
  server::ServerState state(loader, guard, system);
  const int argc = __argc > 1 ? __argc - 1 : 0;
  const char* const* args = __argc > 1 ? __argv + 1 : nullptr;
  TTessel app(state, argc, args);
  return app.Run(cmdShow);
}
