// The FPU's arithmetic, table by table: exact results and the FP error
// condition for normal, denormal, zero, infinite and NaN operands in each
// rounding mode where the mode matters.
#include "t800/core/fpu_arith.h"

#include <gtest/gtest.h>

namespace t800::fp {
namespace {

constexpr Rounding N = Rounding::kNearest, P = Rounding::kPlus, M = Rounding::kMinus, Z = Rounding::kZero;
constexpr Operation kAdd = Operation::kAdd, kSub = Operation::kSub, kMul = Operation::kMul, kDiv = Operation::kDiv;

struct Case {
  Value b, a;
  Rounding rounding;
  Value want;
  bool error;
};

void Expect(const Result& got, const Case& c, int line) {
  EXPECT_EQ(got.value.bits, c.want.bits) << "row " << line << std::hex << " got 0x" << got.value.bits;
  EXPECT_EQ(got.value.is_double, c.want.is_double) << "row " << line;
  EXPECT_EQ(got.error, c.error) << "row " << line;
}

TEST(FpuArithmetic, RoundsInEveryModeAndFlagsTheT800Errors) {
  const struct {
    Operation op;
    Case c;
  } rows[] = {
      // 1 + 2^-24 is a tie in single: each mode picks its side.
      {kAdd, {Single(0x3F800000), Single(0x33800000), N, Single(0x3F800000), false}},
      {kAdd, {Single(0x3F800000), Single(0x33800000), P, Single(0x3F800001), false}},
      {kAdd, {Single(0x3F800000), Single(0x33800000), M, Single(0x3F800000), false}},
      {kAdd, {Single(0xBF800000), Single(0xB3800000), M, Single(0xBF800001), false}},
      {kAdd, {Single(0xBF800000), Single(0xB3800000), Z, Single(0xBF800000), false}},
      // 1/3 and -1/3.
      {kDiv, {Single(0x3F800000), Single(0x40400000), N, Single(0x3EAAAAAB), false}},
      {kDiv, {Single(0x3F800000), Single(0x40400000), Z, Single(0x3EAAAAAA), false}},
      {kDiv, {Single(0xBF800000), Single(0x40400000), P, Single(0xBEAAAAAA), false}},
      {kDiv, {Single(0xBF800000), Single(0x40400000), M, Single(0xBEAAAAAB), false}},
      {kDiv, {Double(0x3FF0000000000000), Double(0x4008000000000000), N, Double(0x3FD5555555555555), false}},
      {kDiv, {Double(0x3FF0000000000000), Double(0x4008000000000000), P, Double(0x3FD5555555555556), false}},
      // Overflow is an error; the mode decides between infinity and the largest finite.
      {kMul, {Single(0x7F7FFFFF), Single(0x40000000), N, Single(0x7F800000), true}},
      {kMul, {Single(0x7F7FFFFF), Single(0x40000000), Z, Single(0x7F7FFFFF), true}},
      {kMul, {Single(0x7F7FFFFF), Single(0x40000000), M, Single(0x7F7FFFFF), true}},
      {kMul, {Double(0xFFEFFFFFFFFFFFFF), Double(0x4000000000000000), P, Double(0xFFEFFFFFFFFFFFFF), true}},
      // Denormals round like everything else and underflow is no error.
      {kMul, {Single(0x00000001), Single(0x3F000000), N, Single(0x00000000), false}},
      {kMul, {Single(0x00000001), Single(0x3F000000), P, Single(0x00000001), false}},
      {kMul, {Single(0x00000003), Single(0x3F000000), N, Single(0x00000002), false}},
      {kMul, {Single(0x00000003), Single(0x3F000000), Z, Single(0x00000001), false}},
      {kAdd, {Double(0x0000000000000001), Double(0x0000000000000001), N, Double(0x0000000000000002), false}},
      {kSub, {Double(0x0010000000000000), Double(0x000FFFFFFFFFFFFF), N, Double(0x0000000000000001), false}},
      // Zeros: the sign of an exact zero sum depends on the mode.
      {kSub, {Single(0x3F800000), Single(0x3F800000), N, Single(0x00000000), false}},
      {kSub, {Single(0x3F800000), Single(0x3F800000), M, Single(0x80000000), false}},
      {kDiv, {Single(0x3F800000), Single(0x00000000), N, Single(0x7F800000), true}},
      {kDiv, {Single(0xBF800000), Single(0x00000000), N, Single(0xFF800000), true}},
      // Infinite operands are an error even when the result is exact; the
      // invalid ones give the T800's NaN for their cause.
      {kAdd, {Single(0x7F800000), Single(0x3F800000), N, Single(0x7F800000), true}},
      {kSub, {Single(0x7F800000), Single(0x7F800000), N, Single(0x7F880000), true}},
      {kMul, {Single(0x00000000), Single(0xFF800000), N, Single(0x7F900000), true}},
      {kDiv, {Single(0x00000000), Single(0x80000000), N, Single(0x7FC00000), true}},
      {kDiv, {Double(0x7FF0000000000000), Double(0x7FF0000000000000), N, Double(0x7FF4000000000000), true}},
      {kAdd, {Double(0xFFF0000000000000), Double(0x7FF0000000000000), N, Double(0x7FF1000000000000), true}},
      // NaNs: one is returned as it is; of two, the larger fraction.
      {kAdd, {Single(0x7F800001), Single(0x3F800000), N, Single(0x7F800001), true}},
      {kMul, {Single(0x3F800000), Single(0xFFC00002), N, Single(0xFFC00002), true}},
      {kSub, {Single(0x7FC00001), Single(0x7F800005), N, Single(0x7FC00001), true}},
      {kDiv, {Double(0x7FF0000000000001), Double(0x7FF0000000000009), N, Double(0x7FF0000000000009), true}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Case& c = rows[i].c;
    Expect(Arithmetic(rows[i].op, c.b, c.a, c.rounding), c, static_cast<int>(i));
  }
}

TEST(FpuArithmetic, SquareRootRemainderAndScaling) {
  const struct {
    char what;  // s: sqrt of a, r: b rem a, x: a * 2^32, h: a / 2
    Case c;
  } rows[] = {
      {'s', {{}, Double(0x4000000000000000), N, Double(0x3FF6A09E667F3BCD), false}},
      {'s', {{}, Double(0x4000000000000000), Z, Double(0x3FF6A09E667F3BCC), false}},
      {'s', {{}, Single(0x40000000), N, Single(0x3FB504F3), false}},
      {'s', {{}, Single(0x40000000), P, Single(0x3FB504F4), false}},
      {'s', {{}, Double(0x8000000000000000), N, Double(0x8000000000000000), false}},
      {'s', {{}, Double(0xBFF0000000000000), N, Double(0x7FF0800000000000), true}},
      {'s', {{}, Single(0x7F800000), N, Single(0x7F800000), true}},
      {'s', {{}, Single(0x00000002), N, Single(0x1A800000), false}},  // sqrt(2^-148) = 2^-74
      // The quotient rounds to nearest, ties to even.
      {'r', {Double(0x4014000000000000), Double(0x4008000000000000), N, Double(0xBFF0000000000000), false}},  // 5 rem 3
      {'r', {Double(0x401C000000000000), Double(0x4000000000000000), N, Double(0xBFF0000000000000), false}},  // 7 rem 2
      {'r', {Double(0x4014000000000000), Double(0x4000000000000000), N, Double(0x3FF0000000000000), false}},  // 5 rem 2
      {'r', {Double(0x4000000000000000), Double(0x4008000000000000), N, Double(0xBFF0000000000000), false}},  // 2 rem 3
      {'r', {Double(0x3FF8000000000000), Double(0x4008000000000000), N, Double(0x3FF8000000000000), false}},  // 1.5 rem 3
      {'r', {Double(0x4630000000000000), Double(0x4008000000000000), N, Double(0x3FF0000000000000), false}},  // 2^100 rem 3
      {'r', {Double(0x7E80000000000000), Double(0x4008000000000000), N, Double(0xBFF0000000000000), false}},  // 2^1001 rem 3
      {'r', {Double(0x0000000000000003), Double(0x0000000000000002), N, Double(0x8000000000000001), false}},
      {'r', {Double(0xC01C000000000000), Double(0x401C000000000000), N, Double(0x8000000000000000), false}},  // -7 rem 7
      {'r', {Single(0x40E00000), Single(0x40000000), N, Single(0xBF800000), false}},  // 7 rem 2
      {'r', {Single(0x3F800000), Single(0x00000000), N, Single(0x7F802000), true}},
      {'r', {Single(0xFF800000), Single(0x3F800000), N, Single(0x7F804000), true}},
      {'r', {Single(0x3F800000), Single(0x7F800000), N, Single(0x3F800000), true}},
      {'x', {{}, Single(0x3F800000), N, Single(0x4F800000), false}},
      {'x', {{}, Single(0x7F000000), N, Single(0x7F800000), true}},
      {'h', {{}, Single(0x00000003), N, Single(0x00000002), false}},
      {'h', {{}, Single(0x00000003), M, Single(0x00000001), false}},
      {'h', {{}, Double(0xFFF0000000000000), N, Double(0xFFF0000000000000), true}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Case& c = rows[i].c;
    const Result r = rows[i].what == 's'   ? SquareRoot(c.a, c.rounding)
                     : rows[i].what == 'r' ? Remainder(c.b, c.a)
                     : rows[i].what == 'x' ? Scale(c.a, 32, c.rounding)
                                           : Scale(c.a, -1, c.rounding);
    Expect(r, c, static_cast<int>(i));
  }
}

TEST(FpuArithmetic, ConversionsAtTheirLimits) {
  const struct {
    char what;  // d: to double, s: to single, i: to an integral value
    Case c;
  } rows[] = {
      {'s', {{}, Double(0x3FD5555555555555), N, Single(0x3EAAAAAB), false}},
      {'s', {{}, Double(0x3FD5555555555555), Z, Single(0x3EAAAAAA), false}},
      {'s', {{}, Double(0x7FEFFFFFFFFFFFFF), N, Single(0x7F800000), true}},
      {'s', {{}, Double(0x7FEFFFFFFFFFFFFF), Z, Single(0x7F7FFFFF), true}},
      {'s', {{}, Double(0x3370000000000000), N, Single(0x00000000), false}},  // 2^-200
      {'s', {{}, Double(0x3370000000000000), P, Single(0x00000001), false}},
      {'s', {{}, Double(0x7FF8000000000000), N, Single(0x7FC00000), true}},
      {'s', {{}, Double(0x7FF0000000000001), N, Single(0x7F820000), true}},
      {'d', {{}, Single(0x00000001), N, Double(0x36A0000000000000), false}},  // 2^-149, exactly
      {'d', {{}, Single(0xFF800000), N, Double(0xFFF0000000000000), true}},
      {'d', {{}, Single(0x7F800001), N, Double(0x7FF0000020000000), true}},
      {'i', {{}, Double(0x4004000000000000), N, Double(0x4000000000000000), false}},  // 2.5
      {'i', {{}, Double(0x400C000000000000), N, Double(0x4010000000000000), false}},  // 3.5
      {'i', {{}, Double(0xC004000000000000), N, Double(0xC000000000000000), false}},  // -2.5
      {'i', {{}, Double(0x4004000000000000), P, Double(0x4008000000000000), false}},
      {'i', {{}, Double(0xC004000000000000), M, Double(0xC008000000000000), false}},
      {'i', {{}, Double(0xC004000000000000), Z, Double(0xC000000000000000), false}},
      {'i', {{}, Double(0xBFD3333333333333), P, Double(0x8000000000000000), false}},  // -0.3 up: -0
      {'i', {{}, Double(0x0000000000000001), P, Double(0x3FF0000000000000), false}},
      {'i', {{}, Double(0x0000000000000001), N, Double(0x0000000000000000), false}},
      {'i', {{}, Double(0x43E0000000000000), M, Double(0x43E0000000000000), false}},
      {'i', {{}, Single(0x3FC00000), N, Single(0x40000000), false}},
      {'i', {{}, Single(0x7F800000), N, Single(0x7F800000), true}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Case& c = rows[i].c;
    const Result r = rows[i].what == 'i' ? RoundToIntegral(c.a, c.rounding) : Convert(c.a, rows[i].what == 'd', c.rounding);
    Expect(r, c, static_cast<int>(i));
  }
}

TEST(FpuArithmetic, IntegersAndComparisons) {
  EXPECT_EQ(FromInt32(16777217, false, N), Single(0x4B800000));
  EXPECT_EQ(FromInt32(16777217, false, P), Single(0x4B800001));
  EXPECT_EQ(FromInt32(-2147483647 - 1, false, N), Single(0xCF000000));
  EXPECT_EQ(FromInt32(-2147483647 - 1, true, N), Double(0xC1E0000000000000));
  EXPECT_EQ(FromInt32(0, true, N), Double(0));
  EXPECT_EQ(FromUint32(0xFFFFFFFFu), Double(0x41EFFFFFFFE00000));

  const struct {
    Value v;
    Rounding r;
    std::uint32_t bits;
    bool fits32, fits64;
  } ints[] = {
      {Double(0x41DFFFFFFFC00000), N, 0x7FFFFFFFu, true, true},    // 2^31 - 1
      {Double(0x41E0000000000000), N, 0x80000000u, false, true},   // 2^31
      {Double(0xC1E0000000000000), N, 0x80000000u, true, true},    // -2^31
      {Double(0xC1E0000000200000), N, 0x7FFFFFFFu, false, true},   // -2^31 - 1
      {Double(0x43E0000000000000), N, 0u, false, false},           // 2^63
      {Double(0xC3E0000000000000), N, 0u, false, true},            // -2^63
      {Double(0xC004000000000000), N, 0xFFFFFFFEu, true, true},    // -2.5
      {Double(0xC004000000000000), M, 0xFFFFFFFDu, true, true},
      {Single(0x7FC00000), N, 0x80000000u, false, false},
  };
  for (const auto& row : ints) {
    EXPECT_EQ(ToInt32Bits(row.v, row.r), row.bits) << std::hex << row.v.bits;
    EXPECT_EQ(FitsInteger(row.v, 32), row.fits32) << std::hex << row.v.bits;
    EXPECT_EQ(FitsInteger(row.v, 64), row.fits64) << std::hex << row.v.bits;
  }

  const struct {
    Value b, a;
    bool greater, equal, error;
  } compares[] = {
      {Single(0x3F800000), Single(0x80000000), true, false, false},
      {Single(0x00000000), Single(0x80000000), false, true, false},
      {Single(0x00000001), Single(0x00000000), true, false, false},
      {Double(0x7FF0000000000000), Double(0x3FF0000000000000), true, false, true},
      {Double(0x7FF8000000000000), Double(0x7FF8000000000000), false, false, true},
  };
  for (const auto& row : compares) {
    EXPECT_EQ(Greater(row.b, row.a).value.bits, row.greater ? 1u : 0u);
    EXPECT_EQ(Equal(row.b, row.a).value.bits, row.equal ? 1u : 0u);
    EXPECT_EQ(Greater(row.b, row.a).error, row.error);
  }
}

}  // namespace
}  // namespace t800::fp
