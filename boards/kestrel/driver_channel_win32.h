// B004Drv and the registry through the Win32 calls the driver expects.
#pragma once

#include "boards/kestrel/driver_channel.h"

namespace board {

class Win32DriverChannel final : public DriverChannel {
 public:
  std::optional<DeviceHandle> Open() override;
  bool Control(DeviceHandle device, std::uint32_t code, const void* input, std::uint32_t input_size,
               void* output, std::uint32_t output_size, std::uint32_t* returned) override;
  bool Close(DeviceHandle device) override;
};

class Win32Registry final : public RegistryWriter {
 public:
  std::optional<RegistryKey> CreateKey(const char* path) override;
  void SetDword(RegistryKey key, const char* name, std::uint32_t value) override;
  void Flush(RegistryKey key) override;
  void CloseKey(RegistryKey key) override;
};

}  // namespace board
