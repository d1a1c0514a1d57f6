#include "server/console/console_services_win32.h"

#include <windows.h>

namespace console {

PumpResult Win32MessagePump::PumpOne() {
  MSG msg;
  const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
  if (got == 0) return PumpResult{true, static_cast<int>(msg.wParam)};
  // -1 is an invalid-argument failure that cannot happen with these arguments;
  // treating it as a message keeps the wait's own exit tests in charge.
  if (got > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return PumpResult{};
}

void Win32MessagePump::RepostQuit(int exit_code) {
  PostQuitMessage(exit_code);
}

namespace {

ConsoleServices* g_services = nullptr;

}  // namespace

void SetConsoleServices(ConsoleServices* services) {
  g_services = services;
}
ConsoleServices* CurrentConsoleServices() {
  return g_services;
}

}  // namespace console
