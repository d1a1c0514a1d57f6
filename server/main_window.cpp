#include "server/main_window.h"

#include <cstdlib>

#include "framework/gadget_window_font.h"
#include "framework/mdi_client.h"
#include "framework/separator_gadget.h"
#include "server/console/console_services_win32.h"
#include "server/console/stdio_window.h"
#include "server/resources/resource_ids.h"
#include "server/shell/commands.h"
#include "server/shell/fault_guard_win32.h"

namespace {

// The status bar's clock, ticking once a second.
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMilliseconds = 1000;

// A fault while the program is leaving (board reset, library release) ends
// the process quietly with exit code 0: nothing is left worth reporting to.
LONG CALLBACK ExitOnFault(EXCEPTION_POINTERS* info) {
  if (!server::IsGuardedFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  ExitProcess(0);
}

// Shows a window that was never shown minimized, without activating it, and
// gives it a normal place to come back to when restored: where it was
// created, or else three quarters of the work area, centred.
void ShowMinimizedFirst(HWND window) {
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  GetWindowPlacement(window, &place);
  RECT created;
  GetWindowRect(window, &created);
  RECT inside;
  const bool usable = created.right - created.left >= 200 && created.bottom - created.top >= 150 &&
                      IntersectRect(&inside, &created, &work) && EqualRect(&inside, &created);
  if (usable) {
    place.rcNormalPosition = created;
  } else {
    const int width = (work.right - work.left) * 3 / 4, height = (work.bottom - work.top) * 3 / 4;
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    place.rcNormalPosition = RECT{left, top, left + width, top + height};
  }
  place.showCmd = SW_SHOWMINNOACTIVE;
  SetWindowPlacement(window, &place);
}

// The menu and its group counts: File 1, Edit 0, Container 0, Object 2, Window 1, Help 1.
TMenuDescr ServerMenuDescr() { return TMenuDescr("TESSEL", 1, 0, 0, 2, 1, 1); }

std::unique_ptr<TMDIClient> WhiteClient() {
  auto client = std::make_unique<TMDIClient>();
  client->SetBkgndColor(RGB(255, 255, 255));
  return client;
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TMainWindow, TDecoratedMDIFrame)
  EV_COMMAND(CM_RUN, CmRun),
  EV_COMMAND(CM_EXIT, CmExit),
  EV_COMMAND(CM_RESET, CmReset),
  EV_COMMAND(CM_TERMINATE, CmTerminate),
  EV_COMMAND(CM_SUSPEND, CmSuspend),
  EV_COMMAND(CM_CONTINUE, CmContinue),
  EV_COMMAND(CM_SETUP, CmSetup),
  EV_COMMAND(CM_PROTOCOLS, CmProtocols),
  EV_COMMAND(CM_BOARDS, CmBoards),
  EV_COMMAND(CM_RUNTIME, CmRunTime),
  EV_COMMAND(CM_ABOUT, CmAbout),
  EV_WM_CLOSE(EvClose),
  EV_WM_TIMER(EvTimer),
END_RESPONSE_TABLE;

TMainWindow::TMainWindow(TToolTip& tip, server::ServerState& state, int argc, const char* const* args)
    : TDecoratedMDIFrame("Server", TResId(), WhiteClient(), true),
      State(state),
      Run(state.config, state.binding, state.task, *this, state.system, state.guard),
      Setup{state.config, nullptr, [this](HWND dialog) { Rebind(dialog); }} {
  SetMenuDescr(ServerMenuDescr());  // loaded once, when the frame is made
  SetIcon(GetInstance(), "TESSEL");
  BuildBars(tip);
  Run.SetCommandLine(argc, args);
  Setup.parameters = Run.parameters();
}

void TMainWindow::BuildBars(TToolTip& tip) {
  ControlBar = &Insert(std::make_unique<TTipControlBar>(tip, this, TGadgetWindow::Horizontal,
                                                        std::make_unique<TGadgetWindowFont>(10)),
                       Top);
  auto button = [this](const char* glyph, int id) {
    return &ControlBar->Insert(
        std::make_unique<TButtonGadget>(glyph, id, TButtonGadget::Command, false, TButtonGadget::Up, false));
  };
  auto separator = [](TGadgetWindow& bar, int size) { bar.Insert(std::make_unique<TSeparatorGadget>(size)); };
  RunButton = button("RUN", CM_RUN);
  separator(*ControlBar, 12);
  button("RESET", CM_RESET);
  TerminateButton = button("TERMINATE", CM_TERMINATE);
  SuspendButton = button("SUSPEND", CM_SUSPEND);
  ContinueButton = button("CONTINUE", CM_CONTINUE);
  separator(*ControlBar, 12);
  SetupButton = button("SETUP", CM_SETUP);
  separator(*ControlBar, 10);
  button("QUIT", CM_EXIT);
  button("ABOUT", CM_ABOUT);
  ControlBar->SetHintMode(TGadgetWindow::EnterHints);

  StatusBar = &Insert(std::make_unique<TTipStatusBar>(tip, this, TGadget::Recessed, 0,
                                                      std::make_unique<TGadgetWindowFont>(8)),
                      Bottom);
  auto text = [this] {
    return &StatusBar->Insert(std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Center, 10));
  };
  separator(*StatusBar, 12);
  FreeGadget = text();
  separator(*StatusBar, 12);
  ClockGadget = text();
}

TMainWindow::~TMainWindow() {
  console::SetConsoleServices(nullptr);
}

void TMainWindow::SetupWindow() {
  TDecoratedMDIFrame::SetupWindow();
  SetTimer(kClockTimer, kClockMilliseconds);
  Dialogs = server::Win32Dialogs(HWindow);

  TMDIClient& client = *GetClientWindow();
  Console = &client.InsertChild(std::make_unique<TStdioWindow>(client, "I/O Window", State.task));
  console::SetConsoleServices(&Console->GetServices());
  Console->SetIcon(GetInstance(), "IO");
  Console->Attr.Style |= WS_MAXIMIZE;  // an MDI child is created maximized only with the style
  Console->Create();
  Console->ShowWindow(SW_SHOWMAXIMIZED);

  UpdateButtons();
  UpdateStatus();
  LoadDefaults();

  // A boot file from the command line runs at once, out of the user's way
  // (minimized once the frame is made).
  if (Run.boot_file()[0] != '\0') PostMessage(WM_COMMAND, CM_RUN, 0);
}

bool TMainWindow::Create() {
  if (!TDecoratedMDIFrame::Create()) return false;
  // Not from the set-up: minimized while its creation message was handled,
  // the frame took the minimized rectangle (-32000, -32000, a caption's
  // size) as its normal place under Wine, and restored it was never seen.
  if (Run.boot_file()[0] != '\0') ShowMinimizedFirst(HWindow);
  return true;
}

void TMainWindow::LoadDefaults() {
  server::LoadDefaults(State.config, State.binding, std::getenv("LINK"), State.guard, *this);
  UpdateButtons();
}

void TMainWindow::Rebind(HWND dialog) {
  // Never while a CallServer is pending: that would pull its library away.
  if (!Run.CommandEnabled(server::Command::kRunTime)) return;
  Dialogs.set_dialog(dialog);
  server::Rebind(State.config, State.binding, State.guard, *this);
  Dialogs.set_dialog(nullptr);
  UpdateButtons();
}

void TMainWindow::CmSetup() { TSETUPDlg(this, Setup).Execute(); }
void TMainWindow::CmProtocols() { TPROTOCOLSDlg(this, Setup).Execute(); }
void TMainWindow::CmBoards() { TBOARDSDlg(this, Setup).Execute(); }
void TMainWindow::CmRunTime() { TRUNTIMEDlg(this, Setup).Execute(); }
void TMainWindow::CmAbout() { TDialog(this, "ABOUT").Execute(); }

void TMainWindow::EvCommandEnable(TCommandEnabler& enabler) {
  switch (enabler.GetId()) {
    case CM_RUN: case CM_TERMINATE: case CM_SUSPEND: case CM_CONTINUE:
    case CM_SETUP: case CM_PROTOCOLS: case CM_BOARDS: case CM_RUNTIME:
      enabler.Enable(Run.CommandEnabled(*server::RunCommandOf(enabler.GetId())));
      return;
    case CM_RESET: case CM_EXIT: case CM_ABOUT:
      // No enabler of their own: always available (the buttons start disabled).
      enabler.Enable(true);
      return;
    default:
      TDecoratedMDIFrame::EvCommandEnable(enabler);
  }
}

void TMainWindow::EvTimer(UINT_PTR id) {
  if (id == kClockTimer) Run.ClockTick();
}

void TMainWindow::LeaveProgram() {
  if (!Run.ConfirmLeave()) return;
  const server::VectoredHandlerScope guard(ExitOnFault);
  try {
    Run.LeaveConfirmed();
    KillTimer(kClockTimer);
    // Waits inside a pending CallServer end at once from now on.
    if (Console) Console->GetServices().SetLeaving();
    PostQuitMessage(0);
  } catch (...) {
    ExitProcess(0);
  }
}

server::Answer TMainWindow::ShowMessage(server::Owner owner, const char* text, const char* caption,
                                        server::Buttons buttons, server::Icon icon) {
  return Dialogs.ShowMessage(owner, text, caption, buttons, icon);
}

bool TMainWindow::OpenFileDialog(const server::DialogBuffer& filter, server::DialogBuffer& path) {
  return Dialogs.OpenFileDialog(filter, path);
}

void TMainWindow::SetButtons(const server::ButtonStates& states) {
  RunButton->SetEnabled(states.run);
  TerminateButton->SetEnabled(states.terminate);
  SuspendButton->SetEnabled(states.suspend);
  ContinueButton->SetEnabled(states.resume);
  SetupButton->SetEnabled(states.setup);
  // A run started before the first idle pass (a boot file on the command
  // line) would otherwise leave Reset, Exit and About disabled throughout:
  // their enablers run only at idle, which a pending CallServer never reaches.
  ControlBar->CommandEnableGadgets();
}

void TMainWindow::SetStatus(const server::StatusTexts& texts) {
  StatusBar->SetText(texts.boot.data());
  FreeGadget->SetText(texts.memory.data());
  ClockGadget->SetText(texts.clock.data());
}

void TMainWindow::SetClock(const char* clock) {
  ClockGadget->SetText(clock);
}
