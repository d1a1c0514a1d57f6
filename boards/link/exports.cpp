// link.dll: the nine link functions, exported under their plain names.
#include <windows.h>

#include "boards/link/link_adapter.h"
#include "boards/link/port_backend_win32.h"

namespace {

board::LinkAdapter& Link() {
  static board::LinkAdapter link(board::SelectedPorts());
  return link;
}

}  // namespace

extern "C" {

int WINAPI OpenLink(const char* link_name, DWORD link_timeout) { return Link().OpenLink(link_name, link_timeout); }
int WINAPI CloseLink(int handle) { return Link().CloseLink(handle); }
int WINAPI ReadLink(int handle, void* buffer, int length) {
  return Link().ReadLink(handle, static_cast<std::uint8_t*>(buffer), length);
}
int WINAPI WriteLink(int handle, const void* buffer, int length) {
  return Link().WriteLink(handle, static_cast<const std::uint8_t*>(buffer), length);
}
int WINAPI ResetLink(int handle) { return Link().ResetLink(handle); }
int WINAPI AnalyseLink(int handle) { return Link().AnalyseLink(handle); }
int WINAPI TestError(int handle) { return Link().TestError(handle); }
int WINAPI TestRead(int handle) { return Link().TestRead(handle); }
int WINAPI TestWrite(int handle) { return Link().TestWrite(handle); }

}  // extern "C"
