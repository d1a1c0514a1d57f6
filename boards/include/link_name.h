// Reading a port base out of a link name. Both board libraries try a list of
// C scanning formats in order on the whole name; they differ only in the list.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace link_interface {

constexpr std::uint32_t kDefaultPortBase = 0x150;

// Formats of the port-I/O library: hexadecimal after 0x, else decimal.
inline constexpr const char* kPortIoFormats[] = {"0x%x", "%d", "#%d"};
// Formats of the driver library: all hexadecimal.
inline constexpr const char* kDriverFormats[] = {"0x%x", "#%x", "%x"};

// A null or empty name gives the default base; otherwise the first format that
// converts exactly one number gives it; none does: no value.
std::optional<std::uint32_t> ParsePortBase(const char* link_name,
                                           std::span<const char* const> formats);

}  // namespace link_interface
