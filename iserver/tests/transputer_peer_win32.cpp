#include "iserver/tests/transputer_peer_win32.h"

#include <winsock2.h>

#include "boards/link/sim_wire.h"

namespace iserver::testing {

namespace wire = board::sim_wire;

TransputerPeer::TransputerPeer() : listener_(INVALID_SOCKET), socket_(INVALID_SOCKET) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(s, 1) == 0) listener_ = s;
}

TransputerPeer::~TransputerPeer() {
  if (socket_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(socket_));
  if (listener_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(listener_));
  WSACleanup();
}

std::string TransputerPeer::address() const {
  sockaddr_in address{};
  int length = sizeof address;
  getsockname(static_cast<SOCKET>(listener_), reinterpret_cast<sockaddr*>(&address), &length);
  return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

namespace {

bool Readable(SOCKET s, unsigned timeout_ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{static_cast<long>(timeout_ms / 1000), static_cast<long>(timeout_ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

}  // namespace

bool TransputerPeer::Accept(unsigned timeout_ms) {
  if (listener_ == INVALID_SOCKET || !Readable(static_cast<SOCKET>(listener_), timeout_ms)) return false;
  SOCKET s = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
  if (s == INVALID_SOCKET) return false;
  BOOL no_delay = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
  socket_ = s;
  return true;
}

bool TransputerPeer::Receive(unsigned timeout_ms) {
  if (socket_ == INVALID_SOCKET || !Readable(static_cast<SOCKET>(socket_), timeout_ms)) return false;
  char chunk[8192];
  const int got = recv(static_cast<SOCKET>(socket_), chunk, sizeof chunk, 0);
  if (got <= 0) return false;
  for (int i = 0; i < got; ++i) {
    const auto byte = static_cast<std::uint8_t>(chunk[i]);
    if (pending_tag_ < 0) {
      pending_tag_ = byte;
      continue;
    }
    if (pending_tag_ == wire::kData) data_.push_back(byte);
    if (pending_tag_ == wire::kReset) {
      if (reset_line_ && byte == 0) ++resets_;
      reset_line_ = byte != 0;
    }
    pending_tag_ = -1;
  }
  return true;
}

bool TransputerPeer::AwaitReset(unsigned timeout_ms) {
  const int before = resets_;
  const DWORD start = GetTickCount();
  while (resets_ == before) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeout_ms || !Receive(timeout_ms - spent)) return resets_ != before;
  }
  return true;
}

TransputerPeer::Bytes TransputerPeer::Take(std::size_t count, unsigned timeout_ms) {
  const DWORD start = GetTickCount();
  while (data_.size() < count) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeout_ms || !Receive(timeout_ms - spent)) break;
  }
  const std::size_t n = data_.size() < count ? data_.size() : count;
  Bytes out(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(n));
  data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(n));
  return out;
}

bool TransputerPeer::SendFrames(const Bytes& frames) {
  std::size_t sent = 0;
  while (sent < frames.size()) {
    const int n = send(static_cast<SOCKET>(socket_), reinterpret_cast<const char*>(frames.data() + sent),
                       static_cast<int>(frames.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool TransputerPeer::Send(const Bytes& data) {
  Bytes frames;
  frames.reserve(data.size() * 2);
  for (std::uint8_t byte : data) frames.insert(frames.end(), {wire::kData, byte});
  return SendFrames(frames);
}

bool TransputerPeer::SetErrorFlag(bool raised) {
  return SendFrames({wire::kError, static_cast<std::uint8_t>(raised ? 1 : 0)});
}

TransputerPeer::Bytes TransputerPeer::Ask(const Bytes& request_frame, unsigned timeout_ms) {
  return Send(request_frame) ? TakeReply(timeout_ms) : Bytes{};
}

TransputerPeer::Bytes TransputerPeer::TakeReply(unsigned timeout_ms) {
  const Bytes length = Take(2, timeout_ms);
  if (length.size() < 2) return {};
  const std::size_t n = length[0] | static_cast<std::size_t>(length[1]) << 8;
  Bytes payload = Take(n, timeout_ms);
  return payload.size() == n ? payload : Bytes{};
}

}  // namespace iserver::testing
