// TStdioWindow: the I/O Window, an MDI child that shows the console grid in
// the system fixed font and turns the keys typed into it into the key ring's
// byte stream. It owns the console model, its drawing and the services that
// the protocol library calls back; it cannot be closed by the user.
#pragma once

#include <windows.h>

#include "framework/mdi_child.h"
#include "framework/scroller.h"
#include "server/console/console.h"
#include "server/console/console_services.h"
#include "server/console/console_services_win32.h"
#include "server/console/gdi_console_sink_win32.h"
#include "server/core/task_state.h"

class TMDIClient;

class TStdioWindow : public TMDIChild {
 public:
  // The task state decides whether keys reach the ring.
  TStdioWindow(TMDIClient& parent, const char* title, const server::TaskState& task);
  ~TStdioWindow() override;

  console::Console& GetConsole() { return Console; }
  console::ConsoleServices& GetServices() { return Services; }
  console::GdiConsoleSink& GetSink() { return Sink; }

  const char* GetClassName() override { return "TStdioWindow"; }
  void SetupWindow() override;
  void Paint(HDC dc, bool erase, RECT& rect) override;

  void EvClose() {}
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags);
  void EvKeyUp(UINT key, UINT repeatCount, UINT flags);
  void EvSysKeyDown(UINT key, UINT repeatCount, UINT flags);
  void EvSysKeyUp(UINT key, UINT repeatCount, UINT flags);
  void EvChar(UINT ch, UINT repeatCount, UINT flags);
  void EvSetFocus(HWND lostFocus);
  void EvKillFocus(HWND getFocus);
  void EvSize(UINT sizeType, int cx, int cy);

  DECLARE_RESPONSE_TABLE(TStdioWindow);

 private:
  console::GdiConsoleSink Sink;
  console::Console Console;
  console::Win32MessagePump Pump;
  console::ConsoleServices Services{Console, Pump};
};
