// kestrel.dll: the nine link functions over the B004Drv driver, exported under
// their plain names.
#include <windows.h>

#include "boards/kestrel/driver_channel_win32.h"
#include "boards/kestrel/kestrel_link.h"

namespace {

board::Win32DriverChannel g_driver;
board::Win32Registry g_registry;
board::KestrelLink g_link(g_driver, g_registry);

}  // namespace

extern "C" {

int WINAPI OpenLink(const char* link_name, DWORD link_timeout) { return g_link.OpenLink(link_name, link_timeout); }
int WINAPI CloseLink(int handle) { return g_link.CloseLink(handle); }
int WINAPI ReadLink(int handle, void* buffer, int length) {
  return g_link.ReadLink(handle, static_cast<std::uint8_t*>(buffer), length);
}
int WINAPI WriteLink(int handle, const void* buffer, int length) {
  return g_link.WriteLink(handle, static_cast<const std::uint8_t*>(buffer), length);
}
int WINAPI ResetLink(int handle) { return g_link.ResetLink(handle); }
int WINAPI AnalyseLink(int handle) { return g_link.AnalyseLink(handle); }
int WINAPI TestError(int handle) { return g_link.TestError(handle); }
int WINAPI TestRead(int handle) { return g_link.TestRead(handle); }
int WINAPI TestWrite(int handle) { return g_link.TestWrite(handle); }

// A device handle still open when the library goes is closed, so repeated
// load and unload cycles leak nothing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) g_link.Shutdown();
  return TRUE;
}

}  // extern "C"
