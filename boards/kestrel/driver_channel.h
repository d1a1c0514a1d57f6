// What the driver-based board library needs of the platform: the B004Drv
// device (open, synchronous control requests, close) and the registry value
// through which the driver learns the port base.
#pragma once

#include <cstdint>
#include <optional>

namespace board {

using DeviceHandle = std::uintptr_t;

class DriverChannel {
 public:
  virtual ~DriverChannel() = default;
  // Opens "\\.\B004Drv" for reading and writing with read and write sharing.
  virtual std::optional<DeviceHandle> Open() = 0;
  // One synchronous device control request; false when the driver refuses it.
  virtual bool Control(DeviceHandle device, std::uint32_t code, const void* input,
                       std::uint32_t input_size, void* output, std::uint32_t output_size,
                       std::uint32_t* returned) = 0;
  virtual bool Close(DeviceHandle device) = 0;
};

using RegistryKey = std::uintptr_t;

class RegistryWriter {
 public:
  virtual ~RegistryWriter() = default;
  // Creates or opens HKLM\<path> with full access; no value when that fails.
  virtual std::optional<RegistryKey> CreateKey(const char* path) = 0;
  virtual void SetDword(RegistryKey key, const char* name, std::uint32_t value) = 0;
  virtual void Flush(RegistryKey key) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
};

}  // namespace board
