#include "mantle/icon_image.h"

#include "mantle/resource_image.h"

namespace mantle {
namespace {

constexpr std::size_t kFirstImageIdOffset = 6 + 14 - 2;

// Header field offsets.
constexpr std::size_t kHeaderSizeField = 0;
constexpr std::size_t kWidthField = 4;
constexpr std::size_t kHeightField = 8;
constexpr std::size_t kBitCountField = 14;
constexpr std::size_t kCompressionField = 16;
constexpr std::size_t kImageSizeField = 20;
constexpr std::size_t kColoursUsedField = 32;
constexpr std::size_t kImportantColoursField = 36;

}  // namespace

std::optional<std::uint16_t> FirstIconImageId(std::span<const std::uint8_t> group) {
  if (group.size() < kFirstImageIdOffset + 2) return std::nullopt;
  return ReadU16(group, kFirstImageIdOffset);
}

std::optional<IconImageLayout> PrepareIconImage(std::span<std::uint8_t> image) {
  if (image.size() < kIconHeaderSize) return std::nullopt;
  // The platform takes the header's own size field as the offset of the
  // colour table, and decodes compressed bits by their own rules: accept
  // only the plain header whose layout the offsets below describe.
  if (ReadU32(image, kHeaderSizeField) != kIconHeaderSize) return std::nullopt;
  if (ReadU32(image, kCompressionField) != 0) return std::nullopt;
  const std::uint16_t b = ReadU16(image, kBitCountField);
  if (b < 1 || b > 8) return std::nullopt;  // the colour table has 2^b entries
  const auto w = static_cast<std::int32_t>(ReadU32(image, kWidthField));
  const std::int32_t h = static_cast<std::int32_t>(ReadU32(image, kHeightField)) / 2;
  if (w < 1 || h < 1) return std::nullopt;

  const std::uint64_t size = image.size();
  const std::uint64_t colours = std::uint64_t{1} << b;
  const std::uint64_t colour_offset = kIconHeaderSize + 4 * colours;
  if (colour_offset > size) return std::nullopt;
  // Colour rows as the platform reads them: padded to 32 bits.
  const std::uint64_t colour_stride = (std::uint64_t(w) * b + 31) / 32 * 4;
  if (std::uint64_t(h) > (size - colour_offset) / colour_stride) return std::nullopt;
  // Below the padded size, so no overflow: the rows themselves are not padded.
  const std::uint64_t colour_bytes = std::uint64_t(w) * std::uint64_t(h) * b / 8;
  const std::uint64_t mask_offset = colour_offset + colour_bytes;
  const std::uint64_t mask_stride = (std::uint64_t(w) + 15) / 16 * 2;
  if (std::uint64_t(h) > (size - mask_offset) / mask_stride) return std::nullopt;

  WriteU32(image, kHeightField, static_cast<std::uint32_t>(h));
  WriteU32(image, kImageSizeField, static_cast<std::uint32_t>(colour_bytes));
  WriteU32(image, kColoursUsedField, static_cast<std::uint32_t>(colours));
  WriteU32(image, kImportantColoursField, 0);
  return IconImageLayout{w,
                         h,
                         b,
                         static_cast<std::size_t>(colour_offset),
                         static_cast<std::size_t>(mask_offset),
                         static_cast<std::uint32_t>(colour_bytes)};
}

}  // namespace mantle
