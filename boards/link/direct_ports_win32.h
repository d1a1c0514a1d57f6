// Real x86 port instructions. Where the platform refuses them (the Windows NT
// family without an I/O permission grant, Wine), the refusal is noticed once,
// on the first access, and from then on the ports read 0 and writes are
// dropped: a board that never answers, rather than a crash.
#pragma once

#include "boards/link/port_access.h"

namespace board {

class DirectPorts final : public PortAccess {
 public:
  std::uint8_t In(std::uint16_t port) override;
  void Out(std::uint16_t port, std::uint8_t value) override;

 private:
  enum class State { kUnknown, kAllowed, kRefused };
  void Probe(std::uint16_t port, std::uint8_t* in_value, const std::uint8_t* out_value);

  State state_ = State::kUnknown;
};

}  // namespace board
