#include "server/shell/system_info_win32.h"

#include <windows.h>

namespace server {

LocalTime Win32SystemInfo::Now() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  return LocalTime{time.wHour, time.wMinute, time.wSecond};
}

std::uint64_t Win32SystemInfo::AvailableVirtual() {
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status.dwAvailVirtual;
}

}  // namespace server
