#include <winsock2.h>
#include <ws2tcpip.h>

#include "t800/emu/net.h"

namespace t800emu {
namespace {

// Winsock is started for as long as a listener lives.
struct WinsockScope {
  WinsockScope() {
    WSADATA data;
    ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockScope() {
    if (ok) WSACleanup();
  }
  bool ok = false;
};

class WinsockConnection final : public TcpConnection {
 public:
  explicit WinsockConnection(SOCKET s) : socket_(s) {}
  ~WinsockConnection() override { closesocket(socket_); }

  std::ptrdiff_t Receive(std::uint8_t* buffer, std::size_t capacity, int timeout_ms) override {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval wait{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, timeout_ms < 0 ? nullptr : &wait);
    if (ready < 0) return -1;
    if (ready == 0) return 0;
    const int got = recv(socket_, reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
    return got > 0 ? got : -1;
  }

  bool SendAll(const std::uint8_t* bytes, std::size_t count) override {
    while (count > 0) {
      const int sent = send(socket_, reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
      if (sent <= 0) return false;
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
    }
    return true;
  }

 private:
  SOCKET socket_;
};

class WinsockListener final : public TcpListener {
 public:
  WinsockListener(std::unique_ptr<WinsockScope> scope, SOCKET s, std::uint16_t port)
      : scope_(std::move(scope)), socket_(s), port_(port) {}
  ~WinsockListener() override { closesocket(socket_); }

  std::unique_ptr<TcpConnection> Accept() override {
    const SOCKET s = accept(socket_, nullptr, nullptr);
    if (s == INVALID_SOCKET) return nullptr;
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    return std::make_unique<WinsockConnection>(s);
  }
  std::uint16_t port() const override { return port_; }

 private:
  std::unique_ptr<WinsockScope> scope_;
  SOCKET socket_;
  std::uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpListener> Listen(const std::string& host, std::uint16_t port, std::string& error) {
  auto scope = std::make_unique<WinsockScope>();
  if (!scope->ok) {
    error = "cannot start Winsock";
    return nullptr;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0) {
    error = "cannot resolve " + host;
    return nullptr;
  }
  const SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  const bool ok = s != INVALID_SOCKET && bind(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0 &&
                  listen(s, 1) == 0;
  freeaddrinfo(found);
  if (!ok) {
    error = "cannot listen (Winsock error " + std::to_string(WSAGetLastError()) + ")";
    if (s != INVALID_SOCKET) closesocket(s);
    return nullptr;
  }
  sockaddr_in bound{};
  int length = sizeof bound;
  getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length);
  return std::make_unique<WinsockListener>(std::move(scope), s, ntohs(bound.sin_port));
}

}  // namespace t800emu
