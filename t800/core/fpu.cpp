// The T800's floating-point unit: the three-register stack with its length
// tags, the FP error flag (apart from Error), the one-shot rounding mode, and
// every floating-point instruction. The arithmetic is in fpu_arith.cpp.
#include <array>
#include <cstdio>

#include "t800/core/fpu_arith.h"
#include "t800/core/fpu_cycles.h"
#include "t800/core/transputer.h"

namespace t800 {
namespace {

using fp::Result;
using fp::Rounding;
using fp::Value;

constexpr int kReportFloatingPoint = 0;

class Fpu final : public FloatingPointUnit {
 public:
  void Reset() override { state_ = saved_ = {}; }
  int Execute(Transputer& cpu, std::uint32_t operation) override;

  // The pre-empted low-priority process keeps its registers, its error flag
  // and a rounding mode set just before; the high-priority one starts clear.
  void SaveInterrupted() override { saved_ = state_; }
  void ProcessStarted(bool resumed_interrupted) override {
    if (resumed_interrupted) {
      state_ = saved_;
    } else {
      state_.error = false;  // FP error does not survive descheduling
      state_.rounding = Rounding::kNearest;
    }
  }

 private:
  struct State {
    std::array<Value, 3> r{};  // FA, FB, FC
    bool error = false;
    Rounding rounding = Rounding::kNearest;
  };

  void Push(Value v) {
    state_.r[2] = state_.r[1];
    state_.r[1] = state_.r[0];
    state_.r[0] = v;
  }
  // FC keeps its value: undefined after a pop.
  void Pop() {
    state_.r[0] = state_.r[1];
    state_.r[1] = state_.r[2];
  }
  Value& fa() { return state_.r[0]; }
  Value& fb() { return state_.r[1]; }
  void Flag(bool error) { state_.error = state_.error || error; }
  Value Take(const Result& r) {
    Flag(r.error);
    return r.value;
  }
  // Operands of two lengths are a program error: FB is brought to FA's.
  Value Matched(Value b, Value a) {
    if (b.is_double == a.is_double) return b;
    state_.error = true;
    return fp::Convert(b, a.is_double, Rounding::kNearest).value;
  }
  // FA <- FB op FA, popping one.
  void Binary(fp::Operation op, Rounding rounding) {
    fa() = Take(fp::Arithmetic(op, Matched(fb(), fa()), fa(), rounding));
    fb() = state_.r[2];
  }
  // The integer stack.
  static void PushInteger(Transputer::Stack& stack, std::uint32_t v) {
    stack.c = stack.b;
    stack.b = stack.a;
    stack.a = v;
  }
  static void PopInteger(Transputer::Stack& stack) {
    stack.a = stack.b;
    stack.b = stack.c;
  }
  static Value LoadSingle(const Memory& m, std::uint32_t at) { return fp::Single(m.Word(at)); }
  static Value LoadDouble(const Memory& m, std::uint32_t at) {
    return fp::Double(std::uint64_t{m.Word(at + 4)} << 32 | m.Word(at));
  }
  static void StoreDouble(Memory& m, std::uint32_t at, std::uint64_t bits) {
    m.SetWord(at, static_cast<std::uint32_t>(bits));
    m.SetWord(at + 4, static_cast<std::uint32_t>(bits >> 32));
  }
  bool EntryOperation(Transputer& cpu, std::uint32_t code, Rounding rounding);

  State state_, saved_;
};

int Fpu::Execute(Transputer& cpu, std::uint32_t operation) {
  Transputer::Stack stack = cpu.stack();
  Memory& m = cpu.memory();
  // The mode set by fpurn/fpurp/fpurm/fpurz serves the next operation only.
  const Rounding rounding = state_.rounding;
  state_.rounding = Rounding::kNearest;
  switch (operation) {
    case 0x8E: Push(LoadSingle(m, stack.a)); PopInteger(stack); break;  // fpldnlsn
    case 0x8A: Push(LoadDouble(m, stack.a)); PopInteger(stack); break;  // fpldnldb
    case 0x86:                                                        // fpldnlsni
      Push(LoadSingle(m, stack.a + 4 * stack.b));
      stack.a = stack.c;
      break;
    case 0x82:  // fpldnldbi
      Push(LoadDouble(m, stack.a + 8 * stack.b));
      stack.a = stack.c;
      break;
    case 0x9F: Push(fp::Single(0)); break;  // fpldzerosn
    case 0xA0: Push(fp::Double(0)); break;  // fpldzerodb
    case 0xAA:                                                         // fpldnladdsn
    case 0xA6:                                                         // fpldnladddb
    case 0xAC:                                                         // fpldnlmulsn
    case 0xA8: {                                                       // fpldnlmuldb
      const bool is_double = operation == 0xA6 || operation == 0xA8;
      const Value x = is_double ? LoadDouble(m, stack.a) : LoadSingle(m, stack.a);
      const auto op = operation == 0xAA || operation == 0xA6 ? fp::Operation::kAdd : fp::Operation::kMul;
      fa() = Take(fp::Arithmetic(op, Matched(fa(), x), x, rounding));
      PopInteger(stack);
      break;
    }
    case 0x88: m.SetWord(stack.a, static_cast<std::uint32_t>(fa().bits)); Pop(); PopInteger(stack); break;  // fpstnlsn
    case 0x84: StoreDouble(m, stack.a, fa().bits); Pop(); PopInteger(stack); break;  // fpstnldb
    case 0x9E:                                                                     // fpstnli32
      m.SetWord(stack.a, fp::ToInt32Bits(fa(), rounding));
      Pop();
      PopInteger(stack);
      break;
    case 0x96: {  // fpi32tor32
      Push(fp::FromInt32(static_cast<std::int32_t>(m.Word(stack.a)), false, rounding));
      PopInteger(stack);
      break;
    }
    case 0x98: Push(fp::FromInt32(static_cast<std::int32_t>(m.Word(stack.a)), true, rounding)); PopInteger(stack); break;
    case 0x9A: Push(fp::FromUint32(m.Word(stack.a))); PopInteger(stack); break;  // fpb32tor64
    case 0x87: Binary(fp::Operation::kAdd, rounding); break;  // fpadd
    case 0x89: Binary(fp::Operation::kSub, rounding); break;  // fpsub
    case 0x8B: Binary(fp::Operation::kMul, rounding); break;  // fpmul
    case 0x8C: Binary(fp::Operation::kDiv, rounding); break;  // fpdiv
    case 0x8F:  // fpremfirst: the whole remainder at once; A true says it is complete
      fa() = Take(fp::Remainder(Matched(fb(), fa()), fa()));
      fb() = state_.r[2];
      PushInteger(stack, 1);
      break;
    case 0x90: PushInteger(stack, 1); break;  // fpremstep: nothing left to do
    case 0x94:                               // fpgt
    case 0x95: {                             // fpeq
      const Value b = Matched(fb(), fa());
      const Result r = operation == 0x94 ? fp::Greater(b, fa()) : fp::Equal(b, fa());
      PushInteger(stack, static_cast<std::uint32_t>(Take(r).bits));
      Pop();
      Pop();
      break;
    }
    case 0x92:  // fpordered
      PushInteger(stack, fp::IsNaN(fa()) || fp::IsNaN(fb()) ? 0 : 1);
      Pop();
      Pop();
      break;
    case 0x91: PushInteger(stack, fp::IsNaN(fa()) ? 1 : 0); break;         // fpnan
    case 0x93: PushInteger(stack, fp::IsNotFinite(fa()) ? 1 : 0); break;   // fpnotfinite
    case 0xA1: fa() = Take(fp::RoundToIntegral(fa(), rounding)); break;   // fpint
    case 0x9D:                                                             // fprtoi32
      fa() = Take(fp::RoundToIntegral(fa(), rounding));
      Flag(!fp::FitsInteger(fa(), 32));
      break;
    case 0xA3: Push(fa()); break;  // fpdup
    case 0xA4: std::swap(fa(), fb()); break;  // fprev
    case 0x83:                                                   // fpchkerr
      if (state_.error) cpu.SetError();
     
      break;
    case 0x9C:  // fptesterr
      PushInteger(stack, state_.error ? 0 : 1);
      state_.error = false;
      break;
    default:
     
      if (operation >= 0x100 && EntryOperation(cpu, operation - 0x100, rounding)) break;
      char message[96];
      std::snprintf(message, sizeof message, "t800emu: unknown floating-point operation %s0x%X; Error set",
                    operation >= 0x100 ? "fpentry " : "", operation & 0xFF);
      cpu.ReportOnce(kReportFloatingPoint, message);
      cpu.SetError();
      return 1;
  }
  return FpuCycles(operation, fa().is_double);
}

// The fpentry sub-functions; false for a code the FPU does not define.
bool Fpu::EntryOperation(Transputer&, std::uint32_t code, Rounding rounding) {
  switch (code) {
    case 0x22: state_.rounding = Rounding::kNearest; return true;  // fpurn
    case 0x04: state_.rounding = Rounding::kPlus; return true;     // fpurp
    case 0x05: state_.rounding = Rounding::kMinus; return true;    // fpurm
    case 0x06: state_.rounding = Rounding::kZero; return true;     // fpurz
    case 0x23: state_.error = true; return true;                   // fpuseterr
    case 0x9C: state_.error = false; return true;                  // fpuclrerr
    // The square root is computed whole by fpusqrtlast (so a rounding mode
    // set before it applies); first and step leave the stack as it is.
    case 0x01:
    case 0x02: return true;
    case 0x03: fa() = Take(fp::SquareRoot(fa(), rounding)); return true;
    case 0x07: fa() = Take(fp::Convert(fa(), true, rounding)); return true;   // fpur32tor64
    case 0x08: fa() = Take(fp::Convert(fa(), false, rounding)); return true;  // fpur64tor32
    case 0x0D:  // fpunoround: double to single, the fraction truncated
      fa() = Take(fp::Convert(fa(), false, Rounding::kZero));
      return true;
    case 0x09: fa() = Take(fp::Scale(fa(), -32, rounding)); return true;  // fpuexpdec32
    case 0x0A: fa() = Take(fp::Scale(fa(), 32, rounding)); return true;   // fpuexpinc32
    case 0x11: fa() = Take(fp::Scale(fa(), -1, rounding)); return true;   // fpudivby2
    case 0x12: fa() = Take(fp::Scale(fa(), 1, rounding)); return true;    // fpumulby2
    case 0x0B:                                                            // fpuabs
      Flag(fp::IsNotFinite(fa()));
      fa() = fp::Absolute(fa());
      return true;
    case 0x0E: Flag(!fp::FitsInteger(fa(), 32)); return true;  // fpuchki32
    case 0x0F: Flag(!fp::FitsInteger(fa(), 64)); return true;  // fpuchki64
    default: return false;
  }
}

}  // namespace

std::unique_ptr<FloatingPointUnit> MakeFloatingPointUnit() { return std::make_unique<Fpu>(); }

}  // namespace t800
