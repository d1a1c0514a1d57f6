#include "t800/emu/board_session.h"

#include <algorithm>

#include "boards/link/sim_wire.h"

namespace t800emu {

namespace wire = board::sim_wire;

void BoardSession::Restart() {
  input_.clear();
  outgoing_.clear();
  pending_tag_ = -1;
  reset_line_ = analyse_line_ = false;
  error_sent_.reset();
}

void BoardSession::Receive(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    if (pending_tag_ < 0) {
      pending_tag_ = byte;
      continue;
    }
    OnFrame(static_cast<std::uint8_t>(pending_tag_), byte);
    pending_tag_ = -1;
  }
  FeedInput();
}

void BoardSession::OnFrame(std::uint8_t tag, std::uint8_t value) {
  const bool high = (value & 1) != 0;
  switch (tag) {
    case wire::kData:
      input_.push_back(value);
      break;
    case wire::kReset:
      // The processor resets as the line rises: with analyse high that is
      // an analyse. Whatever the link held is lost with it.
      if (high && !reset_line_) {
        input_.clear();
        outgoing_.clear();  // sent after the reset, the adapter would take them for new data
        if (analyse_line_) cpu_.Analyse(); else cpu_.Reset();
      }
      reset_line_ = high;
      break;
    case wire::kAnalyse:
      analyse_line_ = high;
      break;
    default:
      break;  // unknown frames are skipped with their value
  }
}

void BoardSession::FeedInput() {
  while (!input_.empty()) {
    // The deque's first run of contiguous bytes, a piece at a time.
    std::uint8_t chunk[512];
    const std::size_t n = std::min(input_.size(), sizeof chunk);
    std::copy_n(input_.begin(), n, chunk);
    const std::size_t taken = cpu_.LinkInput(0, chunk, n);
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(taken));
    if (taken < n) break;
  }
}

void BoardSession::DrainOutput() {
  std::uint8_t chunk[512];
  for (std::size_t n; (n = cpu_.LinkOutput(0, chunk, sizeof chunk)) > 0;) {
    for (std::size_t i = 0; i < n; ++i) outgoing_.insert(outgoing_.end(), {wire::kData, chunk[i]});
  }
}

void BoardSession::ReportErrorFlag() {
  const bool error = cpu_.error();
  if (error_sent_ == error) return;
  error_sent_ = error;
  outgoing_.insert(outgoing_.end(), {wire::kError, static_cast<std::uint8_t>(error ? 1 : 0)});
}

std::optional<std::uint64_t> BoardSession::Pump() {
  FeedInput();
  const t800::RunStatus status = cpu_.Run(kSliceCycles);
  DrainOutput();
  FeedInput();  // the program may have started an input meanwhile
  ReportErrorFlag();
  if (status == t800::RunStatus::kBudgetUsed) return 0;
  if (status == t800::RunStatus::kIdle) {
    // Output taken or input given may have made something ready.
    if (cpu_.status() != t800::RunStatus::kIdle) return 0;
    return cpu_.MicrosecondsToNextTimer();
  }
  return std::nullopt;
}

std::vector<std::uint8_t> BoardSession::TakeOutgoing() {
  std::vector<std::uint8_t> out;
  out.swap(outgoing_);
  return out;
}

}  // namespace t800emu
