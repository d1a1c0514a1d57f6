// The five console services, exported by plain name from the server program
// for the protocol library. Calls that arrive before the console exists do
// nothing.
#include <windows.h>

#include <cstdint>

#include "server/console/console_services_win32.h"

using console::ConsoleServices;
using console::CurrentConsoleServices;

extern "C" {

std::int32_t WINAPI GETCH() {
  ConsoleServices* services = CurrentConsoleServices();
  return services ? services->Getch() : ConsoleServices::kNoKey;
}

std::int32_t WINAPI KBHIT() {
  ConsoleServices* services = CurrentConsoleServices();
  return services ? services->Kbhit() : 0;
}

std::int32_t WINAPI GETS(char* buffer) {
  ConsoleServices* services = CurrentConsoleServices();
  if (services) return services->Gets(buffer);
  if (buffer) buffer[0] = '\0';
  return 0;
}

std::int32_t WINAPI STREAD(std::uint8_t* buffer, std::int32_t count) {
  ConsoleServices* services = CurrentConsoleServices();
  return services ? services->Stread(buffer, count) : 0;
}

std::int32_t WINAPI STWRITE(const std::uint8_t* data, std::int32_t count) {
  ConsoleServices* services = CurrentConsoleServices();
  return services ? services->Stwrite(data, count) : 0;
}

}  // extern "C"
