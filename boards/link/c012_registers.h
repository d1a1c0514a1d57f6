// The IMS C012 link adapter's registers as offsets from the board's port base.
#pragma once

#include <cstdint>

namespace board::c012 {

constexpr std::uint32_t kInputData = 0x00;
constexpr std::uint32_t kOutputData = 0x01;
constexpr std::uint32_t kInputStatus = 0x02;
constexpr std::uint32_t kOutputStatus = 0x03;
constexpr std::uint32_t kReset = 0x10;  // written: the reset line
constexpr std::uint32_t kError = 0x10;  // read: bit 0 is the error line, low while the flag is raised
constexpr std::uint32_t kAnalyse = 0x11;

}  // namespace board::c012
