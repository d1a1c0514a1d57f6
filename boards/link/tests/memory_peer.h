// In-memory peers for the simulated adapter: one that keeps what it is sent and
// hands out what a test queued, and one that is always ready (for benchmarks).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "boards/link/sim_wire.h"
#include "boards/link/simulated_c012.h"

namespace board::testing {

class ScriptedPeer final : public PeerChannel {
 public:
  bool Send(const std::uint8_t* bytes, std::size_t count) override {
    if (gone) return false;
    sent.insert(sent.end(), bytes, bytes + count);
    return true;
  }
  std::ptrdiff_t Receive(std::uint8_t* bytes, std::size_t capacity) override {
    if (gone && incoming.empty()) return -1;
    const std::size_t n = std::min({capacity, incoming.size(), max_chunk});
    std::copy_n(incoming.begin(), n, bytes);
    incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<std::ptrdiff_t>(n);
  }
  void QueueData(std::initializer_list<std::uint8_t> data) {
    for (std::uint8_t b : data) incoming.insert(incoming.end(), {sim_wire::kData, b});
  }

  std::vector<std::uint8_t> sent;
  std::vector<std::uint8_t> incoming;
  std::size_t max_chunk = SIZE_MAX;
  bool gone = false;
};

// Answers every receive with a full chunk of data frames and swallows sends.
class AlwaysReadyPeer final : public PeerChannel {
 public:
  bool Send(const std::uint8_t*, std::size_t) override { return true; }
  std::ptrdiff_t Receive(std::uint8_t* bytes, std::size_t capacity) override {
    const std::size_t n = capacity & ~std::size_t{1};
    for (std::size_t i = 0; i < n; i += 2) {
      bytes[i] = sim_wire::kData;
      bytes[i + 1] = static_cast<std::uint8_t>(i);
    }
    return static_cast<std::ptrdiff_t>(n);
  }
};

}  // namespace board::testing
