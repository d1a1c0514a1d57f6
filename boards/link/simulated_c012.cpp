#include "boards/link/simulated_c012.h"

#include "boards/link/c012_registers.h"
#include "boards/link/sim_wire.h"

namespace board {

void SimulatedC012::Pump() {
  if (gone_) return;
  // One chunk per call keeps the queue bounded however fast the peer sends.
  std::array<std::uint8_t, 4096> chunk;
  const std::ptrdiff_t got = peer_.Receive(chunk.data(), chunk.size());
  if (got < 0) {
    gone_ = true;
    return;
  }
  for (std::ptrdiff_t i = 0; i < got; ++i) {
    const std::uint8_t byte = chunk[static_cast<std::size_t>(i)];
    if (pending_tag_ < 0) {
      pending_tag_ = byte;
      continue;
    }
    if (pending_tag_ == sim_wire::kData) input_.push_back(byte);
    if (pending_tag_ == sim_wire::kError) error_flag_ = (byte & 1) != 0;
    pending_tag_ = -1;  // unknown tags are skipped with their value
  }
}

void SimulatedC012::SendFrame(std::uint8_t tag, std::uint8_t value) {
  if (gone_) return;
  const std::uint8_t frame[2] = {tag, value};
  if (!peer_.Send(frame, sizeof frame)) gone_ = true;
}

std::uint8_t SimulatedC012::In(std::uint16_t port) {
  const std::uint16_t offset = static_cast<std::uint16_t>(port - base_);
  switch (offset) {
    case c012::kInputData:
      if (input_.empty()) Pump();
      if (!input_.empty()) {
        last_input_ = input_.front();
        input_.pop_front();
      }
      return last_input_;
    case c012::kInputStatus:
      if (input_.empty()) Pump();
      return input_.empty() ? 0 : 1;
    case c012::kOutputStatus:
      return gone_ ? 0 : 1;
    case c012::kError:
      // The board's error line is active low, which is why TestError answers
      // 1 (raised) when bit 0 reads 0.
      Pump();
      return error_flag_ ? 0 : 1;
    default:
      return 0;
  }
}

void SimulatedC012::Out(std::uint16_t port, std::uint8_t value) {
  const std::uint16_t offset = static_cast<std::uint16_t>(port - base_);
  switch (offset) {
    case c012::kOutputData: SendFrame(sim_wire::kData, value); break;
    case c012::kReset:
      if (value == 1) input_.clear();  // a reset loses what the link held
      SendFrame(sim_wire::kReset, value);
      break;
    case c012::kAnalyse: SendFrame(sim_wire::kAnalyse, value); break;
    default: break;
  }
}

}  // namespace board
