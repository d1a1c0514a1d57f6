// iserver.dll: the four protocol-library entry points over a ServerTask, with
// the board library's link functions, tessel.exe's console services and the
// C runtime's files behind the core's interfaces.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "iserver/board_link_win32.h"
#include "iserver/core/server_task.h"
#include "iserver/core/stdio_host.h"
#include "iserver/message_pump_win32.h"
#include "iserver/tessel_console_win32.h"

namespace iserver {
namespace {

// Everything one binding needs; SetupServer builds it afresh, so nothing of
// an earlier binding (another board module, another program) lingers.
class Binding {
 public:
  Binding(const BoardFunctions& board, const ConsoleServices& services)
      : link_(board), console_(services, [this] { return task_.terminating(); }) {}

  std::int32_t Call(std::int32_t link_handle, const char* boot_file, const char* parameters) {
    if (!task_.in_call()) link_.SetHandle(link_handle);
    return task_.Call(boot_file, parameters);
  }
  ServerTask& task() { return task_; }

 private:
  BoardLink link_;
  TesselConsole console_;
  StdioHost host_;
  WindowsTaskHost task_host_;
  ServerTask task_{link_, host_, console_, task_host_};
};

std::unique_ptr<Binding> g_binding;

}  // namespace
}  // namespace iserver

using iserver::g_binding;

extern "C" {

std::int32_t WINAPI SetupServer(HMODULE board) {
  // A binding in the middle of a call cannot be replaced under it.
  if (g_binding && g_binding->task().in_call()) return 0;
  g_binding.reset();
  const auto functions = iserver::BoardFunctions::Resolve(board);
  const auto services = iserver::ConsoleServices::Resolve(GetModuleHandleA(nullptr));
  if (!functions.complete() || !services.complete()) return 0;
  g_binding = std::make_unique<iserver::Binding>(functions, services);
  return 1;
}

std::int32_t WINAPI CallServer(std::int32_t link_handle, const char* boot_file, const char* parameters) {
  return g_binding ? g_binding->Call(link_handle, boot_file, parameters) : 0;
}

std::int32_t WINAPI TerminateServer() {
  if (g_binding) g_binding->task().RequestTerminate();
  return 0;
}

std::int32_t WINAPI SuspendServer() {
  if (g_binding) g_binding->task().RequestSuspend();
  return 0;
}

}  // extern "C"
