#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "t800/emu/net.h"

namespace t800emu {
namespace {

class PosixConnection final : public TcpConnection {
 public:
  explicit PosixConnection(int fd) : fd_(fd) {}
  ~PosixConnection() override { ::close(fd_); }

  std::ptrdiff_t Receive(std::uint8_t* buffer, std::size_t capacity, int timeout_ms) override {
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeout_ms);
    if (ready < 0) return errno == EINTR ? 0 : -1;
    if (ready == 0) return 0;
    const ssize_t got = ::recv(fd_, buffer, capacity, 0);
    return got > 0 ? got : -1;
  }

  bool SendAll(const std::uint8_t* bytes, std::size_t count) override {
    while (count > 0) {
      // A peer that has gone must fail the send, not raise SIGPIPE.
      const ssize_t sent = ::send(fd_, bytes, count, MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent <= 0) return false;
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
    }
    return true;
  }

 private:
  int fd_;
};

class PosixListener final : public TcpListener {
 public:
  PosixListener(int fd, std::uint16_t port) : fd_(fd), port_(port) {}
  ~PosixListener() override { ::close(fd_); }

  std::unique_ptr<TcpConnection> Accept() override {
    int fd;
    do fd = ::accept(fd_, nullptr, nullptr);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return std::make_unique<PosixConnection>(fd);
  }
  std::uint16_t port() const override { return port_; }

 private:
  int fd_;
  std::uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpListener> Listen(const std::string& host, std::uint16_t port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int rc = ::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found); rc != 0) {
    error = "cannot resolve " + host + ": " + ::gai_strerror(rc);
    return nullptr;
  }
  const int fd = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  int one = 1;
  if (fd >= 0) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (fd < 0 || ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 1) != 0) {
    error = std::string("cannot listen: ") + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    ::freeaddrinfo(found);
    return nullptr;
  }
  ::freeaddrinfo(found);
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
  return std::make_unique<PosixListener>(fd, ntohs(bound.sin_port));
}

}  // namespace t800emu
