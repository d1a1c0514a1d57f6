#include "t800/core/memory.h"

#include <algorithm>
#include <bit>

namespace t800 {

static_assert(std::endian::native == std::endian::little, "word access assumes a little-endian host");

void Memory::Copy(std::uint32_t destination, std::uint32_t source, std::uint32_t count) {
  count = std::min(count, size());
  while (count > 0) {
    const std::uint32_t to = Offset(destination), from = Offset(source);
    const std::uint32_t chunk = std::min({count, size() - to, size() - from});
    std::memmove(&bytes_[to], &bytes_[from], chunk);
    destination += chunk;
    source += chunk;
    count -= chunk;
  }
}

void Memory::Read(std::uint32_t source, std::uint8_t* out, std::uint32_t count) const {
  while (count > 0) {
    const std::uint32_t from = Offset(source);
    const std::uint32_t chunk = std::min(count, size() - from);
    std::memcpy(out, &bytes_[from], chunk);
    out += chunk;
    source += chunk;
    count -= chunk;
  }
}

void Memory::Write(std::uint32_t destination, const std::uint8_t* in, std::uint32_t count) {
  while (count > 0) {
    const std::uint32_t to = Offset(destination);
    const std::uint32_t chunk = std::min(count, size() - to);
    std::memcpy(&bytes_[to], in, chunk);
    in += chunk;
    destination += chunk;
    count -= chunk;
  }
}

}  // namespace t800
