// Processor cycles per instruction, from the timing tables of the Inmos
// Compiler Writer's Guide (T800 column). A prefix byte costs one cycle more.
// Variable timings take their figure from the operands:
//   w = words moved (bytes rounded up to words), b = bit number of the
//   highest set bit of the multiplier, n = places shifted, p = rows moved.
// The interpreter charges these to its budget; the benchmark turns them into
// the time a T800 at 20 MHz would take (50 ns a cycle).
#pragma once

#include <array>
#include <cstdint>

namespace t800 {

enum : int {
  kCyclesJ = 3, kCyclesLdlp = 1, kCyclesPrefix = 1, kCyclesLdnl = 2, kCyclesLdc = 1, kCyclesLdnlp = 1,
  kCyclesLdl = 2, kCyclesAdc = 1, kCyclesCall = 7, kCyclesCjTaken = 4, kCyclesCjNotTaken = 2,
  kCyclesAjw = 1, kCyclesEqc = 2, kCyclesStl = 1, kCyclesStnl = 2,
  kCyclesLendLoop = 10, kCyclesLendExit = 5,
  kCyclesCommunicationBase = 19,  // in, out: 2w + 19
  kCyclesMoveBase = 8,            // move: 2w + 8
  kCyclesMove2dBase = 23,         // move2d*: 2p + 23
  kCyclesAltwtWait = 17, kCyclesTaltwtWait = 48, kCyclesTinWait = 30,
};

// Fixed cycle counts of the operations (opr n), 0 where the count varies or
// the code is no T414/T800 integer operation.
constexpr std::array<std::uint8_t, 0x82> kOperationCycles = [] {
  std::array<std::uint8_t, 0x82> t{};
  const std::pair<int, int> fixed[] = {
      {0x00, 1},  {0x01, 5},  {0x02, 1},  {0x03, 13}, {0x04, 1},  {0x05, 1},  {0x06, 4},  {0x08, 4},
      {0x09, 2},  {0x0A, 2},  {0x0C, 1},  {0x0D, 12}, {0x0E, 23}, {0x0F, 23}, {0x10, 1},  {0x12, 3},
      {0x13, 2},  {0x15, 11}, {0x16, 2},  {0x17, 1},  {0x18, 1},  {0x19, 5},  {0x1A, 35}, {0x1B, 2},
      {0x1C, 1},  {0x1D, 2},  {0x1E, 1},  {0x1F, 37}, {0x20, 5},  {0x22, 2},  {0x29, 3},  {0x2A, 2},
      {0x2B, 4},  {0x2C, 39}, {0x2E, 23}, {0x2F, 8},  {0x30, 4},  {0x31, 33}, {0x32, 1},  {0x33, 1},
      {0x34, 2},  {0x35, 3},  {0x36, 3},  {0x37, 3},  {0x38, 2},  {0x39, 10}, {0x3A, 4},  {0x3B, 4},
      {0x3C, 2},  {0x3D, 4},  {0x3E, 4},  {0x3F, 5},  {0x40, 2},  {0x41, 2},  {0x42, 1},  {0x43, 2},
      {0x44, 5},  {0x45, 4},  {0x46, 1},  {0x47, 8},  {0x48, 7},  {0x49, 3},  {0x4B, 1},  {0x4C, 3},
      {0x4D, 3},  {0x4E, 4},  {0x4F, 3},  {0x50, 1},  {0x51, 15}, {0x52, 1},  {0x53, 38}, {0x54, 1},
      {0x55, 2},  {0x56, 5},  {0x57, 1},  {0x58, 1},  {0x59, 2},  {0x5A, 1},  {0x5B, 8},  {0x63, 15},
      {0x6C, 5},  {0x6D, 12}, {0x71, 1},  {0x72, 35}, {0x73, 3},  {0x74, 35}, {0x75, 11}, {0x76, 2},
      {0x77, 36}, {0x78, 4},  {0x81, 3},
  };
  for (const auto& [op, cycles] : fixed) t[static_cast<std::size_t>(op)] = static_cast<std::uint8_t>(cycles);
  return t;
}();

constexpr int OperationCycles(std::uint32_t op) { return op < kOperationCycles.size() ? kOperationCycles[op] : 1; }

}  // namespace t800
