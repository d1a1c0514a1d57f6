// The direct functions and prefixing.
#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800::test {
namespace {

TEST(Prefixing, BuildsEveryOperandIncludingNegativeAndExtremes) {
  for (const std::int32_t value : {0, 15, 16, 255, 256, 0x12345678, -1, -16, -17, -256, -257,
                                   static_cast<std::int32_t>(0x80000000u), 0x7FFFFFFF}) {
    Machine m;
    ASSERT_EQ(m.Start(Code()(Ldc, value).op(Stopp)), RunStatus::kIdle);
    EXPECT_EQ(m.cpu.registers().a, static_cast<std::uint32_t>(value)) << value;
  }
  // The documented example: 60 4F is ldc -1.
  Machine m;
  m.Start(Code().raw({0x60, 0x4F}).op(Stopp));
  EXPECT_EQ(m.cpu.registers().a, 0xFFFFFFFFu);
}

TEST(Prefixing, APrefixSequenceRunsAsOneStepWhateverTheBudget) {
  // A budget of one cycle ends after every instruction, never inside a
  // prefix sequence: each Run moves Iptr past whole instructions only.
  Machine m;
  const Code code = Code()(Ldc, 0x12345)(Ldc, -300).op(Stopp);
  m.Load(code);
  m.cpu.StartProcess(Machine::kCode, Machine::kWorkspace, 1);
  std::vector<std::uint32_t> stops;
  while (m.cpu.Run(1) == RunStatus::kBudgetUsed) stops.push_back(m.cpu.registers().iptr - Machine::kCode);
  EXPECT_EQ(stops, (std::vector<std::uint32_t>{5, 8}));
  EXPECT_EQ(m.cpu.registers().a, static_cast<std::uint32_t>(-300));
}

TEST(DirectFunctions, LoadStoreAndAddress) {
  Machine m;
  m.SetWord(0x80002008, 0xCAFEF00D);
  const Code code = Code()
                        (Ldc, 0x11)(Stl, 2)              // W[2] = 0x11
                        (Ldl, 2)(Adc, 5)(Stl, 3)         // W[3] = 0x16
                        (Ldc, 0x2000)(Ldnlp, 0)          // A = 0x2000
                        .op(Mint).op(Or)(Ldnl, 2)        // [0x80002008]
                        (Stl, 4)
                        (Ldl, 3)(Ldc, 0x2000).op(Mint).op(Or)(Stnl, 5)  // [0x80002014] = 0x16
                        (Ldlp, 3)(Ldnlp, 1)(Stl, 5)      // W[5] = Wptr + 16
                        (Ldc, 7)(Eqc, 7)(Stl, 6)(Ldc, 7)(Eqc, 8)(Stl, 7)
                        .op(Stopp);
  m.Start(code);
  const std::uint32_t w = Machine::kWorkspace;
  EXPECT_EQ(m.Word(w + 8), 0x11u);
  EXPECT_EQ(m.Word(w + 12), 0x16u);
  EXPECT_EQ(m.Word(w + 16), 0xCAFEF00Du);
  EXPECT_EQ(m.Word(0x80002014), 0x16u);
  EXPECT_EQ(m.Word(w + 20), w + 16);
  EXPECT_EQ(m.Word(w + 24), 1u);
  EXPECT_EQ(m.Word(w + 28), 0u);
  EXPECT_FALSE(m.cpu.error());
}

TEST(DirectFunctions, AdcSetsErrorOnSignedOverflowOnly) {
  const struct {
    std::int32_t a, n;
    bool error;
  } cases[] = {{0x7FFFFFFF, 1, true}, {-1, 1, false}, {static_cast<std::int32_t>(0x80000000u), -1, true},
               {5, -6, false}, {0x7FFFFFF0, 15, false}};
  for (const auto& t : cases) {
    Machine m;
    m.Start(Code()(Ldc, t.a)(Adc, t.n).op(Stopp));
    EXPECT_EQ(m.cpu.error(), t.error) << t.a << " + " << t.n;
    EXPECT_EQ(m.cpu.registers().a, static_cast<std::uint32_t>(t.a) + static_cast<std::uint32_t>(t.n));
  }
}

TEST(DirectFunctions, JumpsBranchesCallAndReturn) {
  Machine m;
  Code calls;
  calls(Ldc, 7)(Ldc, 8)(Ldc, 9)  // C=7 B=8 A=9
      (Call, 3)                  // frame: W[0] ret, W[1] A, W[2] B, W[3] C
      (Ajw, 8).op(Stopp)         // after return, well away from the frame
      .op(Ret);                  // the subroutine returns at once
  m.Start(calls);
  const std::uint32_t frame = Machine::kWorkspace - 16;
  EXPECT_EQ(m.Word(frame + 4), 9u);
  EXPECT_EQ(m.Word(frame + 8), 8u);
  EXPECT_EQ(m.Word(frame + 12), 7u);
  EXPECT_EQ(m.Word(frame), Machine::kCode + 4);  // the return address
  EXPECT_EQ(m.cpu.registers().wptr, Machine::kWorkspace + 32);
  EXPECT_EQ(m.cpu.registers().a, Machine::kCode + 4);

  Machine b;
  b.Start(Code()(Ldc, 0)(Cj, 1)(Ldc, 5)(Stl, 1)(Ldc, 3)(Cj, 1).op(Stopp)(Stl, 2).op(Stopp));
  EXPECT_EQ(b.Word(Machine::kWorkspace + 4), 0u);  // ldc 5 jumped over, A still 0
  // ldc 3; cj pops it and falls into stopp, leaving W[2] untouched.
  EXPECT_EQ(b.Word(Machine::kWorkspace + 8), 0u);
  EXPECT_EQ(b.cpu.registers().iptr, Machine::kCode + 8);
}

TEST(DirectFunctions, AjwGajwGcallAndLdpi) {
  Machine m;
  m.Start(Code()(Ajw, -4)(Ldc, 3).op(Ldpi)(Stl, 0).op(Stopp));
  EXPECT_EQ(m.cpu.registers().wptr, Machine::kWorkspace - 16);
  EXPECT_EQ(m.Word(Machine::kWorkspace - 16), Machine::kCode + 5 + 3);

  Machine g;  // gcall swaps A and Iptr: jump to the code after the stopp
  g.Start(Code()(Ldc, 0x100B).op(Mint).op(Or).op(Gcall).op(Stopp)(Ldc, 1).op(Stopp));
  EXPECT_EQ(g.cpu.registers().a, 1u);
  EXPECT_EQ(g.cpu.registers().b, Machine::kCode + 9);
}

}  // namespace
}  // namespace t800::test
