// Processes: PAR start and join, the run queues, timeslicing and pre-emption.
#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800::test {
namespace {

TEST(Scheduling, ParallelBranchesJoinAtEndpAndTheLastCarriesOn) {
  Machine m;
  const std::uint32_t block = 0x80004000, child_w = 0x80006000, child_code = Machine::kCode + 0x100,
                      successor = Machine::kCode + 0x200;
  m.SetWord(block, successor);
  m.SetWord(block + 4, 2);
  m.Load(Code()(Ldc, 2)(Ldc, I(0x80005000))(Stnl, 0)(Ldc, I(block)).op(Endp), child_code);
  m.Load(Code()(Ldc, 7)(Stl, 2).op(Stopp), successor);  // runs with Wptr = the block
  // startp's offset counts from the instruction after it.
  Code parent;
  const Code tail = Code()(Ldc, 1)(Stl, 1)(Ldc, I(block)).op(Endp);
  for (std::int32_t offset = 0;;) {
    parent = Code()(Ldc, offset)(Ldc, I(child_w)).op(Startp);
    const std::int32_t wanted = I(child_code - (Machine::kCode + parent.size()));
    if (wanted == offset) break;
    offset = wanted;
  }
  parent.bytes.insert(parent.bytes.end(), tail.bytes.begin(), tail.bytes.end());
  EXPECT_EQ(m.Start(parent), RunStatus::kIdle);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 1u);
  EXPECT_EQ(m.Word(0x80005000), 2u);
  EXPECT_EQ(m.Word(block + 8), 7u);  // the successor ran once
  EXPECT_EQ(m.Word(block + 4), 1u);
}

// A low-priority loop that counts in W[1] and jumps back: ldl 1; adc 1; stl 1; j -5.
Code CountingLoop() { return Code()(Ldl, 1)(Adc, 1)(Stl, 1)(J, -5); }

TEST(Scheduling, LowPriorityIsTimeslicedOnlyAfterItsPeriodAndOnlyAtAJump) {
  Machine m;
  const std::uint32_t other_w = 0x80006000, other_code = Machine::kCode + 0x100;
  PrepareProcess(m, CountingLoop(), other_code, other_w);
  Code first = Code()(Ldc, I(other_w | 1)).op(Runp);
  const std::uint32_t loop_start = Machine::kCode + first.size();
  const Code loop = CountingLoop();
  first.bytes.insert(first.bytes.end(), loop.bytes.begin(), loop.bytes.end());
  m.Start(first, 1, 5000);
  for (int i = 0; i < 5; ++i) m.cpu.Run(5000);  // no time passes: no timeslice
  EXPECT_GT(m.Word(Machine::kWorkspace + 4), 0u);
  EXPECT_EQ(m.Word(other_w + 4), 0u);
  m.clock.now += 1024;
  m.cpu.Run(5000);
  EXPECT_GT(m.Word(other_w + 4), 0u);
  // The first process was moved to the back of the queue at its jump.
  EXPECT_EQ(m.Word(Machine::kWorkspace - 4), loop_start);
}

TEST(Scheduling, HighPriorityIsNeverTimesliced) {
  Machine m;
  const std::uint32_t other_w = 0x80006000, other_code = Machine::kCode + 0x100;
  PrepareProcess(m, CountingLoop(), other_code, other_w);
  Code first = Code()(Ldc, I(other_w)).op(Runp);  // both high priority
  const Code loop = CountingLoop();
  first.bytes.insert(first.bytes.end(), loop.bytes.begin(), loop.bytes.end());
  m.Start(first, 0, 5000);
  for (int i = 0; i < 5; ++i) {
    m.clock.now += 5000;
    m.cpu.Run(5000);
  }
  EXPECT_EQ(m.Word(other_w + 4), 0u);
}

TEST(Scheduling, LendLoopsCountTimesAndIsATimeslicePointOnlyWhenLooping) {
  Machine m;
  // W[2..3] = {index 0, count 4}; body adds index into W[1].
  const Code code = Code()(Ldc, 0)(Stl, 2)(Ldc, 4)(Stl, 3)
                        (Ldl, 1)(Ldl, 2).op(Add)(Stl, 1)  // body: 4 bytes
                        (Ldlp, 2)(Ldc, 8).op(Lend)        // back 8 bytes from after lend
                        .op(Stopp);
  m.Start(code);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 0u + 1 + 2 + 3);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 8), 3u);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 12), 0u);
}

TEST(Scheduling, HighPriorityPreemptsLowWhichResumesWithItsRegisters) {
  Machine m;
  const std::uint32_t high_w = 0x80006000, high_code = Machine::kCode + 0x100, dest = 0x80002000;
  m.Load(Code()(Ldc, I(dest))(Ldc, I(kLinkInChannel0))(Ldc, 1).op(In)(Ldc, 0x55)(Stl, 1).op(Stopp), high_code);
  m.cpu.StartProcess(high_code, high_w, 0);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);  // waits on link 0

  // The low process fills its stack, then spins on a jump to itself.
  const Code low = Code()(Ldc, 11)(Ldc, 22)(Ldc, 33)(J, -2);
  m.Load(low);
  m.cpu.StartProcess(Machine::kCode, Machine::kWorkspace, 1);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kBudgetUsed);

  const std::uint8_t byte = 0x77;
  EXPECT_EQ(m.cpu.LinkInput(0, &byte, 1), 1u);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kBudgetUsed);
  EXPECT_EQ(m.cpu.memory().Byte(dest), 0x77u);
  EXPECT_EQ(m.Word(high_w + 4), 0x55u);
  // The interrupted state was saved and restored whole.
  EXPECT_EQ(m.Word(kSaveArea + 4), Machine::kCode + 5);  // the jump: ldc 22 and 33 take a prefix each
  EXPECT_EQ(m.Word(kSaveArea + 8), 33u);
  const Registers r = m.cpu.registers();
  EXPECT_EQ(r.priority, 1);
  EXPECT_EQ(r.a, 33u);
  EXPECT_EQ(r.b, 22u);
  EXPECT_EQ(r.c, 11u);
  EXPECT_EQ(r.wptr, Machine::kWorkspace);
}

TEST(Scheduling, QueueRegistersCanBeSavedAndSet) {
  Machine m;  // savel after runp shows the one queued process at front and back
  const std::uint32_t other_w = 0x80006000;
  PrepareProcess(m, Code().op(Stopp), Machine::kCode + 0x100, other_w);
  m.Start(Code()(Ldc, I(other_w | 1)).op(Runp)(Ldlp, 4).op(0x3D).op(Stopp));
  EXPECT_EQ(m.Word(Machine::kWorkspace + 16), other_w);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 20), other_w);
}

}  // namespace
}  // namespace t800::test
