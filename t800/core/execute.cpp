// The interpreter: fetch, prefix and dispatch with the hot registers in
// locals. A prefix sequence and the instruction it builds run as one step,
// so no budget end, pre-emption or timeslice falls between them. Anything
// that schedules or deschedules stores the locals, acts on the members and
// reloads (the `resync` path).
#include <cstdio>
#include <cstring>

#include "t800/core/arithmetic.h"
#include "t800/core/cycles.h"
#include "t800/core/transputer.h"

namespace t800 {
namespace {

constexpr std::uint32_t kMinInt = 0x80000000u;

std::int32_t S(std::uint32_t v) { return static_cast<std::int32_t>(v); }
std::uint32_t U(std::int64_t v) { return static_cast<std::uint32_t>(v); }

enum Report : int { kReportFpu = 0, kReportInvalid = 1, kReportT414Float = 2 };

}  // namespace

#define LOAD() (a = a_, b = b_, c = c_, iptr = iptr_, wptr = wptr_)
#define SAVE() (a_ = a, b_ = b, c_ = c, iptr_ = iptr, wptr_ = wptr)
#define RD(address) ([&](std::uint32_t at) { std::uint32_t v_; std::memcpy(&v_, mem + (at & mask & ~3u), 4); return v_; }(address))
#define WR(address, value)                                   \
  do {                                                       \
    const std::uint32_t v_ = (value);                        \
    std::memcpy(mem + ((address) & mask & ~3u), &v_, 4);   \
  } while (0)
#define PUSH(value) (c = b, b = a, a = (value))
#define POP() (a = b, b = c)
// Error with HaltOnError stops the processor after this instruction.
#define SET_ERROR()                 \
  do {                              \
    error_ = true;                  \
    if (halt_on_error_) goto halt;  \
  } while (0)
// The process may change: store, act, reload.
#define SLOW(action) \
  do {               \
    SAVE();          \
    action;          \
    goto resync;     \
  } while (0)
#define NEXT()                            \
  do {                                    \
    if (remaining <= 0) goto budget_used; \
    byte = mem[iptr & mask];              \
    ++iptr;                               \
    operand = byte & 15;                  \
    goto *kByte[byte];                    \
  } while (0)
#define DESCHEDULING_POINT() \
  if (attention_) SLOW(AtDeschedulingPoint())

void Transputer::AtDeschedulingPoint() {
  if (analyse_pending_) {
    EnterBootWait(true);
  } else if (timeslice_due_) {
    Timeslice();
  }
}

RunStatus Transputer::Execute(std::int64_t budget) {
  std::uint8_t* const mem = memory_.data();
  const std::uint32_t mask = memory_.mask();  // one register: word accesses clear the low bits themselves
  std::uint32_t a, b, c, iptr, wptr;
  LOAD();
  std::int64_t remaining = budget;
  RunStatus result = RunStatus::kBudgetUsed;

  // Dispatch tables: every byte straight to its function (and the short
  // operations straight to their code); prefixed operands through the
  // function table, operations through the operation table.
  static constexpr std::uint32_t kOperationTableSize = 0x60;
  static const void* const kByte[256] = {&&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_0, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_1, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_2, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_3, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_4, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_5, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_6, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_7, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_8, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_9, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_A, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_B, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_C, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_D, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_fn_E, &&L_opq_0, &&L_opq_1, &&L_opq_2, &&L_opq_3, &&L_opq_4, &&L_opq_5, &&L_opq_6, &&L_opq_7, &&L_opq_8, &&L_opq_9, &&L_opq_A, &&L_opq_B, &&L_opq_C, &&L_opq_D, &&L_opq_E, &&L_opq_F};
  static const void* const kFunction[16] = {&&L_fn_0, &&L_fn_1, &&L_fn_2, &&L_fn_3, &&L_fn_4, &&L_fn_5, &&L_fn_6, &&L_fn_7, &&L_fn_8, &&L_fn_9, &&L_fn_A, &&L_fn_B, &&L_fn_C, &&L_fn_D, &&L_fn_E, &&L_fn_F};
  static const void* const kOperation[kOperationTableSize] = {&&L_op_00, &&L_op_01, &&L_op_02, &&L_op_03, &&L_op_04, &&L_op_05, &&L_op_06, &&L_op_07, &&L_op_08, &&L_op_09, &&L_op_0A, &&L_op_0B, &&L_op_0C, &&L_op_0D, &&L_op_0E, &&L_op_0F, &&L_op_10, &&L_op_extended, &&L_op_12, &&L_op_13, &&L_op_extended, &&L_op_15, &&L_op_16, &&L_op_17, &&L_op_18, &&L_op_19, &&L_op_1A, &&L_op_1B, &&L_op_1C, &&L_op_1D, &&L_op_1E, &&L_op_1F, &&L_op_20, &&L_op_21, &&L_op_22, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_29, &&L_op_2A, &&L_op_2B, &&L_op_2C, &&L_op_extended, &&L_op_2E, &&L_op_2F, &&L_op_30, &&L_op_31, &&L_op_32, &&L_op_33, &&L_op_34, &&L_op_35, &&L_op_36, &&L_op_37, &&L_op_38, &&L_op_39, &&L_op_3A, &&L_op_3B, &&L_op_3C, &&L_op_3D, &&L_op_3E, &&L_op_3F, &&L_op_40, &&L_op_41, &&L_op_42, &&L_op_43, &&L_op_44, &&L_op_45, &&L_op_46, &&L_op_47, &&L_op_48, &&L_op_49, &&L_op_4A, &&L_op_4B, &&L_op_4C, &&L_op_4D, &&L_op_4E, &&L_op_4F, &&L_op_50, &&L_op_51, &&L_op_52, &&L_op_53, &&L_op_54, &&L_op_55, &&L_op_56, &&L_op_57, &&L_op_58, &&L_op_59, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended, &&L_op_extended};
  std::uint32_t byte = 0, operand = 0;
  NEXT();

  L_fn_0:  // j
        iptr += operand;
        remaining -= kCyclesJ;
        DESCHEDULING_POINT();
        NEXT();
  L_fn_1:  // ldlp
        PUSH(wptr + 4 * operand);
        remaining -= kCyclesLdlp;
        NEXT();
  L_fn_2:  // pfix
        byte = mem[iptr & mask];
        ++iptr;
        operand = (operand << 4) | (byte & 15);
        remaining -= kCyclesPrefix;
        if (byte >= 0xF0) goto L_fn_F;  // most prefixes build an operation's code
        goto *kFunction[byte >> 4];
  L_fn_3:  // ldnl
        a = RD(a + 4 * operand);
        remaining -= kCyclesLdnl;
        NEXT();
  L_fn_4:  // ldc
        PUSH(operand);
        remaining -= kCyclesLdc;
        NEXT();
  L_fn_5:  // ldnlp
        a += 4 * operand;
        remaining -= kCyclesLdnlp;
        NEXT();
  L_fn_6:  // nfix
        byte = mem[iptr & mask];
        ++iptr;
        operand = (~operand << 4) | (byte & 15);
        remaining -= kCyclesPrefix;
        goto *kFunction[byte >> 4];
  L_fn_7:  // ldl
        PUSH(RD(wptr + 4 * operand));
        remaining -= kCyclesLdl;
        NEXT();
  L_fn_8: {  // adc
        std::int32_t sum;
        const bool overflow = __builtin_add_overflow(S(a), S(operand), &sum);
        a = static_cast<std::uint32_t>(sum);
        remaining -= kCyclesAdc;
        if (overflow) SET_ERROR();
        NEXT();
      }
  L_fn_9:  // call
        wptr -= 16;
        WR(wptr, iptr);
        WR(wptr + 4, a);
        WR(wptr + 8, b);
        WR(wptr + 12, c);
        a = iptr;
        iptr += operand;
        remaining -= kCyclesCall;
        NEXT();
  L_fn_A:  // cj
        if (a == 0) {
          iptr += operand;
          remaining -= kCyclesCjTaken;
        } else {
          POP();
          remaining -= kCyclesCjNotTaken;
        }
        NEXT();
  L_fn_B:  // ajw
        wptr += 4 * operand;
        remaining -= kCyclesAjw;
        NEXT();
  L_fn_C:  // eqc
        a = a == operand ? 1 : 0;
        remaining -= kCyclesEqc;
        NEXT();
  L_fn_D:  // stl
        WR(wptr + 4 * operand, a);
        POP();
        remaining -= kCyclesStl;
        NEXT();
  L_fn_E:  // stnl
        WR(a + 4 * operand, b);
        a = c;
        remaining -= kCyclesStnl;
        NEXT();
  L_fn_F:  // opr
        remaining -= OperationCycles(operand);
        if (operand < kOperationTableSize) goto *kOperation[operand];
        goto L_op_extended;
  L_op_00: {  // rev
            const std::uint32_t t = a;
            a = b;
            b = t;
            NEXT();
          }
  L_op_01: a = mem[a & mask]; NEXT();  // lb
  L_op_02: a += b; b = c; NEXT();       // bsub
  L_op_03: SLOW(EndProcess(a));        // endp
  L_op_04: a = b - a; b = c; NEXT();    // diff
  L_op_05: {                            // add
            std::int32_t r;
            const bool overflow = __builtin_add_overflow(S(b), S(a), &r);
            a = static_cast<std::uint32_t>(r);
            b = c;
            if (overflow) SET_ERROR();
            NEXT();
          }
  L_op_06: {  // gcall
            const std::uint32_t t = a;
            a = iptr;
            iptr = t;
            NEXT();
          }
  L_op_07:  // in
            remaining -= kCyclesCommunicationBase + 2 * ((static_cast<std::int64_t>(a) + 3) / 4);
            SLOW(InputMessage(b, c, a));
  L_op_08:  // prod
            remaining -= arith::HighestBit(a);
            a *= b;
            b = c;
            NEXT();
  L_op_09: a = S(b) > S(a) ? 1 : 0; b = c; NEXT();  // gt
  L_op_0A: a += 4 * b; b = c; NEXT();                // wsub
  L_op_0B:                                          // out
            remaining -= kCyclesCommunicationBase + 2 * ((static_cast<std::int64_t>(a) + 3) / 4);
            SLOW(OutputMessage(b, c, a));
  L_op_0C: {  // sub
            std::int32_t r;
            const bool overflow = __builtin_sub_overflow(S(b), S(a), &r);
            a = static_cast<std::uint32_t>(r);
            b = c;
            if (overflow) SET_ERROR();
            NEXT();
          }
  L_op_0D:  // startp: the new process joins the current priority's queue
            WR(a - 4, iptr + b);
            Enqueue(pri_, a & ~3u);
            NEXT();
  L_op_0E:  // outbyte
  L_op_0F:  // outword
            WR(wptr, a);
            SLOW(OutputMessage(b, wptr, operand == 0x0E ? 1 : 4));
  L_op_10: SET_ERROR(); NEXT();  // seterr
  L_op_12:  // resetch
            {
              const std::uint32_t old = RD(a);
              WR(a, kNotProcess);
              ResetChannel(a);
              a = old;
            }
            NEXT();
  L_op_13:  // csub0
            if (b >= a) SET_ERROR();
            a = b;
            b = c;
            NEXT();
  L_op_15: SLOW(DeschedulePrivate());  // stopp
  L_op_16: {                           // ladd
            std::int32_t r1, r2;
            const bool o1 = __builtin_add_overflow(S(b), S(a), &r1);
            const bool o2 = __builtin_add_overflow(r1, static_cast<std::int32_t>(c & 1), &r2);
            a = static_cast<std::uint32_t>(r2);
            if (o1 != o2) SET_ERROR();  // both can only overflow in opposite directions
            NEXT();
          }
  L_op_17: back_[1] = a; POP(); NEXT();   // stlb
  L_op_18: front_[0] = a; POP(); NEXT();  // sthf
  L_op_19: {                             // norm
            const arith::Normalised n = arith::Normalise(b, a);
            a = n.low;
            b = n.high;
            c = n.places;
            remaining -= n.places;
            NEXT();
          }
  L_op_1A: {  // ldiv
            if (c >= a) {
              SET_ERROR();
              NEXT();
            }
            const std::uint64_t dividend = arith::Join(c, b);
            const std::uint32_t q = static_cast<std::uint32_t>(dividend / a);
            b = static_cast<std::uint32_t>(dividend % a);
            a = q;
            NEXT();
          }
  L_op_1B: a += iptr; NEXT();               // ldpi
  L_op_1C: front_[1] = a; POP(); NEXT();    // stlf
  L_op_1D: c = b; b = S(a) < 0 ? ~0u : 0; NEXT();  // xdble
  L_op_1E: PUSH(static_cast<std::uint32_t>(pri_)); NEXT();  // ldpri
  L_op_1F:  // rem
            if (a == 0) {
              SET_ERROR();
            } else if (a == ~0u) {
              a = 0;
              b = c;
            } else {
              a = U(S(b) % S(a));
              b = c;
            }
            NEXT();
  L_op_20:  // ret
            iptr = RD(wptr);
            wptr += 16;
            NEXT();
  L_op_21: {  // lend: B the control block {index, count}, A the distance back
            const std::uint32_t count = RD(b + 4) - 1;
            WR(b + 4, count);
            if (S(count) > 0) {
              WR(b, RD(b) + 1);
              iptr -= a;
              remaining -= kCyclesLendLoop;
              DESCHEDULING_POINT();
            } else {
              remaining -= kCyclesLendExit;
            }
            NEXT();
          }
  L_op_22:  // ldtimer
            now_us_ = clock_.Microseconds();
            PUSH(ClockNow(pri_));
            NEXT();
  L_op_29: PUSH(error_ ? 0u : 1u); error_ = false; NEXT();  // testerr
  L_op_2A: PUSH(analysed_ ? 1u : 0u); NEXT();               // testpranal
  L_op_2B:                                                 // tin
            now_us_ = clock_.Microseconds();
            if (After(ClockNow(pri_), a)) NEXT();
            remaining -= kCyclesTinWait;
            SAVE();
            TimerInsert(pri_, wptr_, a);
            SLOW(DeschedulePrivate());
  L_op_2C:  // div
            if (a == 0 || (a == ~0u && b == kMinInt)) {
              SET_ERROR();
            } else {
              a = U(S(b) / S(a));
              b = c;
            }
            NEXT();
  L_op_2E: {  // dist: A offset, B guard, C time
            now_us_ = clock_.Microseconds();
            const bool ready = b != 0 && After(ClockNow(pri_), c);
            const bool selected = ready && RD(wptr) == kNoneSelected;
            if (selected) WR(wptr, a);
            a = selected ? 1 : 0;
            NEXT();
          }
  L_op_2F: {  // disc: A offset, B guard, C channel
            SAVE();
            const bool ready = ChannelReady(c) && b != 0;
            const bool selected = ready && RD(wptr) == kNoneSelected;
            if (selected) WR(wptr, a);
            a = selected ? 1 : 0;
            NEXT();
          }
  L_op_30: {  // diss: A offset, B guard
            const bool selected = b != 0 && RD(wptr) == kNoneSelected;
            if (selected) WR(wptr, a);
            a = selected ? 1 : 0;
            b = c;
            NEXT();
          }
  L_op_31: {  // lmul
            const std::uint64_t r = static_cast<std::uint64_t>(b) * a + c;
            a = static_cast<std::uint32_t>(r);
            b = static_cast<std::uint32_t>(r >> 32);
            NEXT();
          }
  L_op_32: a = ~a; NEXT();          // not
  L_op_33: a ^= b; b = c; NEXT();   // xor
  L_op_34: a *= 4; NEXT();          // bcnt
  L_op_35: {                        // lshr
            const arith::Pair r = arith::LongShiftRight(c, b, a);
            remaining -= a < 64 ? a : 64;
            a = r.low;
            b = r.high;
            NEXT();
          }
  L_op_36: {  // lshl
            const arith::Pair r = arith::LongShiftLeft(c, b, a);
            remaining -= a < 64 ? a : 64;
            a = r.low;
            b = r.high;
            NEXT();
          }
  L_op_37: {  // lsum
            const std::uint64_t r = static_cast<std::uint64_t>(b) + a + (c & 1);
            a = static_cast<std::uint32_t>(r);
            b = static_cast<std::uint32_t>(r >> 32);
            NEXT();
          }
  L_op_38: {  // lsub
            std::int32_t r1, r2;
            const bool o1 = __builtin_sub_overflow(S(b), S(a), &r1);
            const bool o2 = __builtin_sub_overflow(r1, static_cast<std::int32_t>(c & 1), &r2);
            a = static_cast<std::uint32_t>(r2);
            if (o1 != o2) SET_ERROR();
            NEXT();
          }
  L_op_39: SLOW(Schedule(a));  // runp
  L_op_3A:                     // xword
            a = b < a ? b : b - 2 * a;
            b = c;
            NEXT();
  L_op_3B:  // sb
            mem[a & mask] = static_cast<std::uint8_t>(b);
            a = c;
            NEXT();
  L_op_3C: {  // gajw
            const std::uint32_t t = wptr;
            wptr = a & ~3u;
            a = t;
            NEXT();
          }
  L_op_3D:  // savel
  L_op_3E:  // saveh
            WR(a, front_[operand == 0x3D ? 1 : 0]);
            WR(a + 4, back_[operand == 0x3D ? 1 : 0]);
            POP();
            NEXT();
  L_op_3F:  // wcnt
            c = b;
            b = a & 3;
            a = U(S(a) >> 2);
            NEXT();
  L_op_40:  // shr
            remaining -= a < 32 ? a : 32;
            a = a >= 32 ? 0 : b >> a;
            b = c;
            NEXT();
  L_op_41:  // shl
            remaining -= a < 32 ? a : 32;
            a = a >= 32 ? 0 : b << a;
            b = c;
            NEXT();
  L_op_42: PUSH(kMinInt); NEXT();       // mint
  L_op_43: WR(wptr - 12, kEnabling); NEXT();  // alt
  L_op_44:                              // altwt
            WR(wptr, kNoneSelected);
            if (RD(wptr - 12) == kReady) NEXT();
            WR(wptr - 12, kWaiting);
            remaining -= kCyclesAltwtWait;
            SLOW(DeschedulePrivate());
  L_op_45: iptr += RD(wptr); NEXT();  // altend
  L_op_46: a &= b; b = c; NEXT();     // and
  L_op_47:                           // enbt: A guard, B time
            if (a != 0) {
              if (RD(wptr - 16) == kTimeNotSet) {
                WR(wptr - 16, kTimeSet);
                WR(wptr - 20, b);
              } else if (After(RD(wptr - 20), b)) {
                WR(wptr - 20, b);
              }
            }
            b = c;
            NEXT();
  L_op_48:  // enbc: A guard, B channel
            if (a != 0) {
              SAVE();
              EnableChannel(b);
            }
            b = c;
            NEXT();
  L_op_49:  // enbs
            if (a != 0) WR(wptr - 12, kReady);
            NEXT();
  L_op_4A:  // move: C source, B destination, A count
            if (S(a) > 0) {
              memory_.Copy(b, c, a);
              remaining -= kCyclesMoveBase + 2 * ((static_cast<std::int64_t>(a) + 3) / 4);
            }
            NEXT();
  L_op_4B: a |= b; b = c; NEXT();  // or
  L_op_4C:                        // csngl
            if (b != (S(a) < 0 ? ~0u : 0u)) SET_ERROR();
            b = c;
            NEXT();
  L_op_4D:  // ccnt1
            if (b == 0 || b > a) SET_ERROR();
            a = b;
            b = c;
            NEXT();
  L_op_4E:  // talt
            WR(wptr - 12, kEnabling);
            WR(wptr - 16, kTimeNotSet);
            NEXT();
  L_op_4F: {  // ldiff
            const std::uint64_t r = static_cast<std::uint64_t>(b) - a - (c & 1);
            a = static_cast<std::uint32_t>(r);
            b = (r >> 32) != 0 ? 1 : 0;
            NEXT();
          }
  L_op_50: back_[0] = a; POP(); NEXT();  // sthb
  L_op_51: {                            // taltwt
            WR(wptr, kNoneSelected);
            if (RD(wptr - 12) == kReady) NEXT();
            if (RD(wptr - 16) == kTimeSet) {
              now_us_ = clock_.Microseconds();
              if (After(ClockNow(pri_), RD(wptr - 20))) {
                WR(wptr - 12, kReady);
                NEXT();
              }
              WR(wptr - 12, kWaiting);
              remaining -= kCyclesTaltwtWait;
              SAVE();
              TimerInsert(pri_, wptr_, RD(wptr - 20));
              SLOW(DeschedulePrivate());
            }
            WR(wptr - 12, kWaiting);
            remaining -= kCyclesTaltwtWait;
            SLOW(DeschedulePrivate());
          }
  L_op_52: a += b; b = c; NEXT();  // sum
  L_op_53: {                      // mul
            std::int32_t r;
            const bool overflow = __builtin_mul_overflow(S(b), S(a), &r);
            a = static_cast<std::uint32_t>(r);
            b = c;
            if (overflow) SET_ERROR();
            NEXT();
          }
  L_op_54:  // sttimer
            now_us_ = clock_.Microseconds();
            timers_running_ = true;
            timer_base_value_ = a;
            timer_base_us_ = now_us_;
            POP();
            NEXT();
  L_op_55:  // stoperr
            if (error_) SLOW(DeschedulePrivate());
            NEXT();
  L_op_56:  // cword: A the sign bit of the field, B the value
            if (const std::int64_t value = S(b), limit = a; value >= limit || value < -limit) SET_ERROR();
            a = b;
            b = c;
            NEXT();
  L_op_57: halt_on_error_ = false; NEXT();          // clrhalterr
  L_op_58: halt_on_error_ = true; NEXT();           // sethalterr
  L_op_59: PUSH(halt_on_error_ ? 1u : 0u); NEXT();  // testhalterr
  L_op_extended:
        SAVE();
        remaining -= ExtendedOperation(operand);
        goto resync;

  L_opq_0: remaining -= OperationCycles(0x0); goto L_op_00;
  L_opq_1: remaining -= OperationCycles(0x1); goto L_op_01;
  L_opq_2: remaining -= OperationCycles(0x2); goto L_op_02;
  L_opq_3: remaining -= OperationCycles(0x3); goto L_op_03;
  L_opq_4: remaining -= OperationCycles(0x4); goto L_op_04;
  L_opq_5: remaining -= OperationCycles(0x5); goto L_op_05;
  L_opq_6: remaining -= OperationCycles(0x6); goto L_op_06;
  L_opq_7: remaining -= OperationCycles(0x7); goto L_op_07;
  L_opq_8: remaining -= OperationCycles(0x8); goto L_op_08;
  L_opq_9: remaining -= OperationCycles(0x9); goto L_op_09;
  L_opq_A: remaining -= OperationCycles(0xA); goto L_op_0A;
  L_opq_B: remaining -= OperationCycles(0xB); goto L_op_0B;
  L_opq_C: remaining -= OperationCycles(0xC); goto L_op_0C;
  L_opq_D: remaining -= OperationCycles(0xD); goto L_op_0D;
  L_opq_E: remaining -= OperationCycles(0xE); goto L_op_0E;
  L_opq_F: remaining -= OperationCycles(0xF); goto L_op_0F;


  resync:
    // The members are current; the running process may have changed.
    if (halted_) {
      result = RunStatus::kHalted;
      goto finish;
    }
    if (boot_wait_) {
      result = RunStatus::kBootWait;
      goto finish;
    }
    if (running_ && pri_ == 1 && front_[0] != kNotProcess) InterruptLowPriority();
    if (!running_) {
      result = RunStatus::kIdle;
      goto finish;
    }
    LOAD();
    NEXT();

  halt:
    SAVE();
    HaltNow();
    result = RunStatus::kHalted;
    goto finish;

  budget_used:
    SAVE();
  finish:
  cycles_ += static_cast<std::uint64_t>(budget - remaining);
  return result;
}

// The rarer operations: T800 additions, T414 floating-point support, the
// floating-point unit, and codes no processor defines. Returns the cycles.
int Transputer::ExtendedOperation(std::uint32_t op) {
  const bool t800 = cpu_ == Cpu::kT800;
  Memory& m = memory_;
  if (t800) {
    switch (op) {
      case 0x5A: c_ = b_; b_ = a_; return 1;  // dup
      case 0x5B:                              // move2dinit
        move2d_rows_ = a_;
        move2d_dest_stride_ = b_;
        move2d_source_stride_ = c_;
        return 8;
      case 0x5C:    // move2dall
      case 0x5D:    // move2dnonzero
      case 0x5E: {  // move2dzero
        const std::int32_t width = S(a_), rows = S(move2d_rows_);
        if (width <= 0 || rows <= 0) return kCyclesMove2dBase;
        // A block larger than memory only repeats itself: bound the work.
        const std::uint64_t limit = m.size();
        std::uint32_t dest = b_, source = c_;
        std::uint64_t moved = 0;
        std::int32_t row = 0;
        for (; row < rows && moved < limit; ++row, moved += static_cast<std::uint32_t>(width)) {
          if (op == 0x5C) {
            m.Copy(dest, source, static_cast<std::uint32_t>(width));
          } else {
            for (std::int32_t i = 0; i < width && i < static_cast<std::int32_t>(limit); ++i) {
              const std::uint8_t value = m.Byte(source + static_cast<std::uint32_t>(i));
              if ((value != 0) == (op == 0x5D)) m.SetByte(dest + static_cast<std::uint32_t>(i), value);
            }
          }
          dest += move2d_dest_stride_;
          source += move2d_source_stride_;
        }
        // The rows done, not those asked for: 2 * rows overflows for a count
        // beyond 2^30, and the rest only repeat what memory holds.
        return kCyclesMove2dBase + 2 * row;
      }
      case 0x74:  // crcword
        a_ = arith::Crc(b_, a_, c_, 32);
        b_ = c_;
        return 35;
      case 0x75:  // crcbyte: the byte in the top of A
        a_ = arith::Crc(b_, a_, c_, 8);
        b_ = c_;
        return 11;
      case 0x76:  // bitcnt
        a_ = static_cast<std::uint32_t>(__builtin_popcount(a_)) + b_;
        b_ = c_;
        return 2 + arith::HighestBit(a_);
      case 0x77: a_ = arith::ReverseBits(a_); return 36;  // bitrevword
      case 0x78: {                                        // bitrevnbits
        const std::uint32_t n = a_;
        a_ = arith::ReverseLowBits(b_, n);
        b_ = c_;
        return 4 + static_cast<int>(n < 64 ? n : 64);
      }
      case 0x81: a_ += 8 * b_; b_ = c_; return 3;  // wsubdb
      default:
        if (op >= 0x80 && op <= 0xAC) {
          // fpentry carries its sub-function in A.
          const std::uint32_t code = op == 0xAB ? 0x100 + a_ : op;
          if (op == 0xAB) {
            a_ = b_;
            b_ = c_;
          }
          const int cycles = fpu_->Execute(*this, code);
          if (error_ && halt_on_error_) HaltNow();
          return cycles;
        }
        break;
    }
  }
  switch (op) {
    case 0x72: {  // fmul: signed fractions, the product rounded to nearest
      const std::int64_t product = static_cast<std::int64_t>(S(a_)) * S(b_);
      if (a_ == kMinInt && b_ == kMinInt) {
        error_ = true;
        a_ = 0x7FFFFFFFu;
      } else {
        a_ = U((product + (std::int64_t{1} << 30)) >> 31);
      }
      b_ = c_;
      if (error_ && halt_on_error_) HaltNow();
      return 35;
    }
    default: break;
  }
  if (!t800) {
    switch (op) {
      case 0x71: c_ = b_; b_ = a_; a_ = 0x7F800000u; return 1;  // ldinf
      case 0x73:                                               // cflerr
        if ((a_ & 0x7F800000u) == 0x7F800000u) {
          error_ = true;
          if (halt_on_error_) HaltNow();
        }
        return 3;
      case 0x63: {  // unpacksn
        const std::uint32_t packed = a_;
        std::uint32_t exponent = (packed >> 23) & 0xFF;
        std::uint32_t fraction = (packed & 0x007FFFFFu) << 8;
        std::uint32_t type;
        if (exponent == 0) {
          type = fraction == 0 ? 0 : 1;
          if (fraction != 0) exponent = 1;
        } else if (exponent == 0xFF) {
          type = fraction == 0 ? 2 : 3;
        } else {
          fraction |= 0x80000000u;
          type = 1;
        }
        c_ = 4 * b_ + type;
        b_ = exponent;
        a_ = fraction;
        return 15;
      }
      case 0x6C:  // postnormsn
      case 0x6D:  // roundsn
        ReportOnce(kReportT414Float, "t800emu: T414 floating-point support (postnormsn/roundsn) is not emulated; Error set");
        error_ = true;
        if (halt_on_error_) HaltNow();
        return 1;
      default: break;
    }
  }
  char message[96];
  std::snprintf(message, sizeof message, "t800emu: invalid operation 0x%X at 0x%08X; Error set", op, iptr_ - 1);
  ReportOnce(kReportInvalid, message);
  error_ = true;
  if (halt_on_error_) HaltNow();
  return 1;
}

void Transputer::EndProcess(std::uint32_t block) {
  const std::uint32_t count = memory_.Word(block + 4);
  if (count == 1) {
    // The last branch of the PAR carries on as the successor.
    wptr_ = block & ~3u;
    iptr_ = memory_.Word(block);
    return;
  }
  memory_.SetWord(block + 4, count - 1);
  running_ = false;
  StartNextProcess();
}

}  // namespace t800
