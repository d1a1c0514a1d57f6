// The emulated board behind a simulated C012: reads the adapter's two-byte
// frames (D data, R reset line, A analyse line), drives the processor's
// link 0, and answers with D data and E error-flag frames. Platform-free;
// the socket loop that carries the frames lives in board_server.cpp.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "t800/core/transputer.h"

namespace t800emu {

class BoardSession {
 public:
  explicit BoardSession(t800::Transputer& cpu) : cpu_(cpu) {}

  // Frames from the adapter (any split).
  void Receive(std::span<const std::uint8_t> bytes);
  // False while enough data waits for the processor: stop reading the
  // connection, so TCP carries the back-pressure to the adapter.
  bool WantsInput() const { return input_.size() < kInputLimit; }
  // Runs the processor for a slice and collects what it sent. Returns how
  // long the caller may wait for the connection before pumping again:
  // 0 while the processor has work, the time to its next timer when it
  // idles, nullopt when only the adapter can wake it.
  std::optional<std::uint64_t> Pump();
  // The frames to send, taken.
  std::vector<std::uint8_t> TakeOutgoing();
  // A new connection: the adapter's lines start low; the processor keeps
  // running (the board stays powered) but bytes of the old link are gone.
  void Restart();

  static constexpr std::size_t kInputLimit = 64 * 1024;
  static constexpr std::uint64_t kSliceCycles = 20000;

 private:
  void OnFrame(std::uint8_t tag, std::uint8_t value);
  void FeedInput();
  void DrainOutput();
  void ReportErrorFlag();

  t800::Transputer& cpu_;
  std::deque<std::uint8_t> input_;
  std::vector<std::uint8_t> outgoing_;
  int pending_tag_ = -1;
  bool reset_line_ = false, analyse_line_ = false;
  std::optional<bool> error_sent_;
};

}  // namespace t800emu
