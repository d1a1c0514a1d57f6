#include "t800/emu/emulated_link.h"

#include <algorithm>

namespace t800emu {

using t800::RunStatus;

EmulatedLink::Progress EmulatedLink::Advance() {
  const RunStatus status = cpu_.Run(kSliceCycles);
  std::uint8_t chunk[512];
  for (std::size_t n; (n = cpu_.LinkOutput(0, chunk, sizeof chunk)) > 0;) output_.insert(output_.end(), chunk, chunk + n);
  if (status == RunStatus::kHalted) return Progress::kHalted;
  if (status != RunStatus::kIdle || cpu_.status() != RunStatus::kIdle || !output_.empty()) return Progress::kRunning;
  const auto timer = cpu_.MicrosecondsToNextTimer();
  if (!timer) return Progress::kWaitingForInput;
  pause_(std::min<std::uint64_t>(*timer, kShortWaitMicroseconds));
  return Progress::kRunning;
}

std::size_t EmulatedLink::TakeOutput(std::uint8_t* buffer, std::size_t count) {
  const std::size_t n = std::min(count, output_.size());
  std::copy_n(output_.begin(), n, buffer);
  output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(n));
  return n;
}

std::int32_t EmulatedLink::Read(std::uint8_t* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  const std::uint64_t start = clock_.Microseconds();
  for (int slices = 0;; ++slices) {
    if (const std::size_t got = TakeOutput(buffer, static_cast<std::size_t>(count)); got > 0) {
      return static_cast<std::int32_t>(got);
    }
    switch (Advance()) {
      case Progress::kRunning: break;
      case Progress::kWaitingForInput:  // for input, while it should be sending: deadlock
        stopped_ = true;
        return -1;
      case Progress::kHalted:  // nothing more will come; the caller looks at the error line
        pause_(kShortWaitMicroseconds);
        return 0;
    }
    // A short while, in time or (for a clock that stands still) in work.
    if (output_.empty() && (clock_.Microseconds() - start >= kShortWaitMicroseconds || slices >= kMaxSlicesPerRead)) {
      return 0;
    }
  }
}

std::int32_t EmulatedLink::Write(const std::uint8_t* data, std::int32_t count) {
  std::size_t done = 0;
  const auto total = static_cast<std::size_t>(std::max(count, 0));
  while (done < total) {
    const std::size_t taken = cpu_.LinkInput(0, data + done, total - done);
    done += taken;
    // Only a processor that took nothing needs to run before more is offered;
    // one that takes nothing after running has stopped reading.
    if (done == total || taken > 0) continue;
    const Progress progress = Advance();
    if (progress == Progress::kHalted) break;
    if (progress == Progress::kWaitingForInput) {
      const std::size_t more = cpu_.LinkInput(0, data + done, total - done);
      done += more;
      if (more == 0) {
        stopped_ = true;
        break;
      }
    }
  }
  return static_cast<std::int32_t>(done);
}

bool EmulatedLink::ErrorRaised() {
  return cpu_.error() && (every_error_counts_ || cpu_.status() == RunStatus::kHalted);
}

bool EmulatedLink::Reset() {
  cpu_.Reset();
  output_.clear();
  stopped_ = false;
  return true;
}

}  // namespace t800emu
