// Console output for the benchmarks: program text interleaved with escape
// sequences, tabs, backspaces and line ends, the same bytes on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace console::bench {

inline std::string MixedStream(std::size_t size) {
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

}  // namespace console::bench
