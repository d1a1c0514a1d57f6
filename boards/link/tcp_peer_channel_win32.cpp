#include "boards/link/tcp_peer_channel_win32.h"

// Winsock 1.1 calls only: link.dll links wsock32.dll, which every Windows 95
// has, so the library still loads where Winsock 2 was never installed.
#include <winsock2.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace board {

TcpPeerChannel::TcpPeerChannel(const char* address) : socket_(INVALID_SOCKET) {
  WSADATA data;
  started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  gone_ = true;
  if (!started_ || address == nullptr) return;

  std::string host = "127.0.0.1";
  std::string port = address;
  if (const auto colon = port.rfind(':'); colon != std::string::npos) {
    host = port.substr(0, colon);
    port = port.substr(colon + 1);
  }
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<u_short>(std::strtoul(port.c_str(), nullptr, 10)));
  peer.sin_addr.s_addr = inet_addr(host.c_str());
  if (peer.sin_addr.s_addr == INADDR_NONE) {
    const hostent* entry = gethostbyname(host.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET) return;
    std::memcpy(&peer.sin_addr, entry->h_addr_list[0], sizeof peer.sin_addr);
  }
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
    u_long non_blocking = 1;
    ioctlsocket(s, FIONBIO, &non_blocking);
    BOOL no_delay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
    int buffer_size = 1 << 20;
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&buffer_size), sizeof buffer_size);
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer_size), sizeof buffer_size);
    socket_ = s;
    gone_ = false;
  } else if (s != INVALID_SOCKET) {
    closesocket(s);
  }
}

TcpPeerChannel::~TcpPeerChannel() {
  Flush();
  if (socket_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(socket_));
  if (started_) WSACleanup();
}

bool TcpPeerChannel::Drain() {
  char chunk[4096];
  for (;;) {
    const int got = recv(static_cast<SOCKET>(socket_), chunk, sizeof chunk, 0);
    if (got > 0) {
      held_.insert(held_.end(), chunk, chunk + got);
      continue;
    }
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return true;
    gone_ = true;
    return false;
  }
}

bool TcpPeerChannel::Send(const std::uint8_t* bytes, std::size_t count) {
  if (gone_) return false;
  outgoing_.insert(outgoing_.end(), bytes, bytes + count);
  if (outgoing_.size() >= 8192) Flush();
  return !gone_;
}

void TcpPeerChannel::Flush() {
  const std::uint8_t* bytes = outgoing_.data();
  std::size_t count = outgoing_.size();
  while (count > 0 && !gone_) {
    const int sent = send(static_cast<SOCKET>(socket_), reinterpret_cast<const char*>(bytes),
                          static_cast<int>(std::min<std::size_t>(count, 1 << 20)), 0);
    if (sent > 0) {
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
      continue;
    }
    if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
      // The peer is not taking bytes; keep taking its bytes meanwhile so
      // neither side waits on the other forever.
      if (!Drain()) break;
      fd_set writable;
      FD_ZERO(&writable);
      FD_SET(static_cast<SOCKET>(socket_), &writable);
      timeval wait{0, 1000};
      select(0, nullptr, &writable, nullptr, &wait);
      continue;
    }
    gone_ = true;
  }
  outgoing_.clear();
}

std::ptrdiff_t TcpPeerChannel::Receive(std::uint8_t* bytes, std::size_t capacity) {
  Flush();
  if (held_at_ == held_.size()) {
    held_.clear();
    held_at_ = 0;
    if (!gone_) Drain();
  }
  if (held_at_ == held_.size()) return gone_ ? -1 : 0;
  // Reading advances an offset: erasing from the front of held_ on every call
  // would cost time in proportion to all that still waits.
  const std::size_t n = std::min(capacity, held_.size() - held_at_);
  std::memcpy(bytes, held_.data() + held_at_, n);
  held_at_ += n;
  return static_cast<std::ptrdiff_t>(n);
}

}  // namespace board
