// TMainWindow: the server's MDI frame "Server" with its tool bar, status bar
// and the I/O Window inside, and the command table that drives run control,
// the setup dialogs and leaving the program.
#pragma once

#include <windows.h>

#include "framework/button_gadget.h"
#include "framework/mdi_frame.h"
#include "framework/text_gadget.h"
#include "server/core/binding.h"
#include "server/core/configuration.h"
#include "server/core/run_control.h"
#include "server/core/task_state.h"
#include "server/shell/prompts.h"
#include "server/shell/setup_dialogs.h"
#include "server/toolbars/tip_control_bar.h"
#include "server/toolbars/tip_status_bar.h"

class TStdioWindow;

namespace server {

// Everything the server keeps for the life of the process: configuration,
// binding and task state. Built before the application, released after it.
struct ServerState {
  Configuration config;
  TaskState task;
  ModuleLoader& loader;
  LibraryBinding binding{loader};
  FaultGuard& guard;
  SystemInfo& system;
  explicit ServerState(ModuleLoader& l, FaultGuard& g, SystemInfo& s) : loader(l), guard(g), system(s) {}
};

}  // namespace server

class TMainWindow : public TDecoratedMDIFrame, private server::UserInterface {
 public:
  // The frame builds its MDI client, menu, icon, tool bar and status bar; the
  // bars refer to `tip`, which must outlive the frame's windows.
  // args: the command-line arguments after the program name.
  TMainWindow(TToolTip& tip, server::ServerState& state, int argc, const char* const* args);
  ~TMainWindow() override;

  virtual void LoadDefaults();
  virtual void UpdateStatus() { Run.UpdateStatus(); }
  virtual void UpdateButtons() { Run.UpdateButtons(); }

  // The set-up once the frame exists: clock, I/O Window, binding, and the
  // run of a boot file from the command line.
  void SetupWindow() override;
  // Shows the frame minimized, not activated, when a boot file came.
  bool Create() override;
  const char* GetClassName() override { return "TMainWindow"; }

  void CmRun() { Run.Run(); }
  void CmExit() { LeaveProgram(); }
  void CmReset() { Run.Reset(); }
  void CmTerminate() { Run.Terminate(); }
  void CmSuspend() { Run.Suspend(); }
  void CmContinue() { Run.Continue(); }
  void CmSetup();
  void CmProtocols();
  void CmBoards();
  void CmRunTime();
  void CmAbout();
  void EvCommandEnable(TCommandEnabler& enabler) override;
  void EvClose() { LeaveProgram(); }
  void EvTimer(UINT_PTR timerId);

  DECLARE_RESPONSE_TABLE(TMainWindow);

 private:
  // The tool bar's buttons and the status bar's gadgets, in their order.
  void BuildBars(TToolTip& tip);

  // server::UserInterface
  server::Answer ShowMessage(server::Owner owner, const char* text, const char* caption, server::Buttons buttons,
                             server::Icon icon) override;
  bool OpenFileDialog(const server::DialogBuffer& filter, server::DialogBuffer& path) override;
  void SetButtons(const server::ButtonStates& states) override;
  void SetStatus(const server::StatusTexts& texts) override;
  void SetClock(const char* clock) override;

  void LeaveProgram();
  void Rebind(HWND dialog);

  server::ServerState& State;
  server::RunControl Run;
  server::Win32Dialogs Dialogs{nullptr};
  server::SetupContext Setup;
  TStdioWindow* Console = nullptr;

  // Owned by the frame (bars) and by the bars (gadgets).
  TTipControlBar* ControlBar = nullptr;
  TTipStatusBar* StatusBar = nullptr;
  TTextGadget* ClockGadget = nullptr;
  TTextGadget* FreeGadget = nullptr;
  TButtonGadget* RunButton = nullptr;
  TButtonGadget* TerminateButton = nullptr;
  TButtonGadget* SuspendButton = nullptr;
  TButtonGadget* ContinueButton = nullptr;
  TButtonGadget* SetupButton = nullptr;
};
