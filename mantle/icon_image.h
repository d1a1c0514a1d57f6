// Reading the first image of an icon group out of a resource file so that it
// can be rebuilt as a device-dependent icon. Every offset is checked against
// the block, since the platform calls that follow read without bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mantle {

// The resource id of a group's first image: the last two bytes of the first
// 14-byte directory entry after the 6-byte group header. Nothing for a group
// too short to hold that entry.
std::optional<std::uint16_t> FirstIconImageId(std::span<const std::uint8_t> group);

// Where the parts of a prepared icon image lie in its block.
struct IconImageLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // one bitmap's height: half the stored one
  std::uint16_t bit_count = 0;
  std::size_t colour_offset = 0;  // colour (XOR) bits, after 2^b table entries
  std::size_t mask_offset = 0;    // mask (AND) bits, after unpadded colour rows
  std::uint32_t colour_bytes = 0;
};

// Size of the 40-byte bitmap header that starts an icon image.
inline constexpr std::size_t kIconHeaderSize = 40;

// Rewrites an icon image's header for the rebuild (height halved, image size
// (w*h*b)/8, colours used 2^b, important colours 0) and says where its colour
// and mask bits start. Nothing, with the block left untouched, when the header
// is not a plain 40-byte uncompressed one of 1 to 8 bits per pixel and
// positive size, or when the colour table, the colour rows as the platform
// reads them (padded to 4 bytes) or the mask rows (padded to 2 bytes) would
// reach past the block.
std::optional<IconImageLayout> PrepareIconImage(std::span<std::uint8_t> image);

}  // namespace mantle
