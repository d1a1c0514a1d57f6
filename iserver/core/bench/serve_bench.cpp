// SP throughput of the core alone: a client sends WRITE requests of 500 bytes
// as fast as replies come back, over an in-memory link to an in-memory file.
#include <chrono>
#include <cstdio>

#include "iserver/core/session.h"
#include "iserver/core/tests/fakes.h"

using namespace iserver;
using namespace iserver::testing;

int main() {
  constexpr int kRequests = 200000;
  constexpr std::size_t kPayload = 500;
  MemoryLink link;
  MemoryHost host;
  ScriptedConsole console;
  Session session(link, host, console, ParseParameters("bench", ""), {});
  link.Queue(Request(10).Slice("sink").Byte(1).Byte(2).Frame());
  while (link.sent.empty()) session.Step();
  link.Take();
  const Bytes request = Request(13).Int32(3).Slice(std::string(kPayload, 'w')).Frame();

  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRequests; ++i) {
    link.Queue(request);
    while (link.sent.empty()) session.Step();
    link.sent.clear();
    // The sink file would grow without end: keep it small.
    if ((i & 1023) == 0) host.files["sink"].clear();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("iserver core: %d WRITE requests of %zu bytes in %.3f s: %.0f requests/s, %.1f MB/s payload\n",
              kRequests, kPayload, seconds, kRequests / seconds, kRequests * kPayload / seconds / 1e6);
  return 0;
}
