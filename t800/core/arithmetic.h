// The arithmetic of the operations whose results are more than one line:
// long (64-bit) arithmetic, shifts, normalisation, bit and CRC operations.
// Pure functions, so the tests can check them against tables.
#pragma once

#include <cstdint>

namespace t800::arith {

struct Pair {
  std::uint32_t low, high;
};

inline std::uint64_t Join(std::uint32_t high, std::uint32_t low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

// (high:low) shifted; counts of 64 and more give 0.
inline Pair LongShiftLeft(std::uint32_t high, std::uint32_t low, std::uint32_t count) {
  const std::uint64_t v = count >= 64 ? 0 : Join(high, low) << count;
  return {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
}
inline Pair LongShiftRight(std::uint32_t high, std::uint32_t low, std::uint32_t count) {
  const std::uint64_t v = count >= 64 ? 0 : Join(high, low) >> count;
  return {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
}

// norm: shifts (high:low) left until bit 63 is set; places is 64 for zero.
struct Normalised {
  std::uint32_t low, high, places;
};
inline Normalised Normalise(std::uint32_t high, std::uint32_t low) {
  std::uint64_t v = Join(high, low);
  if (v == 0) return {0, 0, 64};
  std::uint32_t places = 0;
  while (!(v >> 63)) {
    v <<= 1;
    ++places;
  }
  return {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32), places};
}

// A CRC step over `bits` data bits taken from the top of `data`.
inline std::uint32_t Crc(std::uint32_t crc, std::uint32_t data, std::uint32_t generator, int bits) {
  for (int i = 0; i < bits; ++i) {
    const bool carry = (crc >> 31) != 0;
    crc = (crc << 1) | (data >> 31);
    data <<= 1;
    if (carry) crc ^= generator;
  }
  return crc;
}

inline std::uint32_t ReverseBits(std::uint32_t v) {
  std::uint32_t r = 0;
  for (int i = 0; i < 32; ++i) {
    r = (r << 1) | (v & 1);
    v >>= 1;
  }
  return r;
}

// The low n bits of v reversed; beyond 32 the reversed word moves up out of
// the register.
inline std::uint32_t ReverseLowBits(std::uint32_t v, std::uint32_t n) {
  if (n == 0) return 0;
  const std::uint32_t r = ReverseBits(v);
  if (n <= 32) return r >> (32 - n);
  return n >= 64 ? 0 : static_cast<std::uint32_t>(static_cast<std::uint64_t>(r) << (n - 32));
}

inline int HighestBit(std::uint32_t v) {  // the b of the multiply timing
  int b = 0;
  while (v) {
    v >>= 1;
    ++b;
  }
  return b;
}

}  // namespace t800::arith
