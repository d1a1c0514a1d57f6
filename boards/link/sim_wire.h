// The byte stream between a simulated C012 and its peer: two-byte frames, a
// tag and a value. Adapter to peer: D data, R reset line, A analyse line.
// Peer to adapter: D data, E error flag.
#pragma once

#include <cstdint>

namespace board::sim_wire {

constexpr std::uint8_t kData = 'D';
constexpr std::uint8_t kReset = 'R';
constexpr std::uint8_t kAnalyse = 'A';
constexpr std::uint8_t kError = 'E';

}  // namespace board::sim_wire
