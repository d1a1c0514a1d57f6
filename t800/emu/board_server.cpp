#include "t800/emu/board_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "t800/emu/board_session.h"
#include "t800/emu/net.h"

namespace t800emu {

int ServeBoard(t800::Transputer& cpu, const std::string& host, std::uint16_t port) {
  std::string error;
  const auto listener = Listen(host, port, error);
  if (!listener) {
    std::fprintf(stderr, "t800emu: %s\n", error.c_str());
    return 1;
  }
  std::printf("t800emu: board listening on %s:%u (link 0)\n", host.c_str(), listener->port());
  std::fflush(stdout);
  BoardSession session(cpu);
  for (;;) {
    const auto connection = listener->Accept();
    if (!connection) continue;
    session.Restart();
    std::uint8_t buffer[4096];
    for (;;) {
      const std::optional<std::uint64_t> idle = session.Pump();
      const std::vector<std::uint8_t> out = session.TakeOutgoing();
      if (!out.empty() && !connection->SendAll(out.data(), out.size())) break;
      // Busy: only look at the connection; idle: wait for it or the next timer.
      int timeout_ms = 0;
      if (!idle) timeout_ms = 100;
      else if (*idle > 0) timeout_ms = static_cast<int>(std::min<std::uint64_t>((*idle + 999) / 1000, 100));
      if (!session.WantsInput()) {  // the processor must take input first
        if (timeout_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
        continue;
      }
      const std::ptrdiff_t got = connection->Receive(buffer, sizeof buffer, timeout_ms);
      if (got < 0) break;
      session.Receive({buffer, static_cast<std::size_t>(got)});
    }
  }
}

}  // namespace t800emu
