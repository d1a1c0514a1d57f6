// Serves one PeerSession over a TCP connection on the loopback address.
// Builds on POSIX sockets and on Winsock, so the same peer runs as a Linux tool
// and inside a Windows test.
#pragma once

#include <cstdint>

#include "tools/c012_peer/peer_session.h"

namespace peer {

class PeerServer {
 public:
  PeerServer();
  ~PeerServer();
  PeerServer(const PeerServer&) = delete;
  PeerServer& operator=(const PeerServer&) = delete;

  // Listens on 127.0.0.1:port (0: any free port); false when that fails.
  bool Listen(std::uint16_t port);
  std::uint16_t port() const { return port_; }
  // Accepts one connection and serves it until the adapter disconnects.
  bool ServeOne(PeerSession& session);

 private:
  std::intptr_t listener_;
  std::uint16_t port_ = 0;
};

}  // namespace peer
