// tessel.exe: the application object, the start-up with its splash screen,
// the main window's construction, and the program entry.
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "framework/application.h"
#include "framework/gadget_window_font.h"
#include "framework/mdi_client.h"
#include "framework/separator_gadget.h"
#include "server/main_window.h"
#include "server/resources/resource_ids.h"
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
      : TApplication("TESSEL"), ToolTip(new TToolTip(new TToolTipFont)), State(state), Argc(argc), Args(args) {}
  // The bars refer to the tooltip: their windows go first.
  ~TTessel() override { SetMainWindow(nullptr); }

  void InitMainWindow() override {
    const bool nt_family = IsNtFamily();
    if (SplashWanted()) {
      ShowSplash(GetInstance(), nt_family);
    } else {
      SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }

    auto* client = new TMDIClient;
    client->SetBkgndColor(RGB(255, 255, 255));
    auto* frame = new TMainWindow(*client, State, Argc, Args);
    frame->SetIcon(GetInstance(), "TESSEL");

    auto* bar = new TTipControlBar(*ToolTip, frame, TGadgetWindow::Horizontal, new TGadgetWindowFont(10));
    frame->ControlBar = bar;
    auto button = [bar](const char* glyph, int id) {
      auto* gadget = new TButtonGadget(glyph, id, TButtonGadget::Command, false, TButtonGadget::Up, false);
      bar->Insert(*gadget);
      return gadget;
    };
    frame->RunButton = button("RUN", CM_RUN);
    bar->Insert(*new TSeparatorGadget(12));
    button("RESET", CM_RESET);
    frame->TerminateButton = button("TERMINATE", CM_TERMINATE);
    frame->SuspendButton = button("SUSPEND", CM_SUSPEND);
    frame->ContinueButton = button("CONTINUE", CM_CONTINUE);
    bar->Insert(*new TSeparatorGadget(12));
    frame->SetupButton = button("SETUP", CM_SETUP);
    bar->Insert(*new TSeparatorGadget(10));
    button("QUIT", CM_EXIT);
    button("ABOUT", CM_ABOUT);
    bar->SetHintMode(TGadgetWindow::EnterHints);
    frame->Insert(*bar, TFrameWindow::Top);

    auto* status = new TTipStatusBar(*ToolTip, frame, TGadget::Recessed, 0, new TGadgetWindowFont(8));
    frame->StatusBar = status;
    frame->BootGadget = status->GetMessageGadget();
    frame->FreeGadget = new TTextGadget(0, TGadget::Recessed, TTextGadget::Center, 10);
    frame->ClockGadget = new TTextGadget(0, TGadget::Recessed, TTextGadget::Center, 10);
    status->Insert(*new TSeparatorGadget(12));
    status->Insert(*frame->FreeGadget);
    status->Insert(*new TSeparatorGadget(12));
    status->Insert(*frame->ClockGadget);
    frame->Insert(*status, TFrameWindow::Bottom);

    SetMainWindow(frame);
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
