// The rounded operations run on the host's SSE2 unit with its rounding mode
// set in MXCSR for just that instruction (inline assembly, so the compiler
// can neither move the operation across the mode change nor fold it); the
// host's exception flags say invalid, divide-by-zero and overflow. What
// SSE2 does not do exactly the T800's way (NaN payloads, rounding to an
// integer, the remainder, integer conversions) is done in integer
// arithmetic. No libm function is used.
#include "t800/core/fpu_arith.h"

#include <bit>
#include <cstring>

#if !defined(__SSE2__)
#error "the T800 FPU emulation needs SSE2 (build i686 with -msse2 -mfpmath=sse)"
#endif

namespace t800::fp {
namespace {

struct Format {
  int fraction_bits;
  std::uint64_t exponent_max;
  int bias;
};
constexpr Format kSingle{23, 0xFF, 127};
constexpr Format kDouble{52, 0x7FF, 1023};
const Format& Of(const Value& v) { return v.is_double ? kDouble : kSingle; }

std::uint64_t FractionMask(const Format& f) { return (std::uint64_t{1} << f.fraction_bits) - 1; }
std::uint64_t SignBit(const Format& f) { return std::uint64_t{1} << (f.fraction_bits + (f.bias == 127 ? 8 : 11)); }
std::uint64_t ExponentField(const Value& v) { return (v.bits >> Of(v).fraction_bits) & Of(v).exponent_max; }
std::uint64_t Fraction(const Value& v) { return v.bits & FractionMask(Of(v)); }
bool Negative(const Value& v) { return (v.bits & SignBit(Of(v))) != 0; }
bool IsZero(const Value& v) { return (v.bits & ~SignBit(Of(v))) == 0; }

// The NaNs the T800 generates, one per cause (single form; the double form
// carries the same fraction bits at the top of its fraction).
enum NaNCause : std::uint32_t {
  kZeroByZero = 0x7FC00000u,
  kInfinityByInfinity = 0x7FA00000u,
  kZeroTimesInfinity = 0x7F900000u,
  kInfinitiesCancel = 0x7F880000u,
  kNegativeSquareRoot = 0x7F840000u,
  kNaNConversion = 0x7F820000u,
  kRemainderOfInfinity = 0x7F804000u,
  kRemainderByZero = 0x7F802000u,
};
Value Generated(NaNCause cause, bool is_double) {
  if (!is_double) return Single(cause);
  return Double(0x7FF0000000000000ull | (std::uint64_t{cause & 0x007FFFFFu} << 29));
}

// One NaN operand is the result; of two, the one with the larger fraction.
Value PickNaN(Value b, Value a) {
  if (IsNaN(a) && IsNaN(b)) return Fraction(b) > Fraction(a) ? b : a;
  return IsNaN(a) ? a : b;
}

// ---- the host's SSE2 unit ----

enum Flag : unsigned { kInvalid = 1, kDivideByZero = 4, kOverflow = 8 };
constexpr unsigned kErrorFlags = kInvalid | kDivideByZero | kOverflow;
constexpr unsigned kCsrMasked = 0x1F80;  // every exception masked, flags clear, no flush-to-zero

unsigned ReadCsr() {
  unsigned v;
  asm volatile("stmxcsr %0" : "=m"(v));
  return v;
}
void WriteCsr(unsigned v) { asm volatile("ldmxcsr %0" : : "m"(v)); }

// Sets the rounding mode for the instructions in its scope; flags() reads
// what they raised. Round-to-nearest is the host's own mode: then MXCSR is
// left alone (writing it costs more than the arithmetic), flags() answers 0,
// and the callers see invalid, divide-by-zero and overflow in the result,
// which is then a NaN or an infinity from finite operands.
class HostMode {
 public:
  explicit HostMode(Rounding r) : saved_(ReadCsr()) {
    static constexpr unsigned kControl[] = {0u << 13, 2u << 13, 1u << 13, 3u << 13};  // RN, RP, RM, RZ
    constexpr unsigned kModeBits = 0xE040;  // rounding control, flush-to-zero, denormals-are-zero
    set_ = r != Rounding::kNearest || (saved_ & kModeBits) != 0;
    if (set_) WriteCsr(kCsrMasked | kControl[static_cast<int>(r)]);
  }
  ~HostMode() {
    if (set_) WriteCsr(saved_);
  }
  HostMode(const HostMode&) = delete;
  HostMode& operator=(const HostMode&) = delete;
  unsigned flags() const { return set_ ? ReadCsr() & 0x3F : 0; }

 private:
  unsigned saved_;
  bool set_;
};

// Bits into a host float or double in place: a function returning one would
// pass it through the x87 stack on i686, which quiets signalling NaNs.
template <class To, class From>
void Place(To& to, const From& from) {
  static_assert(sizeof to == sizeof from);
  std::memcpy(&to, &from, sizeof to);
}

enum class Host { kAdd, kSub, kMul, kDiv, kSqrt };

struct HostResult {
  std::uint64_t bits;
  unsigned flags;
};

HostResult HostDouble(Host op, std::uint64_t xb, std::uint64_t yb, Rounding r) {
  double x, y;
  Place(x, xb);
  Place(y, yb);
  const HostMode mode(r);
  switch (op) {
    case Host::kAdd: asm volatile("addsd %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kSub: asm volatile("subsd %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kMul: asm volatile("mulsd %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kDiv: asm volatile("divsd %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kSqrt: asm volatile("sqrtsd %1, %0" : "=x"(x) : "x"(y)); break;
  }
  return {std::bit_cast<std::uint64_t>(x), mode.flags()};
}

HostResult HostSingle(Host op, std::uint32_t xb, std::uint32_t yb, Rounding r) {
  float x, y;
  Place(x, xb);
  Place(y, yb);
  const HostMode mode(r);
  switch (op) {
    case Host::kAdd: asm volatile("addss %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kSub: asm volatile("subss %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kMul: asm volatile("mulss %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kDiv: asm volatile("divss %1, %0" : "+x"(x) : "x"(y)); break;
    case Host::kSqrt: asm volatile("sqrtss %1, %0" : "=x"(x) : "x"(y)); break;
  }
  return {std::bit_cast<std::uint32_t>(x), mode.flags()};
}

HostResult Host2(Host op, Value x, Value y, Rounding r) {
  return x.is_double ? HostDouble(op, x.bits, y.bits, r)
                     : HostSingle(op, static_cast<std::uint32_t>(x.bits), static_cast<std::uint32_t>(y.bits), r);
}

// Exact for every non-NaN single.
std::uint64_t Widen(std::uint32_t single) {
  float x;
  Place(x, single);
  double y;
  asm volatile("cvtss2sd %1, %0" : "=x"(y) : "x"(x));
  return std::bit_cast<std::uint64_t>(y);
}

HostResult Narrow(std::uint64_t bits, Rounding r) {
  double x;
  Place(x, bits);
  float y;
  const HostMode mode(r);
  asm volatile("cvtsd2ss %1, %0" : "=x"(y) : "x"(x));
  return {std::bit_cast<std::uint32_t>(y), mode.flags()};
}

// The value as a host double, for comparisons only (exact; not for NaNs).
double HostValue(Value v) {
  double d;
  Place(d, v.is_double ? v.bits : Widen(static_cast<std::uint32_t>(v.bits)));
  return d;
}

// ---- integer arithmetic ----

// A non-negative integer up to 2^(fraction bits + 1), exactly.
std::uint64_t IntegerBits(std::uint64_t n, const Format& f) {
  if (n == 0) return 0;
  const int top = 63 - std::countl_zero(n);
  const std::uint64_t mantissa = n << (f.fraction_bits - top);
  return (static_cast<std::uint64_t>(f.bias + top) << f.fraction_bits) | (mantissa & FractionMask(f));
}

// |v| = mantissa × 2^power for a finite v.
struct Unpacked {
  std::uint64_t mantissa;
  int power;
};
Unpacked Unpack(Value v) {
  const Format& f = Of(v);
  const std::uint64_t e = ExponentField(v);
  const std::uint64_t m = e == 0 ? Fraction(v) : Fraction(v) | (std::uint64_t{1} << f.fraction_bits);
  return {m, static_cast<int>(e == 0 ? 1 : e) - f.bias - f.fraction_bits};
}

// The IEEE remainder of two finite doubles, b by a (a not zero), exactly:
// the dividend's mantissa is reduced modulo the divisor's a few bits at a
// time, keeping the quotient's last bit for the tie.
std::uint64_t RemainderDouble(std::uint64_t b, std::uint64_t a) {
  constexpr std::uint64_t kSign = 1ull << 63, kImplicit = 1ull << 52;
  const std::uint64_t mb = b & ~kSign, ma = a & ~kSign;
  std::uint64_t sign = b & kSign;
  if (mb < ma) {  // the quotient rounds to 0 or 1
    const std::uint64_t exponent = mb >> 52;
    const std::uint64_t twice = exponent == 0 ? mb << 1 : mb + kImplicit;  // 2|b|, exact (or infinity)
    if (twice <= ma) return b;  // a tie rounds to the even quotient 0
    // |a| - |b| is exact: |b| lies between |a|/2 and |a|.
    const HostResult d = HostDouble(Host::kSub, ma, mb, Rounding::kNearest);
    return d.bits | (sign ^ kSign);
  }
  const Unpacked x = Unpack(Double(mb)), y = Unpack(Double(ma));
  std::uint64_t r = x.mantissa % y.mantissa;
  std::uint64_t quotient_odd = (x.mantissa / y.mantissa) & 1;
  for (int shift = x.power - y.power; shift > 0;) {
    const int step = shift < 10 ? shift : 10;
    const std::uint64_t t = r << step;
    quotient_odd = (t / y.mantissa) & 1;
    r = t % y.mantissa;
    shift -= step;
  }
  if (2 * r > y.mantissa || (2 * r == y.mantissa && quotient_odd)) {
    r = y.mantissa - r;
    sign ^= kSign;
  }
  if (r == 0) return b & kSign;
  int exponent = y.power + 1075;  // the field of the divisor's unit
  while (r < kImplicit && exponent > 1) {
    r <<= 1;
    --exponent;
  }
  if (r < kImplicit) return sign | r;  // denormal
  return sign | (static_cast<std::uint64_t>(exponent) << 52) | (r & (kImplicit - 1));
}

}  // namespace

bool IsNaN(Value v) { return ExponentField(v) == Of(v).exponent_max && Fraction(v) != 0; }
bool IsInfinite(Value v) { return ExponentField(v) == Of(v).exponent_max && Fraction(v) == 0; }

Result Arithmetic(Operation operation, Value b, Value a, Rounding rounding) {
  if (IsNaN(a) || IsNaN(b)) return {PickNaN(b, a), true};
  static constexpr Host kHost[] = {Host::kAdd, Host::kSub, Host::kMul, Host::kDiv};
  const HostResult h = Host2(kHost[static_cast<int>(operation)], b, a, rounding);
  Value v{h.bits, b.is_double};
  if (IsNaN(v)) {
    static constexpr NaNCause kCause[] = {kInfinitiesCancel, kInfinitiesCancel, kZeroTimesInfinity, kInfinityByInfinity};
    const bool zeros = operation == Operation::kDiv && IsZero(a);
    v = Generated(zeros ? kZeroByZero : kCause[static_cast<int>(operation)], b.is_double);
  }
  return {v, IsInfinite(a) || IsInfinite(b) || IsNotFinite(Value{h.bits, b.is_double}) || (h.flags & kErrorFlags) != 0};
}

Result SquareRoot(Value a, Rounding rounding) {
  if (IsNaN(a)) return {a, true};
  const HostResult h = Host2(Host::kSqrt, a, a, rounding);
  Value v{h.bits, a.is_double};
  if (IsNaN(v)) v = Generated(kNegativeSquareRoot, a.is_double);
  return {v, IsNotFinite(v) || (h.flags & kErrorFlags) != 0};
}

Result Remainder(Value b, Value a) {
  if (IsNaN(a) || IsNaN(b)) return {PickNaN(b, a), true};
  if (IsInfinite(b)) return {Generated(kRemainderOfInfinity, b.is_double), true};
  if (IsZero(a)) return {Generated(kRemainderByZero, b.is_double), true};
  if (IsInfinite(a)) return {b, true};
  if (b.is_double) return {Double(RemainderDouble(b.bits, a.bits)), false};
  // The remainder of two singles is a single: narrowing it is exact.
  const std::uint64_t r = RemainderDouble(Widen(static_cast<std::uint32_t>(b.bits)), Widen(static_cast<std::uint32_t>(a.bits)));
  return {Single(static_cast<std::uint32_t>(Narrow(r, Rounding::kNearest).bits)), false};
}

Result Scale(Value a, int power, Rounding rounding) {
  if (IsNaN(a)) return {a, true};
  const Format& f = Of(a);
  const Value factor{static_cast<std::uint64_t>(f.bias + power) << f.fraction_bits, a.is_double};
  const HostResult h = Host2(Host::kMul, a, factor, rounding);
  const Value v{h.bits, a.is_double};
  return {v, IsNotFinite(v) || (h.flags & kErrorFlags) != 0};
}

Result Convert(Value a, bool to_double, Rounding rounding) {
  if (a.is_double == to_double) return {a, IsNotFinite(a)};
  if (IsNaN(a)) {
    const std::uint64_t sign = Negative(a) ? SignBit(Of(Value{0, to_double})) : 0;
    if (to_double) return {Double(sign | 0x7FF0000000000000ull | (Fraction(a) << 29)), true};
    const std::uint64_t fraction = Fraction(a) >> 29;
    return {fraction != 0 ? Single(static_cast<std::uint32_t>(sign | 0x7F800000u | fraction))
                          : Value{Generated(kNaNConversion, false).bits | sign, false},
            true};
  }
  if (to_double) return {Double(Widen(static_cast<std::uint32_t>(a.bits))), IsInfinite(a)};
  const HostResult h = Narrow(a.bits, rounding);
  const Value v = Single(static_cast<std::uint32_t>(h.bits));
  return {v, IsInfinite(a) || IsNotFinite(v) || (h.flags & kErrorFlags) != 0};
}

Result RoundToIntegral(Value a, Rounding rounding) {
  if (IsNotFinite(a)) return {a, true};
  const Format& f = Of(a);
  const Unpacked u = Unpack(a);
  if (u.power >= 0 || u.mantissa == 0) return {a, false};
  const int shift = -u.power;
  std::uint64_t whole = 0;
  bool above_half = false, half = false;
  const bool inexact = (shift >= 64 || (u.mantissa & ((std::uint64_t{1} << shift) - 1)) != 0);
  if (shift < 64) {
    whole = u.mantissa >> shift;
    const std::uint64_t rest = u.mantissa & ((std::uint64_t{1} << shift) - 1), halfway = std::uint64_t{1} << (shift - 1);
    above_half = rest > halfway;
    half = rest == halfway;
  }
  const bool negative = Negative(a);
  bool up = false;
  switch (rounding) {
    case Rounding::kNearest: up = above_half || (half && (whole & 1)); break;
    case Rounding::kPlus: up = inexact && !negative; break;
    case Rounding::kMinus: up = inexact && negative; break;
    case Rounding::kZero: break;
  }
  whole += up ? 1 : 0;
  return {{(a.bits & SignBit(f)) | IntegerBits(whole, f), a.is_double}, false};
}

Result Greater(Value b, Value a) {
  if (IsNaN(a) || IsNaN(b)) return {{0, false}, true};
  return {{HostValue(b) > HostValue(a) ? 1u : 0u, false}, IsInfinite(a) || IsInfinite(b)};
}

Result Equal(Value b, Value a) {
  if (IsNaN(a) || IsNaN(b)) return {{0, false}, true};
  return {{HostValue(b) == HostValue(a) ? 1u : 0u, false}, IsInfinite(a) || IsInfinite(b)};
}

Value FromInt32(std::int32_t i, bool to_double, Rounding rounding) {
  if (to_double) {
    const std::uint64_t magnitude = i < 0 ? 0ull - static_cast<std::uint64_t>(static_cast<std::int64_t>(i))
                                          : static_cast<std::uint64_t>(i);
    return Double((i < 0 ? 1ull << 63 : 0) | IntegerBits(magnitude, kDouble));
  }
  float y;
  const HostMode mode(rounding);
  asm volatile("cvtsi2ss %1, %0" : "=x"(y) : "r"(i));
  return Single(std::bit_cast<std::uint32_t>(y));
}

Value FromUint32(std::uint32_t u) { return Double(IntegerBits(u, kDouble)); }

std::uint32_t ToInt32Bits(Value a, Rounding rounding) {
  if (IsNotFinite(a)) return 0x80000000u;
  const Value whole = RoundToIntegral(a, rounding).value;
  const Unpacked u = Unpack(whole);
  std::uint64_t magnitude = 0;
  if (u.power >= 0) {
    magnitude = u.power >= 64 ? 0 : u.mantissa << u.power;
  } else {
    magnitude = -u.power >= 64 ? 0 : u.mantissa >> -u.power;
  }
  const auto low = static_cast<std::uint32_t>(magnitude);
  return Negative(a) ? 0u - low : low;
}

bool FitsInteger(Value a, int bits) {
  if (IsNaN(a)) return false;
  const double limit = bits == 64 ? 9223372036854775808.0 : 2147483648.0;
  const double v = HostValue(a);
  return v >= -limit && v < limit;
}

Value Absolute(Value a) { return {a.bits & ~SignBit(Of(a)), a.is_double}; }

}  // namespace t800::fp
