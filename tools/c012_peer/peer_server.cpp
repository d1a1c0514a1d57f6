#include "tools/c012_peer/peer_server.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketLength = int;
using NativeSocket = SOCKET;
static constexpr int kSendFlags = 0;
static void CloseSocket(std::intptr_t s) { closesocket(static_cast<SOCKET>(s)); }
static constexpr std::intptr_t kNoSocket = static_cast<std::intptr_t>(INVALID_SOCKET);
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketLength = socklen_t;
using NativeSocket = int;
// A send to a peer that has gone must fail, not raise SIGPIPE and end the process.
static constexpr int kSendFlags = MSG_NOSIGNAL;
static void CloseSocket(std::intptr_t s) { ::close(static_cast<int>(s)); }
static constexpr std::intptr_t kNoSocket = -1;
#endif

#include <vector>

namespace peer {
namespace {

bool SendAll(std::intptr_t s, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto sent = send(static_cast<NativeSocket>(s),
                           reinterpret_cast<const char*>(bytes.data() + done),
                           static_cast<int>(bytes.size() - done), kSendFlags);
    if (sent <= 0) return false;
    done += static_cast<std::size_t>(sent);
  }
  return true;
}

}  // namespace

PeerServer::PeerServer() : listener_(kNoSocket) {
#if defined(_WIN32)
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
}

PeerServer::~PeerServer() {
  if (listener_ != kNoSocket) CloseSocket(listener_);
#if defined(_WIN32)
  WSACleanup();
#endif
}

bool PeerServer::Listen(std::uint16_t port) {
  const auto s = socket(AF_INET, SOCK_STREAM, 0);
  if (static_cast<std::intptr_t>(s) == kNoSocket) return false;
  listener_ = static_cast<std::intptr_t>(s);
  int reuse = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
  if (listen(s, 1) != 0) return false;
  SocketLength length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

bool PeerServer::ServeOne(PeerSession& session) {
  const auto s = accept(static_cast<NativeSocket>(listener_), nullptr, nullptr);
  if (static_cast<std::intptr_t>(s) == kNoSocket) return false;
  int no_delay = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
  bool ok = SendAll(static_cast<std::intptr_t>(s), session.Start());
  char chunk[4096];
  while (ok) {
    const auto got = recv(s, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk);
    ok = SendAll(static_cast<std::intptr_t>(s), session.OnReceive({bytes, static_cast<std::size_t>(got)}));
  }
  CloseSocket(static_cast<std::intptr_t>(s));
  return ok;
}

}  // namespace peer
