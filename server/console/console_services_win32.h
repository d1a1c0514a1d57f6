// The Win32 side of the console services: the thread's message pump, and the
// process-wide services object that the exported GETCH ... STWRITE reach.
#pragma once

#include "server/console/console_services.h"

namespace console {

// GetMessageA, TranslateMessage, DispatchMessageA; WM_QUIT is reported, not dispatched.
class Win32MessagePump : public MessagePump {
 public:
  PumpResult PumpOne() override;
  void RepostQuit(int exit_code) override;
};

// Set once the console exists, cleared before it goes; until then the exports
// do nothing (GETCH gives -1, the others 0).
void SetConsoleServices(ConsoleServices* services);
ConsoleServices* CurrentConsoleServices();

}  // namespace console
