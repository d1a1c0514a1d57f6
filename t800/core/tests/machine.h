// Test support: a hand-moved clock, a tiny encoder for transputer code (the
// prefix rules of the instruction set) and a processor with code and a
// workspace placed at fixed addresses.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "t800/core/transputer.h"

namespace t800::test {

class FakeClock final : public Clock {
 public:
  std::uint64_t Microseconds() override { return now; }
  std::uint64_t now = 1000;
};

enum Function : int { J, Ldlp, Pfix, Ldnl, Ldc, Ldnlp, Nfix, Ldl, Adc, Call, Cj, Ajw, Eqc, Stl, Stnl, Opr };

// Operation codes used by the tests.
enum Op : int {
  Rev = 0x00, Lb = 0x01, Bsub = 0x02, Endp = 0x03, Diff = 0x04, Add = 0x05, Gcall = 0x06, In = 0x07,
  Prod = 0x08, Gt = 0x09, Wsub = 0x0A, Out = 0x0B, Sub = 0x0C, Startp = 0x0D, Outbyte = 0x0E,
  Outword = 0x0F, Seterr = 0x10, Resetch = 0x12, Csub0 = 0x13, Stopp = 0x15, Ladd = 0x16, Norm = 0x19,
  Ldiv = 0x1A, Ldpi = 0x1B, Xdble = 0x1D, Ldpri = 0x1E, Rem = 0x1F, Ret = 0x20, Lend = 0x21,
  Ldtimer = 0x22, Testerr = 0x29, Testpranal = 0x2A, Tin = 0x2B, Div = 0x2C, Dist = 0x2E, Disc = 0x2F,
  Diss = 0x30, Lmul = 0x31, Not = 0x32, Xor = 0x33, Bcnt = 0x34, Lshr = 0x35, Lshl = 0x36, Lsum = 0x37,
  Lsub = 0x38, Runp = 0x39, Xword = 0x3A, Sb = 0x3B, Gajw = 0x3C, Wcnt = 0x3F, Shr = 0x40, Shl = 0x41,
  Mint = 0x42, Alt = 0x43, Altwt = 0x44, Altend = 0x45, And = 0x46, Enbt = 0x47, Enbc = 0x48,
  Enbs = 0x49, Move = 0x4A, Or = 0x4B, Csngl = 0x4C, Ccnt1 = 0x4D, Talt = 0x4E, Ldiff = 0x4F,
  Taltwt = 0x51, Sum = 0x52, Mul = 0x53, Sttimer = 0x54, Stoperr = 0x55, Cword = 0x56,
  Clrhalterr = 0x57, Sethalterr = 0x58, Testhalterr = 0x59, Dup = 0x5A, Move2dinit = 0x5B,
  Move2dall = 0x5C, Move2dnonzero = 0x5D, Move2dzero = 0x5E, Crcword = 0x74, Crcbyte = 0x75,
  Bitcnt = 0x76, Bitrevword = 0x77, Bitrevnbits = 0x78, Wsubdb = 0x81, Fpadd = 0x87,
};

struct Code {
  std::vector<std::uint8_t> bytes;

  // The shortest prefix sequence for the operand, as the instruction set defines it.
  Code& operator()(int function, std::int32_t operand) {
    Prefix(function, operand);
    return *this;
  }
  Code& op(int operation) { return (*this)(Opr, operation); }
  Code& raw(std::initializer_list<std::uint8_t> more) {
    bytes.insert(bytes.end(), more);
    return *this;
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(bytes.size()); }

 private:
  void Prefix(int function, std::int32_t e) {
    if (e >= 0 && e < 16) {
      bytes.push_back(static_cast<std::uint8_t>(function << 4 | e));
    } else {
      if (e >= 16) {
        Prefix(Pfix, static_cast<std::int32_t>(static_cast<std::uint32_t>(e) >> 4));
      } else {
        Prefix(Nfix, static_cast<std::int32_t>(~static_cast<std::uint32_t>(e) >> 4));
      }
      bytes.push_back(static_cast<std::uint8_t>(function << 4 | (e & 15)));
    }
  }
};

struct Machine {
  static constexpr std::uint32_t kCode = 0x80001000u;
  static constexpr std::uint32_t kWorkspace = 0x80008000u;

  explicit Machine(Cpu type = Cpu::kT800, std::uint32_t memory = 64 * 1024) : cpu({type, memory}, clock) {}

  void Load(const Code& code, std::uint32_t at = kCode) {
    cpu.memory().Write(at, code.bytes.data(), code.size());
  }
  // Loads code and starts it as the only process.
  RunStatus Start(const Code& code, int priority = 1, std::uint64_t budget = 100000) {
    Load(code);
    cpu.StartProcess(kCode, kWorkspace, priority);
    return cpu.Run(budget);
  }
  std::uint32_t Word(std::uint32_t address) const { return cpu.memory().Word(address); }
  void SetWord(std::uint32_t address, std::uint32_t value) { cpu.memory().SetWord(address, value); }

  FakeClock clock;
  Transputer cpu;
};

}  // namespace t800::test

namespace t800::test {

constexpr std::int32_t I(std::uint32_t v) { return static_cast<std::int32_t>(v); }

// Places a process's code and makes its workspace ready for runp: the
// process starts at `code_at` when scheduled.
inline void PrepareProcess(Machine& m, const Code& code, std::uint32_t code_at, std::uint32_t wptr) {
  m.Load(code, code_at);
  m.SetWord(wptr - 4, code_at);
}

}  // namespace t800::test
