// The simulated adapter's stream to its peer over TCP (Winsock).
#pragma once

#include <cstdint>
#include <vector>

#include "boards/link/simulated_c012.h"

namespace board {

class TcpPeerChannel final : public PeerChannel {
 public:
  // "host:port" or "port" (on 127.0.0.1). Connects at once; a failed
  // connection gives a peer that is gone from the start.
  explicit TcpPeerChannel(const char* address);
  ~TcpPeerChannel() override;
  TcpPeerChannel(const TcpPeerChannel&) = delete;
  TcpPeerChannel& operator=(const TcpPeerChannel&) = delete;

  bool Send(const std::uint8_t* bytes, std::size_t count) override;
  std::ptrdiff_t Receive(std::uint8_t* bytes, std::size_t capacity) override;
  void Flush() override;  // sends what waits in outgoing_

 private:
  bool Drain();  // moves what has arrived into held_; false when the peer left

  std::uintptr_t socket_;
  bool started_ = false;
  bool gone_ = false;
  std::vector<std::uint8_t> held_;  // arrived while a send had to wait
  std::size_t held_at_ = 0;         // how much of held_ has been read
  // Frames are gathered and sent when a link call ends (Flush), when the
  // adapter looks for an answer, or a few kilobytes at a time: one system
  // call per byte would cost more than the byte is worth.
  std::vector<std::uint8_t> outgoing_;
};

}  // namespace board
