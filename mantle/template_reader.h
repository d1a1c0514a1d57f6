// Reads a dialog or menu template front to back, every step checked against
// its end: the platform reads templates without a size, so each is walked
// here first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "mantle/resource_image.h"

namespace mantle {

class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Skip(std::size_t n) {
    if (at_ > bytes_.size() || n > bytes_.size() - at_) return false;
    at_ += n;
    return true;
  }
  bool Word(std::uint16_t& value) {
    if (at_ > bytes_.size() || bytes_.size() - at_ < 2) return false;
    value = ReadU16(bytes_, at_);
    at_ += 2;
    return true;
  }
  bool Dword(std::uint32_t& value) {
    if (at_ > bytes_.size() || bytes_.size() - at_ < 4) return false;
    value = ReadU32(bytes_, at_);
    at_ += 4;
    return true;
  }
  // A zero-terminated UTF-16 string, whose first character is already read.
  bool RestOfString(std::uint16_t c) {
    while (c != 0) {
      if (!Word(c)) return false;
    }
    return true;
  }
  bool String() {
    std::uint16_t c = 0;
    return Word(c) && RestOfString(c);
  }
  // Nothing (0), 0xFFFF and an ordinal, or a string.
  bool StringOrOrdinal() {
    std::uint16_t first = 0;
    if (!Word(first)) return false;
    if (first == 0xFFFF) return Skip(2);
    return RestOfString(first);
  }
  // Running off the end here is harmless: the next read reports it.
  void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace mantle
