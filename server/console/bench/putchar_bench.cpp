// PutChar throughput of the console model on 1 MiB of mixed text and escape
// sequences, drawing to a sink that does nothing.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "server/console/bench/mixed_stream.h"
#include "server/console/console_model.h"

int main() {
  const std::string stream = console::bench::MixedStream(1 << 20);
  console::NullSink sink;
  console::ConsoleModel model(sink);
  constexpr int kRounds = 20;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < kRounds; ++round) {
    for (char c : stream) model.PutChar(static_cast<std::uint8_t>(c));
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  const double bytes = static_cast<double>(stream.size()) * kRounds;
  std::printf("PutChar: %.1f MB/s (%.0f bytes/s), cursor %d,%d\n", bytes / elapsed.count() / 1e6,
              bytes / elapsed.count(), model.cursor_col(), model.cursor_row());
  return 0;
}
