// The protocol core's link when the board is emulated in the same process:
// reading and writing run the processor, so the program advances exactly as
// far as the conversation needs. Platform-free; the pause while every
// process waits for a timer is passed in, so tests can move a fake clock.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "iserver/core/link_port.h"
#include "t800/core/transputer.h"

namespace t800emu {

class EmulatedLink final : public iserver::LinkPort {
 public:
  using Pause = std::function<void(std::uint64_t microseconds)>;
  EmulatedLink(t800::Transputer& cpu, t800::Clock& clock, Pause pause) : cpu_(cpu), clock_(clock), pause_(std::move(pause)) {}

  std::int32_t Read(std::uint8_t* buffer, std::int32_t count) override;
  std::int32_t Write(const std::uint8_t* data, std::int32_t count) override;
  // The board's error line as the server sees it: only a processor that
  // halted on its error can never answer again, so only that raises it,
  // unless every Error counts (the user asked for -se).
  bool ErrorRaised() override;
  bool Reset() override;

  void set_every_error_counts(bool on) { every_error_counts_ = on; }
  // Every process waits and nothing (no timer, no link) can wake one: the
  // program will never send again. Read then fails the link.
  bool stopped() const { return stopped_; }

  static constexpr std::uint64_t kSliceCycles = 50000;
  static constexpr std::uint64_t kShortWaitMicroseconds = 50000;
  static constexpr int kMaxSlicesPerRead = 200;

 private:
  enum class Progress { kRunning, kWaitingForInput, kHalted };
  // Runs one slice and collects output; pauses while only a timer can wake
  // the processor.
  Progress Advance();
  std::size_t TakeOutput(std::uint8_t* buffer, std::size_t count);

  t800::Transputer& cpu_;
  t800::Clock& clock_;
  Pause pause_;
  std::deque<std::uint8_t> output_;  // sent by the program while we were writing
  bool every_error_counts_ = false;
  bool stopped_ = false;
};

}  // namespace t800emu
