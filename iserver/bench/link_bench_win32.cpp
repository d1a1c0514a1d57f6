// SP throughput through link.dll's simulated adapter under Wine: the protocol
// core (over BoardLink, as in iserver.dll) serves a transputer, played by
// TransputerPeer over TCP, that sends WRITE requests of 500 bytes to stdout
// as fast as the replies come back. Also times a read of a quiet link: how
// long the core waits between looks at suspend and terminate requests.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "iserver/board_link_win32.h"
#include "iserver/core/session.h"
#include "iserver/core/stdio_host.h"
#include "iserver/core/tests/fakes.h"
#include "iserver/resolve_win32.h"
#include "iserver/tests/transputer_peer_win32.h"

namespace {

class NullConsole final : public iserver::ConsoleIo {
 public:
  void Write(iserver::ConsoleStream, std::span<const std::uint8_t> bytes) override { written += bytes.size(); }
  std::size_t ReadLine(std::uint8_t*, std::size_t) override { return 0; }
  std::optional<std::uint8_t> GetKey() override { return std::nullopt; }
  std::optional<std::uint8_t> PollKey() override { return std::nullopt; }
  std::size_t written = 0;
};

}  // namespace

int main() {
  constexpr int kRequests = 2000;
  constexpr std::size_t kPayload = 500;
  constexpr std::uint32_t kLinkTimeout = 10000;  // the server's default setting
  iserver::testing::TransputerPeer peer;
  SetEnvironmentVariableA("TESSEL_SIMULATED_C012", peer.address().c_str());
  HMODULE board = LoadLibraryA("link.dll");
  const auto open_link = iserver::ResolveExport<link_interface::OpenLinkFn>(board, "OpenLink");
  const auto functions = iserver::BoardFunctions::Resolve(board);
  if (!open_link || !functions.complete()) {
    std::puts("link.dll not found");
    return 1;
  }
  iserver::BoardLink link(functions);
  link.SetHandle(open_link(nullptr, kLinkTimeout));
  iserver::StdioHost host;
  NullConsole console;
  iserver::Session session(link, host, console, iserver::ParseParameters("bench", ""), {});

  double seconds = 0;
  bool ok = true;
  std::thread transputer([&] {
    ok = peer.Accept(10000) && peer.AwaitReset(10000);
    const auto request = iserver::testing::Request(13).Int32(1).Slice(std::string(kPayload, 'w')).Frame();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; ok && i < kRequests; ++i) ok = peer.Ask(request, 10000).size() == 6;
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    peer.Ask(iserver::testing::Request(35).Int32(999999999).Frame(), 10000);
  });
  while (session.Step() != iserver::Session::Progress::kEnded) {
  }
  transputer.join();
  if (!ok) {
    std::puts("the exchange failed");
    return 1;
  }
  std::printf("iserver over link.dll (simulated adapter, link timeout %u): %d WRITE requests of %zu bytes in %.3f s: "
              "%.0f requests/s, %.2f MB/s payload\n",
              kLinkTimeout, kRequests, kPayload, seconds, kRequests / seconds, kRequests * kPayload / seconds / 1e6);

  // A quiet link: the peer has stopped sending.
  std::uint8_t byte;
  const auto start = std::chrono::steady_clock::now();
  constexpr int kQuietReads = 20;
  for (int i = 0; i < kQuietReads; ++i) link.Read(&byte, 1);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("a read of a quiet link returns after %.1f ms (the longest a suspend or terminate waits)\n",
              ms / kQuietReads);
  FreeLibrary(board);
  return 0;
}
