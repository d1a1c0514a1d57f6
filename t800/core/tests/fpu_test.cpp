// The FPU as programs see it: the length tags through loads, stores, fprev
// and fpdup; the one-shot rounding mode; FP error apart from Error; the
// remainder and square-root sequences as compilers emit them; conversions
// through memory; and the FP state across pre-emption and descheduling.
#include <gtest/gtest.h>

#include "t800/core/constants.h"
#include "t800/core/tests/machine.h"

namespace t800::test {
namespace {

enum FpOp : int {
  Fpldnldbi = 0x82, Fpchkerr = 0x83, Fpstnldb = 0x84, Fpldnlsni = 0x86, Fpstnlsn = 0x88, Fpsub = 0x89,
  Fpldnldb = 0x8A, Fpdiv = 0x8C, Fpldnlsn = 0x8E, Fpremfirst = 0x8F, Fpremstep = 0x90, Fpgt = 0x94,
  Fpi32tor64 = 0x98, Fpb32tor64 = 0x9A, Fptesterr = 0x9C, Fprtoi32 = 0x9D, Fpstnli32 = 0x9E, Fpldzerosn = 0x9F,
  Fpdup = 0xA3, Fprev = 0xA4, Fpldnlmuldb = 0xA8, Fpentry = 0xAB,
};
enum Entry : int { SqrtFirst = 0x01, SqrtStep = 0x02, SqrtLast = 0x03, Rp = 0x04, Rz = 0x06, ChkI32 = 0x0E,
                   SetErr = 0x23, ClrErr = 0x9C };

constexpr std::uint32_t kData = 0x80002000u, kOut = 0x80003000u;

Code& Entry(Code& c, int code) { return c(Ldc, code).op(Fpentry); }
Code& At(Code& c, std::uint32_t address) { return c(Ldc, I(address)); }

struct FpMachine : Machine {
  void SetDouble(std::uint32_t at, std::uint64_t bits) {
    SetWord(at, static_cast<std::uint32_t>(bits));
    SetWord(at + 4, static_cast<std::uint32_t>(bits >> 32));
  }
  std::uint64_t Double(std::uint32_t at) const { return std::uint64_t{Word(at + 4)} << 32 | Word(at); }
  std::uint32_t Local(int slot) const { return Word(kWorkspace + 4u * static_cast<std::uint32_t>(slot)); }
};

TEST(Fpu, LengthTagsFollowTheValuesThroughLoadsStoresRevAndDup) {
  FpMachine m;
  m.SetWord(kData, 0x3FC00000u);             // 1.5f
  m.SetDouble(kData + 8, 0x4004000000000000);  // 2.5
  Code c;
  At(c, kData).op(Fpldnlsn);
  At(c, kData + 8).op(Fpldnldb).op(Fprev).op(Fpdup);  // FA, FB single 1.5; FC double 2.5
  At(c, kOut).op(Fpstnlsn);
  At(c, kOut + 4).op(Fpstnlsn);
  At(c, kOut + 8).op(Fpstnldb);
  c(Ldc, 1);
  At(c, kData).op(Fpldnldbi);  // [kData + 8]
  c(Ldc, 2);
  At(c, kData).op(Fpldnlsni);  // [kData + 8]: the double's low word as a single
  At(c, kOut + 16).op(Fpstnlsn);
  At(c, kOut + 24).op(Fpstnldb);
  c.op(Fptesterr)(Stl, 1);
  // Mixed lengths are a program error: FP error, FB taken to FA's length.
  At(c, kData).op(Fpldnlsn);
  At(c, kData + 8).op(Fpldnldb).op(Fpsub);
  At(c, kOut + 32).op(Fpstnldb);
  c.op(Fptesterr)(Stl, 2).op(Stopp);
  m.Start(c);
  EXPECT_EQ(m.Word(kOut), 0x3FC00000u);
  EXPECT_EQ(m.Word(kOut + 4), 0x3FC00000u);
  EXPECT_EQ(m.Double(kOut + 8), 0x4004000000000000u);
  EXPECT_EQ(m.Word(kOut + 16), 0u);
  EXPECT_EQ(m.Double(kOut + 24), 0x4004000000000000u);
  EXPECT_EQ(m.Local(1), 1u);                          // no FP error so far
  EXPECT_EQ(m.Double(kOut + 32), 0xBFF0000000000000u);  // 1.5 - 2.5
  EXPECT_EQ(m.Local(2), 0u);
  EXPECT_FALSE(m.cpu.error());
}

TEST(Fpu, RoundingModeServesOneOperationAndErrorStaysApartFromError) {
  FpMachine m;
  m.SetDouble(kData, 0x3FF0000000000000);      // 1
  m.SetDouble(kData + 8, 0x4008000000000000);  // 3
  Code c;
  for (int i = 0; i < 3; ++i) {
    At(c, kData).op(Fpldnldb);
    At(c, kData + 8).op(Fpldnldb);
    if (i == 0) Entry(Entry(c, Rz), Rp);  // the last setter wins
    if (i == 2) Entry(c, Rp).op(Fpldzerosn).op(Fprev).op(0x87);  // fpadd 0 consumes the mode
    c.op(Fpdiv);
    At(c, kOut + 8u * static_cast<std::uint32_t>(i)).op(Fpstnldb);
  }
  Entry(c, SetErr).op(Fptesterr)(Stl, 1).op(Fptesterr)(Stl, 2);
  Entry(c, SetErr);
  Entry(c, ClrErr).op(Fpchkerr);
  c(Ldc, 0).op(Testerr)(Stl, 3);
  Entry(c, SetErr).op(Fpchkerr).op(Fptesterr)(Stl, 4).op(Stopp);
  m.Start(c);
  EXPECT_EQ(m.Double(kOut), 0x3FD5555555555556u);       // rounded up
  EXPECT_EQ(m.Double(kOut + 8), 0x3FD5555555555555u);   // back to nearest
  EXPECT_EQ(m.Double(kOut + 16), 0x3FD5555555555555u);  // the mode went to the fpadd
  EXPECT_EQ(m.Local(1), 0u);
  EXPECT_EQ(m.Local(2), 1u);  // fptesterr cleared it
  EXPECT_EQ(m.Local(3), 1u);  // fpchkerr with FP error clear leaves Error alone
  EXPECT_EQ(m.Local(4), 0u);  // fpchkerr does not clear FP error
  EXPECT_TRUE(m.cpu.error());
}

TEST(Fpu, RemainderAndSquareRootSequencesAsCompiled) {
  FpMachine m;
  m.SetWord(kData, 0x40E00000u);               // 7f
  m.SetWord(kData + 4, 0x40000000u);           // 2f
  m.SetDouble(kData + 8, 0x4000000000000000);  // 2.0
  Code c;
  At(c, kData).op(Fpldnlsn);
  At(c, kData + 4).op(Fpldnlsn).op(Fpremfirst)(Eqc, 0)(Cj, 4).op(Fpremstep)(Cj, -4);
  At(c, kOut).op(Fpstnlsn);
  At(c, kData + 8).op(Fpldnldb);
  Entry(Entry(Entry(c, SqrtFirst), SqrtStep), SqrtStep);
  Entry(Entry(c, Rz), SqrtLast);
  At(c, kOut + 8).op(Fpstnldb);
  At(c, kData + 8).op(Fpldnldb);
  Entry(Entry(Entry(Entry(c, SqrtFirst), SqrtStep), SqrtStep), SqrtLast);
  At(c, kOut + 16).op(Fpstnldb).op(Stopp);
  EXPECT_EQ(m.Start(c), RunStatus::kIdle);
  EXPECT_EQ(m.Word(kOut), 0xBF800000u);  // 7 rem 2 = -1 (the quotient 3.5 rounds to 4)
  EXPECT_EQ(m.Double(kOut + 8), 0x3FF6A09E667F3BCCu);
  EXPECT_EQ(m.Double(kOut + 16), 0x3FF6A09E667F3BCDu);
}

TEST(Fpu, ConversionsThroughMemoryAndComparisonsOnTheIntegerStack) {
  FpMachine m;
  m.SetWord(kData, static_cast<std::uint32_t>(-7));
  m.SetWord(kData + 4, 3);
  m.SetWord(kData + 8, 0xFFFFFFFFu);
  m.SetDouble(kData + 16, 0x4004000000000000);  // 2.5
  Code c;
  At(c, kData).op(Fpi32tor64);
  At(c, kData + 4).op(Fpi32tor64).op(Fpdiv).op(Fprtoi32);  // -7/3 to -2
  At(c, kOut).op(Fpstnli32);
  c.op(Fptesterr)(Stl, 1);
  At(c, kData + 8).op(Fpb32tor64);
  At(c, kOut + 8).op(Fpstnldb);
  At(c, kData + 8).op(Fpb32tor64);
  Entry(c, ChkI32).op(Fptesterr)(Stl, 2);  // 2^32 - 1 is no INT32
  // fpgt pushes FB > FA and pops both: the single zero below comes back up.
  c.op(Fpldzerosn);
  At(c, kData + 16).op(Fpldnldb);
  At(c, kData + 16).op(Fpldnldb);
  At(c, kData + 16).op(Fpldnlmuldb).op(Fpgt)(Stl, 3);  // 2.5 > 6.25
  At(c, kOut + 16).op(Fpstnlsn).op(Stopp);
  m.SetWord(kOut + 16, 0xFFFFFFFFu);
  m.Start(c);
  EXPECT_EQ(m.Word(kOut), static_cast<std::uint32_t>(-2));
  EXPECT_EQ(m.Local(1), 1u);
  EXPECT_EQ(m.Double(kOut + 8), 0x41EFFFFFFFE00000u);
  EXPECT_EQ(m.Local(2), 0u);
  EXPECT_EQ(m.Local(3), 0u);
  EXPECT_EQ(m.Word(kOut + 16), 0u);
}

TEST(Fpu, PreemptedProcessKeepsItsFpStateAndDeschedulingDropsFpError) {
  FpMachine m;
  const std::uint32_t high_w = 0x80006000, high_code = Machine::kCode + 0x200, low_w = Machine::kWorkspace;
  m.SetWord(kData, 0x3FC00000u);
  // The high process waits for a byte, then fills the FP stack, clears FP
  // error and releases the low one.
  Code high;
  At(high, 0x80002100)(Ldc, I(kLinkInChannel0))(Ldc, 1).op(In).op(0xA0).op(0xA0).op(0xA0);
  Entry(high, ClrErr)(Ldc, 1);
  At(high, low_w + 4)(Stnl, 0).op(Stopp);
  m.Load(high, high_code);
  m.cpu.StartProcess(high_code, high_w, 0);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  // The low process sets FP error with 1.5 in FA, then spins until released.
  Code low;
  low(Ldc, 0)(Stl, 1);
  At(low, kData).op(Fpldnlsn);
  Entry(low, SetErr)(Ldl, 1)(Cj, -3).op(Fptesterr)(Stl, 2);
  At(low, kOut).op(Fpstnlsn);
  // Then it sets FP error again and waits on the link: descheduled.
  Entry(low, SetErr);
  At(low, 0x80002100)(Ldc, I(kLinkInChannel0))(Ldc, 1).op(In).op(Fptesterr)(Stl, 3).op(Stopp);
  m.Load(low);
  m.cpu.StartProcess(Machine::kCode, low_w, 1);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kBudgetUsed);
  const std::uint8_t byte = 1;
  EXPECT_EQ(m.cpu.LinkInput(0, &byte, 1), 1u);
  EXPECT_EQ(m.cpu.Run(2000), RunStatus::kIdle);
  EXPECT_EQ(m.Local(2), 0u);  // FP error came back with the low process
  EXPECT_EQ(m.Word(kOut), 0x3FC00000u);
  EXPECT_EQ(m.cpu.LinkInput(0, &byte, 1), 1u);
  m.cpu.Run(2000);
  EXPECT_EQ(m.Local(3), 1u);  // but not across its own descheduling
}

}  // namespace
}  // namespace t800::test
