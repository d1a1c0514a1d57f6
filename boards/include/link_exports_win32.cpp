// The nine exports of a board library, under their plain names (the export
// table tessel_def_file writes), each forwarding to the library's one link.
#include <windows.h>

#include "boards/include/link_exports_win32.h"

using board::TheLink;

extern "C" {

int WINAPI OpenLink(const char* link_name, DWORD link_timeout) { return TheLink().OpenLink(link_name, link_timeout); }
int WINAPI CloseLink(int handle) { return TheLink().CloseLink(handle); }
int WINAPI ReadLink(int handle, void* buffer, int length) {
  return TheLink().ReadLink(handle, static_cast<std::uint8_t*>(buffer), length);
}
int WINAPI WriteLink(int handle, const void* buffer, int length) {
  return TheLink().WriteLink(handle, static_cast<const std::uint8_t*>(buffer), length);
}
int WINAPI ResetLink(int handle) { return TheLink().ResetLink(handle); }
int WINAPI AnalyseLink(int handle) { return TheLink().AnalyseLink(handle); }
int WINAPI TestError(int handle) { return TheLink().TestError(handle); }
int WINAPI TestRead(int handle) { return TheLink().TestRead(handle); }
int WINAPI TestWrite(int handle) { return TheLink().TestWrite(handle); }

}  // extern "C"
