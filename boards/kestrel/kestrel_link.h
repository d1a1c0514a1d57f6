// The driver-based board library's logic: the link interface as device
// control requests to B004Drv, the port base handed over in the registry.
#pragma once

#include <cstdint>

#include "boards/include/link_functions.h"
#include <optional>

#include "boards/kestrel/driver_channel.h"

namespace board {

class KestrelLink final : public LinkFunctions {
 public:
  KestrelLink(DriverChannel& driver, RegistryWriter& registry) : driver_(driver), registry_(registry) {}

  std::int32_t OpenLink(const char* link_name, std::uint32_t link_timeout) override;
  std::int32_t CloseLink(std::int32_t handle) override;
  std::int32_t ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) override;
  std::int32_t WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) override;
  std::int32_t ResetLink(std::int32_t handle) override;
  std::int32_t AnalyseLink(std::int32_t handle) override;
  std::int32_t TestError(std::int32_t handle) override;
  std::int32_t TestRead(std::int32_t handle) override;
  std::int32_t TestWrite(std::int32_t handle) override;

  // Closes a device handle still open; the library calls it when unloaded.
  void Shutdown();

  bool has_device() const { return device_.has_value(); }

 private:
  bool Request(std::uint32_t base, std::int32_t handle);
  std::int32_t Transfer(std::uint32_t base, std::int32_t handle, const void* input,
                        void* output, std::int32_t length);
  // Closes the stored handle, if any, and forgets it; true when one was
  // there and the driver closed it.
  bool ForgetDevice();

  DriverChannel& driver_;
  RegistryWriter& registry_;
  std::optional<DeviceHandle> device_;
};

}  // namespace board
