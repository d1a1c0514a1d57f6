// The transputer's end of link.dll's simulated adapter, played by a test or a
// benchmark: it takes the adapter's frames (data, reset line) and sends data
// and error-flag frames, with a timeout on every wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace iserver::testing {

class TransputerPeer {
 public:
  using Bytes = std::vector<std::uint8_t>;

  TransputerPeer();  // listens on a free loopback port
  ~TransputerPeer();
  TransputerPeer(const TransputerPeer&) = delete;
  TransputerPeer& operator=(const TransputerPeer&) = delete;

  // What TESSEL_SIMULATED_C012 is set to.
  std::string address() const;
  bool Accept(unsigned timeout_ms);
  // Waits until the reset line has gone 1 and back to 0 once more.
  bool AwaitReset(unsigned timeout_ms);
  // The next `count` data bytes; fewer on timeout or when the adapter left.
  Bytes Take(std::size_t count, unsigned timeout_ms);
  bool Send(const Bytes& data);
  bool SetErrorFlag(bool raised);
  // Sends a request frame and returns the reply frame's payload (padding
  // included); empty when none came in time.
  Bytes Ask(const Bytes& request_frame, unsigned timeout_ms);
  // The next reply frame's payload; empty when none came in time.
  Bytes TakeReply(unsigned timeout_ms);
  int resets() const { return resets_; }

 private:
  bool Receive(unsigned timeout_ms);  // one chunk from the adapter into data_
  bool SendFrames(const Bytes& frames);

  std::uintptr_t listener_;
  std::uintptr_t socket_;
  std::deque<std::uint8_t> data_;
  int pending_tag_ = -1;
  bool reset_line_ = false;
  int resets_ = 0;
};

}  // namespace iserver::testing
