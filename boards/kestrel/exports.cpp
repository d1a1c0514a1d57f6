// kestrel.dll: the link over the B004Drv driver.
#include <windows.h>

#include "boards/include/link_exports_win32.h"
#include "boards/kestrel/driver_channel_win32.h"
#include "boards/kestrel/kestrel_link.h"

namespace {

board::Win32DriverChannel g_driver;
board::Win32Registry g_registry;
board::KestrelLink g_link(g_driver, g_registry);

}  // namespace

namespace board {

LinkFunctions& TheLink() { return g_link; }

}  // namespace board

// A device handle still open when the library goes is closed, so repeated
// load and unload cycles leak nothing.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) g_link.Shutdown();
  return TRUE;
}
