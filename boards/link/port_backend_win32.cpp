#include "boards/link/port_backend_win32.h"

#include <windows.h>

#include <memory>

#include "boards/include/link_name.h"
#include "boards/link/direct_ports_win32.h"
#include "boards/link/simulated_c012.h"
#include "boards/link/tcp_peer_channel_win32.h"

namespace board {
namespace {

struct Simulation {
  std::unique_ptr<TcpPeerChannel> channel;
  std::unique_ptr<SimulatedC012> adapter;
};

// Reads an environment variable into a fixed buffer; empty when unset.
bool ReadVariable(const char* name, char (&value)[256]) {
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value;
}

class LazyPorts final : public PortAccess {
 public:
  std::uint8_t In(std::uint16_t port) override { return Chosen().In(port); }
  void Out(std::uint16_t port, std::uint8_t value) override { Chosen().Out(port, value); }
  void Flush() override {
    if (chosen_) chosen_->Flush();
  }
 private:
  PortAccess& Chosen() {
    if (chosen_) return *chosen_;
    char address[256];
    if (ReadVariable("TESSEL_SIMULATED_C012", address)) {
      char base_text[256];
      std::uint32_t base = link_interface::kDefaultPortBase;
      if (ReadVariable("TESSEL_SIMULATED_C012_BASE", base_text))
        base = link_interface::ParsePortBase(base_text, link_interface::kPortIoFormats)
                   .value_or(link_interface::kDefaultPortBase);
      simulation_.channel = std::make_unique<TcpPeerChannel>(address);
      simulation_.adapter =
          std::make_unique<SimulatedC012>(*simulation_.channel, static_cast<std::uint16_t>(base));
      chosen_ = simulation_.adapter.get();
    } else {
      chosen_ = &direct_;
    }
    return *chosen_;
  }

  PortAccess* chosen_ = nullptr;
  DirectPorts direct_;
  Simulation simulation_;
};

// Constructed at load without touching a port or the network; its destructor
// drops a simulated board's connection when the library unloads.
LazyPorts g_ports;

}  // namespace

PortAccess& SelectedPorts() { return g_ports; }

}  // namespace board
