// Finding one resource in the image of a compiled resource file (.res) by
// type and name. The scan matches bytes rather than walking entry headers,
// so the first occurrence anywhere in the file wins; clients rely on that.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace mantle {

// Resource types the library reads.
inline constexpr std::uint16_t kIconImageType = 3;
inline constexpr std::uint16_t kMenuType = 4;
inline constexpr std::uint16_t kDialogType = 5;
inline constexpr std::uint16_t kIconGroupType = 14;

// Longest string name the pattern buffer holds.
inline constexpr std::size_t kMaxResourceNameLength = 29;

// A resource name: a 16-bit id, or a string matched exactly (case included).
using ResourceName = std::variant<std::uint16_t, std::string_view>;

// The bytes that an entry's type and name fields must hold.
struct SearchPattern {
  std::array<std::uint8_t, 6 + 2 * kMaxResourceNameLength> bytes{};
  std::size_t size = 0;

  std::span<const std::uint8_t> view() const { return {bytes.data(), size}; }
};

// FF FF <type low byte> 00, then FF FF <id lo> <id hi>, or each name
// character as one byte and 00 followed by 00 00. Nothing for names longer
// than kMaxResourceNameLength characters.
std::optional<SearchPattern> BuildSearchPattern(std::uint16_t type, ResourceName name);

// Where the pattern first occurs in `image` (from offset 8 on, where an
// entry's type field can start), or nothing.
std::optional<std::size_t> FindPattern(std::span<const std::uint8_t> image, const SearchPattern& pattern);

// The data of the entry whose type and name fields match `pattern` first in
// the image. Nothing when there is no match, or when the matched entry's
// header or data size would reach past the end of the image.
std::optional<std::span<const std::uint8_t>> FindResourceData(std::span<const std::uint8_t> image,
                                                              const SearchPattern& pattern);

// Little-endian field reads over images; callers check bounds first.
std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset);
void WriteU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

}  // namespace mantle
