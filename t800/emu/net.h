// The little TCP the board needs: listen on a host and port, accept one
// connection at a time, wait for bytes with a timeout, send. POSIX sockets
// in net_posix.cpp, Winsock in net_win32.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace t800emu {

class TcpConnection {
 public:
  virtual ~TcpConnection() = default;
  // Waits up to timeout_ms (-1: for ever) for bytes. Returns the count
  // stored, 0 when none came in time, -1 when the peer has gone.
  virtual std::ptrdiff_t Receive(std::uint8_t* buffer, std::size_t capacity, int timeout_ms) = 0;
  virtual bool SendAll(const std::uint8_t* bytes, std::size_t count) = 0;
};

class TcpListener {
 public:
  virtual ~TcpListener() = default;
  virtual std::unique_ptr<TcpConnection> Accept() = 0;  // nullptr on failure
  virtual std::uint16_t port() const = 0;
};

// Listens on host:port (port 0: any free port); nullptr with a message in
// `error` when that fails.
std::unique_ptr<TcpListener> Listen(const std::string& host, std::uint16_t port, std::string& error);

}  // namespace t800emu
