// ReadLink and WriteLink over the simulated adapter with an always-ready peer:
// bytes per second and port accesses per byte.
#include <chrono>
#include <cstdio>
#include <vector>

#include "boards/link/link_adapter.h"
#include "boards/link/simulated_c012.h"
#include "boards/link/tests/memory_peer.h"

namespace {

class CountingPorts final : public board::PortAccess {
 public:
  explicit CountingPorts(board::PortAccess& inner) : inner_(inner) {}
  std::uint8_t In(std::uint16_t port) override { ++accesses; return inner_.In(port); }
  void Out(std::uint16_t port, std::uint8_t value) override { ++accesses; inner_.Out(port, value); }
  unsigned long long accesses = 0;

 private:
  board::PortAccess& inner_;
};

}  // namespace

int main() {
  board::testing::AlwaysReadyPeer peer;
  board::SimulatedC012 adapter(peer, 0x150);
  CountingPorts ports(adapter);
  board::LinkAdapter link(ports);
  link.OpenLink(nullptr, 10000);

  constexpr int kBlock = 64 * 1024;
  constexpr int kRounds = 64;
  std::vector<std::uint8_t> buffer(kBlock);
  for (const char* what : {"ReadLink", "WriteLink"}) {
    ports.accesses = 0;
    const auto start = std::chrono::steady_clock::now();
    long long moved = 0;
    for (int i = 0; i < kRounds; ++i) {
      moved += what[0] == 'R' ? link.ReadLink(1, buffer.data(), kBlock)
                              : link.WriteLink(1, buffer.data(), kBlock);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-9s %10.0f bytes/s  %.2f port accesses/byte\n", what, moved / seconds,
                static_cast<double>(ports.accesses) / static_cast<double>(moved));
  }
  return 0;
}
