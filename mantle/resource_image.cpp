#include "mantle/resource_image.h"

#include <algorithm>
#include <functional>

namespace mantle {
namespace {

// An entry's type field follows its data size and header size.
constexpr std::size_t kTypeFieldOffset = 8;

}  // namespace

std::optional<SearchPattern> BuildSearchPattern(std::uint16_t type, ResourceName name) {
  SearchPattern pattern;
  std::size_t n = 0;
  const auto put = [&](std::uint8_t byte) { pattern.bytes[n++] = byte; };
  put(0xFF);
  put(0xFF);
  put(static_cast<std::uint8_t>(type & 0xFF));
  put(0x00);
  if (const auto* id = std::get_if<std::uint16_t>(&name)) {
    put(0xFF);
    put(0xFF);
    put(static_cast<std::uint8_t>(*id & 0xFF));
    put(static_cast<std::uint8_t>(*id >> 8));
  } else {
    const std::string_view text = std::get<std::string_view>(name);
    if (text.size() > kMaxResourceNameLength) return std::nullopt;
    // Widened byte by byte: characters above 127 are not converted.
    for (const char c : text) {
      put(static_cast<std::uint8_t>(c));
      put(0x00);
    }
    put(0x00);
    put(0x00);
  }
  pattern.size = n;
  return pattern;
}

std::optional<std::size_t> FindPattern(std::span<const std::uint8_t> image, const SearchPattern& pattern) {
  if (image.size() < kTypeFieldOffset + pattern.size) return std::nullopt;
  const auto from = image.begin() + kTypeFieldOffset;
  const auto found = std::search(
      from, image.end(),
      std::boyer_moore_horspool_searcher(pattern.bytes.begin(),
                                         pattern.bytes.begin() + static_cast<std::ptrdiff_t>(pattern.size)));
  if (found == image.end()) return std::nullopt;
  return static_cast<std::size_t>(found - image.begin());
}

std::optional<std::span<const std::uint8_t>> FindResourceData(std::span<const std::uint8_t> image,
                                                              const SearchPattern& pattern) {
  const std::optional<std::size_t> match = FindPattern(image, pattern);
  if (!match) return std::nullopt;
  const std::size_t entry = *match - kTypeFieldOffset;
  const std::uint64_t data_size = ReadU32(image, entry);
  const std::uint64_t data_start = entry + std::uint64_t{ReadU32(image, entry + 4)};
  // 64-bit sums: a hostile header cannot wrap around into the image.
  if (data_start > image.size() || data_size > image.size() - data_start) return std::nullopt;
  return image.subspan(static_cast<std::size_t>(data_start), static_cast<std::size_t>(data_size));
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

void WriteU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace mantle
