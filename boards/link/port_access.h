// Byte-wide access to 16-bit I/O ports: what the port-I/O board library needs
// of the platform. Real port instructions, a simulated adapter and test fakes
// all stand behind it.
#pragma once

#include <cstdint>

namespace board {

class PortAccess {
 public:
  virtual ~PortAccess() = default;
  virtual std::uint8_t In(std::uint16_t port) = 0;
  virtual void Out(std::uint16_t port, std::uint8_t value) = 0;
  // Writes made so far go on their way to the device now: a port layer that
  // gathers writes (a simulated board over a socket) sends what it holds.
  virtual void Flush() {}
};

}  // namespace board
