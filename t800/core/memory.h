// The transputer's memory: a power-of-two fitted size at the bottom of the
// signed address space, aliased over the whole 4 GiB as on real boards (code
// that sizes memory by probing sees the wrap). Bytes are little-endian.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace t800 {

class Memory {
 public:
  // size: a power of two, at least 4 KiB.
  explicit Memory(std::uint32_t size) : bytes_(size), mask_(size - 1) {}

  static bool ValidSize(std::uint64_t size) {
    return size >= 4096 && size <= (1u << 30) && (size & (size - 1)) == 0;
  }

  std::uint32_t size() const { return mask_ + 1; }
  std::uint32_t mask() const { return mask_; }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }

  // MostNeg maps to offset 0; the mask never includes bit 31, so masking the
  // address alone gives the offset.
  std::uint32_t Offset(std::uint32_t address) const { return address & mask_; }

  std::uint8_t Byte(std::uint32_t address) const { return bytes_[Offset(address)]; }
  void SetByte(std::uint32_t address, std::uint8_t value) { bytes_[Offset(address)] = value; }

  // Word accesses ignore the byte selector.
  std::uint32_t Word(std::uint32_t address) const {
    std::uint32_t value;
    std::memcpy(&value, &bytes_[Offset(address) & ~3u], 4);
    return value;
  }
  void SetWord(std::uint32_t address, std::uint32_t value) {
    std::memcpy(&bytes_[Offset(address) & ~3u], &value, 4);
  }

  // Copies count bytes, wrapping at the fitted size; a count larger than the
  // memory copies one memory's worth (the rest would only repeat it).
  void Copy(std::uint32_t destination, std::uint32_t source, std::uint32_t count);
  void Read(std::uint32_t source, std::uint8_t* out, std::uint32_t count) const;
  void Write(std::uint32_t destination, const std::uint8_t* in, std::uint32_t count);
  void Clear() { std::memset(bytes_.data(), 0, bytes_.size()); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t mask_;
};

}  // namespace t800
