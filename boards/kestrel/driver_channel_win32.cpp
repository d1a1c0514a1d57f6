#include "boards/kestrel/driver_channel_win32.h"

#include <windows.h>

#include "boards/kestrel/b004_driver.h"

namespace board {
namespace {

HANDLE ToHandle(DeviceHandle device) { return reinterpret_cast<HANDLE>(device); }
HKEY ToKey(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::optional<DeviceHandle> Win32DriverChannel::Open() {
  HANDLE device = CreateFileA(b004::kDevicePath, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) return std::nullopt;
  return reinterpret_cast<DeviceHandle>(device);
}

bool Win32DriverChannel::Control(DeviceHandle device, std::uint32_t code, const void* input,
                                 std::uint32_t input_size, void* output, std::uint32_t output_size,
                                 std::uint32_t* returned) {
  DWORD count = 0;
  const BOOL ok = DeviceIoControl(ToHandle(device), code, const_cast<void*>(input), input_size,
                                  output, output_size, &count, nullptr);
  *returned = count;
  return ok != FALSE;
}

bool Win32DriverChannel::Close(DeviceHandle device) { return CloseHandle(ToHandle(device)) != FALSE; }

std::optional<RegistryKey> Win32Registry::CreateKey(const char* path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  char no_class[] = "";
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, no_class, 0, KEY_ALL_ACCESS, nullptr, &key,
                      &disposition) != ERROR_SUCCESS)
    return std::nullopt;
  return reinterpret_cast<RegistryKey>(key);
}

void Win32Registry::SetDword(RegistryKey key, const char* name, std::uint32_t value) {
  const DWORD data = value;
  RegSetValueExA(ToKey(key), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void Win32Registry::Flush(RegistryKey key) { RegFlushKey(ToKey(key)); }
void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(ToKey(key)); }

}  // namespace board
