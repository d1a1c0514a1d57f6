// IEEE 754 arithmetic on the bit patterns the T800's FPU registers hold, with
// the T800's rules on top: the FP error condition (invalid, divide by zero,
// overflow, or any infinite or NaN operand), the NaNs it generates, and NaN
// propagation. Values never pass through host floating-point variables
// outside the SSE2 instructions doing the work, so NaN payloads survive and
// no x87 extended precision can creep in.
#pragma once

#include <cstdint>

namespace t800::fp {

enum class Rounding : std::uint8_t { kNearest, kPlus, kMinus, kZero };

// A register: a single lives in the low 32 bits.
struct Value {
  std::uint64_t bits = 0;
  bool is_double = false;
  bool operator==(const Value&) const = default;
};
constexpr Value Single(std::uint32_t bits) { return {bits, false}; }
constexpr Value Double(std::uint64_t bits) { return {bits, true}; }

struct Result {
  Value value;
  bool error = false;
};

bool IsNaN(Value v);
bool IsInfinite(Value v);
inline bool IsNotFinite(Value v) { return IsNaN(v) || IsInfinite(v); }

enum class Operation : std::uint8_t { kAdd, kSub, kMul, kDiv };
// b op a, both of one length.
Result Arithmetic(Operation operation, Value b, Value a, Rounding rounding);
Result SquareRoot(Value a, Rounding rounding);
// The IEEE remainder of b by a: exact, so no rounding.
Result Remainder(Value b, Value a);
// a × 2^power for power in -32..32 (exact unless the result leaves the range).
Result Scale(Value a, int power, Rounding rounding);
// To the other length: widening is exact; narrowing rounds.
Result Convert(Value a, bool to_double, Rounding rounding);
// The value rounded to an integer in the same format.
Result RoundToIntegral(Value a, Rounding rounding);

// Comparisons: an unordered or infinite operand is an error.
Result Greater(Value b, Value a);  // value.bits: 1 if b > a
Result Equal(Value b, Value a);

Value FromInt32(std::int32_t i, bool to_double, Rounding rounding);
Value FromUint32(std::uint32_t u);  // a double, exactly
// The integer the value rounds to, modulo 2^32 (NaN and infinity: MinInt).
std::uint32_t ToInt32Bits(Value a, Rounding rounding);
// Error unless -2^(bits-1) <= a <= 2^(bits-1) - 1.
bool FitsInteger(Value a, int bits);

Value Absolute(Value a);

}  // namespace t800::fp
