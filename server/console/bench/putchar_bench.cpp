// PutChar throughput of the console model on 1 MiB of mixed text and escape
// sequences, drawing to a sink that does nothing.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "server/console/console_model.h"

namespace {

std::string MixedStream(std::size_t size) {
  static const char* const pieces[] = {
      "The quick brown fox jumps over the lazy dog. ",
      "\x1b[12;34H",
      "0123456789\t",
      "\x1b[K",
      "status: ok\r\n",
      "\x1b[2A",
      "\x1b[s",
      "\x1b[1;31m",
      "\x1b[u",
      "\x1b[5C",
      "line of output that wraps past the eightieth column of the grid ",
      "\n",
      "\x1b[3D",
      "\b\b",
      "\x1b[0J",
  };
  std::string stream;
  std::uint32_t seed = 12345;
  while (stream.size() < size) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t pick = (seed >> 16) % (sizeof pieces / sizeof pieces[0]);
    // Clearing is rare in real output; let most picks of it through as text.
    if (pick == 14 && (seed >> 8) % 16 != 0) continue;
    stream += pieces[pick];
  }
  stream.resize(size);
  return stream;
}

}  // namespace

int main() {
  const std::string stream = MixedStream(1 << 20);
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
