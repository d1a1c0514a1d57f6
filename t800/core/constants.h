// Fixed addresses and marker values of the transputer's memory map and
// process bookkeeping.
#pragma once

#include <cstdint>

namespace t800 {

constexpr std::uint32_t kMostNeg = 0x80000000u;
constexpr std::uint32_t kNotProcess = kMostNeg;  // empty channel, queue or timer word

// Low memory: link channel words, event channel, timer queue heads, and the
// save area of a low-priority process interrupted by a high-priority one.
constexpr std::uint32_t kLinkOutChannel0 = 0x80000000u;  // + 4 * link
constexpr std::uint32_t kLinkInChannel0 = 0x80000010u;   // + 4 * link
constexpr std::uint32_t kEventChannel = 0x80000020u;
constexpr std::uint32_t kTimerQueueHead[2] = {0x80000024u, 0x80000028u};  // high, low
constexpr std::uint32_t kSaveArea = 0x8000002Cu;  // Wdesc, Iptr, A, B, C, status, E
constexpr std::uint32_t kHardChannelEnd = 0x80000024u;  // links and the event channel lie below

constexpr std::uint32_t kMemStartT414 = 0x80000048u;
constexpr std::uint32_t kMemStartT800 = 0x80000070u;

// Workspace slots the microcode uses, in words below Wptr.
constexpr int kSlotIptr = -1;
constexpr int kSlotLink = -2;
constexpr int kSlotState = -3;  // ALT state, or the buffer of a blocked in/out
constexpr int kSlotTLink = -4;
constexpr int kSlotTime = -5;

// ALT states (W[-3]) and timer-ALT markers (W[-4]).
constexpr std::uint32_t kEnabling = 0x80000001u;
constexpr std::uint32_t kWaiting = 0x80000002u;
constexpr std::uint32_t kReady = 0x80000003u;
constexpr std::uint32_t kTimeSet = 0x80000001u;
constexpr std::uint32_t kTimeNotSet = 0x80000002u;
constexpr std::uint32_t kNoneSelected = 0xFFFFFFFFu;

constexpr int kLinkCount = 4;

// Timeslice period of low-priority processes, and the tick of each timer.
constexpr std::uint64_t kTimesliceMicroseconds = 1024;
constexpr std::uint64_t kLowTimerTickMicroseconds = 64;

// t1 AFTER t2 on the wrapping 32-bit clocks.
constexpr bool After(std::uint32_t t1, std::uint32_t t2) {
  return static_cast<std::int32_t>(t1 - t2) > 0;
}

}  // namespace t800
