// A C012 link adapter in software: the register map at a port base, over a
// byte stream to a peer (a test script, an echo, an emulated transputer).
// Ports outside the board read 0, so a link name that misses it finds a board
// that never answers, as on real hardware with nothing at that address.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "boards/link/port_access.h"

namespace board {

// The stream to the peer. Receive never blocks: it returns what has arrived.
class PeerChannel {
 public:
  virtual ~PeerChannel() = default;
  virtual bool Send(const std::uint8_t* bytes, std::size_t count) = 0;
  // Bytes stored (0 when none waits); -1 when the peer is gone.
  virtual std::ptrdiff_t Receive(std::uint8_t* bytes, std::size_t capacity) = 0;
  // Sends what Send has gathered, if it gathers.
  virtual void Flush() {}
};

class SimulatedC012 final : public PortAccess {
 public:
  SimulatedC012(PeerChannel& peer, std::uint16_t port_base) : peer_(peer), base_(port_base) {}

  std::uint8_t In(std::uint16_t port) override;
  void Out(std::uint16_t port, std::uint8_t value) override;
  void Flush() override { peer_.Flush(); }

 private:
  void Pump();  // takes what the peer has sent into the input queue
  void SendFrame(std::uint8_t tag, std::uint8_t value);

  PeerChannel& peer_;
  std::uint16_t base_;
  std::deque<std::uint8_t> input_;
  std::uint8_t last_input_ = 0;
  bool error_flag_ = false;
  bool gone_ = false;
  int pending_tag_ = -1;  // first half of a frame split across receives
};

}  // namespace board
