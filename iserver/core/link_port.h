// What the protocol core needs of the link to the board: bytes in, bytes out,
// the error flag and the reset line. iserver.dll puts the board library's
// link functions behind it; a terminal host puts an emulated board there.
#pragma once

#include <cstdint>

namespace iserver {

class LinkPort {
 public:
  virtual ~LinkPort() = default;
  // Stores up to count bytes that have arrived. Waits a short while (well
  // under a tenth of a second) when none has, so that a caller driving the
  // session can stay responsive. Returns the count stored (0: nothing came),
  // or -1 when the link cannot be used at all.
  virtual std::int32_t Read(std::uint8_t* buffer, std::int32_t count) = 0;
  // Sends bytes; returns the count the board took. Fewer than count means the
  // board stopped taking bytes and the port has given up waiting; -1 means
  // the link cannot be used at all.
  virtual std::int32_t Write(const std::uint8_t* data, std::int32_t count) = 0;
  // True while the board's error flag is raised.
  virtual bool ErrorRaised() = 0;
  // Pulses the board's reset line so it waits for a boot; false on failure.
  virtual bool Reset() = 0;
};

}  // namespace iserver
