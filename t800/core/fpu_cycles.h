// Processor cycles of the floating-point instructions: the typical figures of
// the Compiler Writer's Guide's T800 timing table (the FPU's own work; the
// chip overlaps part of it with integer instructions, which is not modelled).
// fpentry operations include the cycle of fpentry itself.
#pragma once

#include <cstdint>

namespace t800 {

constexpr int FpuCycles(std::uint32_t operation, bool is_double) {
  switch (operation) {
    case 0x8E: return 2;   // fpldnlsn
    case 0x8A: return 3;   // fpldnldb
    case 0x86: return 4;   // fpldnlsni
    case 0x82: return 6;   // fpldnldbi
    case 0x9F: case 0xA0: return 2;  // fpldzerosn, fpldzerodb
    case 0xAA: return 8;   // fpldnladdsn
    case 0xA6: return 9;   // fpldnladddb
    case 0xAC: return 13;  // fpldnlmulsn
    case 0xA8: return 21;  // fpldnlmuldb
    case 0x88: return 2;   // fpstnlsn
    case 0x84: return 3;   // fpstnldb
    case 0x9E: return 4;   // fpstnli32
    case 0x96: case 0x98: case 0x9A: return 8;  // fpi32tor32, fpi32tor64, fpb32tor64
    case 0x87: case 0x89: return 6;             // fpadd, fpsub
    case 0x8B: return is_double ? 18 : 11;      // fpmul
    case 0x8C: return is_double ? 31 : 16;      // fpdiv
    case 0x8F: return 36;  // fpremfirst
    case 0x90: return 32;  // fpremstep
    case 0x94: return 4;   // fpgt
    case 0x95: case 0x92: return 3;  // fpeq, fpordered
    case 0x91: case 0x93: return 2;  // fpnan, fpnotfinite
    case 0xA1: return 5;   // fpint
    case 0x9D: return 7;   // fprtoi32
    case 0x9C: return 2;   // fptesterr
    case 0x100 + 0x01: return 1 + 27;  // fpusqrtfirst
    case 0x100 + 0x02: return 1 + 42;  // fpusqrtstep
    case 0x100 + 0x03: return 1 + 8;   // fpusqrtlast
    case 0x100 + 0x07: case 0x100 + 0x0E: case 0x100 + 0x0F: return 1 + 3;  // fpur32tor64, fpuchki32/64
    case 0x100 + 0x08: case 0x100 + 0x09: case 0x100 + 0x0A: case 0x100 + 0x11: case 0x100 + 0x12:
      return 1 + 6;  // fpur64tor32, fpuexpdec32, fpuexpinc32, fpudivby2, fpumulby2
    case 0x100 + 0x0B: case 0x100 + 0x0D: return 1 + 2;  // fpuabs, fpunoround
    default: return operation >= 0x100 ? 2 : 1;  // fpdup, fprev, fpchkerr, rounding modes, error flag
  }
}

}  // namespace t800
