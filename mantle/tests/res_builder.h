// Builds compiled resource file images in the standard 32-bit layout, with
// hooks for the broken entries the loader must survive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mantle/resource_image.h"

namespace mantle::testing {

inline void StoreU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class ResBuilder {
 public:
  ResBuilder() {
    // The empty entry that starts every file: data size 0, header size 32,
    // type 0 and name 0 as ids.
    PutU32(0);
    PutU32(32);
    PutU32(0x0000FFFF);
    PutU32(0x0000FFFF);
    bytes.resize(32, 0);
  }

  // Appends an entry and returns the offset of its first header byte.
  std::size_t Add(std::uint16_t type, const ResourceName& name, const std::vector<std::uint8_t>& data) {
    const std::size_t entry = bytes.size();
    PutU32(static_cast<std::uint32_t>(data.size()));
    PutU32(0);  // header size, patched below
    PutU16(0xFFFF);
    PutU16(type);
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
      PutU16(0xFFFF);
      PutU16(*id);
    } else {
      for (const char c : std::get<std::string_view>(name)) PutU16(static_cast<std::uint8_t>(c));
      PutU16(0);
    }
    Align();
    PutU32(0);       // data version
    PutU16(0x1030);  // memory flags
    PutU16(0x0409);  // language
    PutU32(0);       // version
    PutU32(0);       // characteristics
    SetU32(entry + 4, static_cast<std::uint32_t>(bytes.size() - entry));
    bytes.insert(bytes.end(), data.begin(), data.end());
    Align();
    return entry;
  }

  void SetU32(std::size_t at, std::uint32_t value) { StoreU32(bytes, at, value); }

  std::vector<std::uint8_t> bytes;

 private:
  void PutU16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void PutU32(std::uint32_t v) {
    PutU16(static_cast<std::uint16_t>(v));
    PutU16(static_cast<std::uint16_t>(v >> 16));
  }
  void Align() {
    while (bytes.size() % 4 != 0) bytes.push_back(0);
  }
};

// A device-independent icon image: 40-byte header, 2^b colour entries,
// unpadded colour rows and 2-byte-padded mask rows, as icon editors write
// them for widths that are multiples of 16.
inline std::vector<std::uint8_t> IconImage(std::int32_t width, std::int32_t height, std::uint16_t bits) {
  const std::size_t colours = std::size_t{1} << bits;
  const std::size_t colour_bytes = std::size_t(width) * height * bits / 8;
  const std::size_t mask_bytes = (std::size_t(width) + 15) / 16 * 2 * height;
  std::vector<std::uint8_t> image(40 + 4 * colours + colour_bytes + mask_bytes, 0);
  StoreU32(image, 0, 40);
  StoreU32(image, 4, static_cast<std::uint32_t>(width));
  StoreU32(image, 8, static_cast<std::uint32_t>(height * 2));
  image[12] = 1;  // planes
  image[14] = static_cast<std::uint8_t>(bits);
  return image;
}

// An icon group whose first directory entry names image `first_id`.
inline std::vector<std::uint8_t> IconGroup(std::uint16_t first_id, std::uint16_t count = 1) {
  std::vector<std::uint8_t> group(6 + 14 * count, 0);
  group[2] = 1;  // type: icon
  group[4] = static_cast<std::uint8_t>(count);
  for (std::uint16_t k = 0; k < count; ++k) {
    group[6 + 14 * k + 12] = static_cast<std::uint8_t>(first_id + k);
    group[6 + 14 * k + 13] = static_cast<std::uint8_t>((first_id + k) >> 8);
  }
  return group;
}

}  // namespace mantle::testing
