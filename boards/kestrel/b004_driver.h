// The B004Drv driver's device path, registry value and control codes.
#pragma once

#include <cstdint>

namespace board::b004 {

inline constexpr const char* kDevicePath = "\\\\.\\B004Drv";
inline constexpr const char* kParametersKey = "SYSTEM\\CurrentControlSet\\Services\\B004Drv\\Parameters";
inline constexpr const char* kPortAddressValue = "Board0PortAddress";

// Standard control-code layout: device type, any access, function, buffered.
constexpr std::uint32_t ControlCode(std::uint32_t function) {
  constexpr std::uint32_t kDeviceType = 0x9C41;
  return (kDeviceType << 16) | (0u << 14) | (function << 2) | 0u;
}

// Per-link requests number their function as a base plus the link handle.
constexpr std::uint32_t LinkControlCode(std::uint32_t base, std::int32_t handle) {
  return ControlCode(base + static_cast<std::uint32_t>(handle));
}

constexpr std::uint32_t kOpen = ControlCode(0x900);
constexpr std::uint32_t kSetTimeout = ControlCode(0x990);
constexpr std::uint32_t kReadBase = 0x91F;
constexpr std::uint32_t kWriteBase = 0x92F;
constexpr std::uint32_t kResetBase = 0x93F;
constexpr std::uint32_t kAnalyseBase = 0x94F;
constexpr std::uint32_t kTestErrorBase = 0x95F;
constexpr std::uint32_t kTestReadBase = 0x96F;
constexpr std::uint32_t kTestWriteBase = 0x97F;

static_assert(kOpen == 0x9C412400);
static_assert(kSetTimeout == 0x9C412640);
static_assert(LinkControlCode(kReadBase, 1) == 0x9C412480);
static_assert(LinkControlCode(kTestWriteBase, 1) == 0x9C412600);

}  // namespace board::b004
