// Soft channels, ALT and the timers.
#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800::test {
namespace {

constexpr std::uint32_t kChan1 = 0x80005000, kChan2 = 0x80005004;

// Starts each prepared process with runp, then stops.
Code Starter(std::initializer_list<std::uint32_t> wdescs) {
  Code code;
  for (std::uint32_t w : wdescs) code(Ldc, I(w)).op(Runp);
  return code.op(Stopp);
}

TEST(Channels, MessagesPassWhicheverSideArrivesFirst) {
  for (const bool reader_first : {true, false}) {
    Machine m;
    m.SetWord(kChan1, kNotProcess);
    const std::uint32_t writer_w = 0x80006000, reader_w = 0x80007000, text = 0x80002000, into = 0x80003000;
    m.cpu.memory().Write(text, reinterpret_cast<const std::uint8_t*>("hello"), 5);
    PrepareProcess(m, Code()(Ldc, I(text))(Ldc, I(kChan1))(Ldc, 5).op(Out)(Ldc, 1)(Stl, 1).op(Stopp),
                   Machine::kCode + 0x100, writer_w);
    PrepareProcess(m, Code()(Ldc, I(into))(Ldc, I(kChan1))(Ldc, 5).op(In)(Ldc, 1)(Stl, 1).op(Stopp),
                   Machine::kCode + 0x200, reader_w);
    EXPECT_EQ(m.Start(reader_first ? Starter({reader_w | 1, writer_w | 1}) : Starter({writer_w | 1, reader_w | 1})),
              RunStatus::kIdle);
    std::uint8_t got[5];
    m.cpu.memory().Read(into, got, 5);
    EXPECT_EQ(std::string(got, got + 5), "hello");
    EXPECT_EQ(m.Word(writer_w + 4), 1u);
    EXPECT_EQ(m.Word(reader_w + 4), 1u);
    EXPECT_EQ(m.Word(kChan1), kNotProcess);
  }
}

// ALT over two channels: enable 1 then 2, disable 2 then 1. Each branch
// inputs a word and records which branch ran in W[6].
Code AltCode(bool timed, std::uint32_t timeout) {
  const Code branch1 = Code()(Ldlp, 7)(Ldc, I(kChan1))(Ldc, 4).op(In)(Ldc, 1)(Stl, 6).op(Stopp);
  const Code branch2 = Code()(Ldlp, 7)(Ldc, I(kChan2))(Ldc, 4).op(In)(Ldc, 2)(Stl, 6).op(Stopp);
  const Code branch3 = Code()(Ldc, 3)(Stl, 6).op(Stopp);
  Code code;
  if (timed) code.op(Talt).op(Ldtimer)(Adc, I(timeout))(Stl, 8); else code.op(Alt);
  code(Ldc, I(kChan1))(Ldc, 1).op(Enbc)(Ldc, I(kChan2))(Ldc, 1).op(Enbc);
  if (timed) code(Ldl, 8)(Ldc, 1).op(Enbt);
  code.op(timed ? Taltwt : Altwt);
  if (timed) code(Ldl, 8)(Ldc, 1)(Ldc, I(branch1.size() + branch2.size())).op(Dist);
  code(Ldc, I(kChan2))(Ldc, 1)(Ldc, I(branch1.size())).op(Disc);
  code(Ldc, I(kChan1))(Ldc, 1)(Ldc, 0).op(Disc);
  code.op(Altend);
  for (const Code* b : {&branch1, &branch2, &branch3}) code.bytes.insert(code.bytes.end(), b->bytes.begin(), b->bytes.end());
  return code;
}

struct AltScene {
  Machine m;
  static constexpr std::uint32_t kAltW = 0x80006000, kOut1W = 0x80007000, kOut2W = 0x80007800;
  AltScene(bool timed, std::uint32_t timeout = 100) {
    m.SetWord(kChan1, kNotProcess);
    m.SetWord(kChan2, kNotProcess);
    PrepareProcess(m, AltCode(timed, timeout), Machine::kCode + 0x100, kAltW);
    PrepareProcess(m, Code()(Ldc, I(kChan1))(Ldc, 0x111).op(Outword)(Ldc, 1)(Stl, 1).op(Stopp), Machine::kCode + 0x300, kOut1W);
    PrepareProcess(m, Code()(Ldc, I(kChan2))(Ldc, 0x222).op(Outword)(Ldc, 1)(Stl, 1).op(Stopp), Machine::kCode + 0x400, kOut2W);
  }
  std::uint32_t Branch() const { return m.Word(kAltW + 24); }
};

TEST(Alt, TheFirstReadyGuardInDisableOrderWinsNotTheFirstEnabled) {
  AltScene s(false);
  s.m.Start(Starter({AltScene::kOut1W | 1, AltScene::kOut2W | 1, AltScene::kAltW | 1}));
  EXPECT_EQ(s.Branch(), 2u);
  EXPECT_EQ(s.m.Word(AltScene::kAltW + 28), 0x222u);
  EXPECT_EQ(s.m.Word(AltScene::kOut2W + 4), 1u);
  EXPECT_EQ(s.m.Word(AltScene::kOut1W + 4), 0u);  // still waiting on channel 1
  EXPECT_EQ(s.m.Word(kChan1), AltScene::kOut1W | 1);
}

TEST(Alt, AWaitingAltWakesWhenAnOutputArrivesAndTheOutputCompletesAfterTheInput) {
  AltScene s(false);
  s.m.Start(Starter({AltScene::kAltW | 1, AltScene::kOut1W | 1}));
  EXPECT_EQ(s.Branch(), 1u);
  EXPECT_EQ(s.m.Word(AltScene::kAltW + 28), 0x111u);
  EXPECT_EQ(s.m.Word(AltScene::kOut1W + 4), 1u);
  EXPECT_EQ(s.m.Word(kChan2), kNotProcess);  // disc withdrew the enabled channel
}

TEST(Alt, TimerGuardFiresAfterItsTimeAndAChannelBeforeItLeavesTheTimerQueue) {
  {
    AltScene s(true, 100);
    s.m.Start(Code()(Ldc, 0).op(Sttimer)(Ldc, I(AltScene::kAltW | 1)).op(Runp).op(Stopp));
    EXPECT_EQ(s.m.cpu.Run(1000), RunStatus::kIdle);
    EXPECT_EQ(s.m.cpu.MicrosecondsToNextTimer(), std::optional<std::uint64_t>(101 * 64));
    s.m.clock.now += 100 * 64;  // the low clock reads 100: not yet AFTER the time
    EXPECT_EQ(s.m.cpu.Run(1000), RunStatus::kIdle);
    EXPECT_EQ(s.Branch(), 0u);
    s.m.clock.now += 64;
    EXPECT_EQ(s.m.cpu.Run(1000), RunStatus::kIdle);
    EXPECT_EQ(s.Branch(), 3u);
  }
  {
    AltScene s(true, 100);
    s.m.Start(Code()(Ldc, 0).op(Sttimer)(Ldc, I(AltScene::kAltW | 1)).op(Runp).op(Stopp));
    s.m.cpu.Run(1000);
    PrepareProcess(s.m, Code()(Ldc, I(AltScene::kOut2W | 1)).op(Runp).op(Stopp), Machine::kCode + 0x500, 0x80007C00);
    s.m.cpu.StartProcess(Machine::kCode + 0x500, 0x80007C00, 1);
    s.m.cpu.Run(1000);
    EXPECT_EQ(s.Branch(), 2u);
    EXPECT_EQ(s.m.Word(kTimerQueueHead[1]), kNotProcess);
    EXPECT_FALSE(s.m.cpu.MicrosecondsToNextTimer().has_value());
  }
}

TEST(Timers, TinWaitsUntilTheClockIsAfterItsTimeAcrossTheWrap) {
  Machine m;
  // High priority: the clock ticks every microsecond; start just below the wrap.
  const Code code = Code()(Ldc, I(0xFFFFFFF0u)).op(Sttimer).op(Ldtimer)(Adc, 0x20).op(Tin).op(Ldtimer)(Stl, 1).op(Stopp);
  EXPECT_EQ(m.Start(code, 0), RunStatus::kIdle);
  EXPECT_EQ(m.cpu.MicrosecondsToNextTimer(), std::optional<std::uint64_t>(0x21));
  m.clock.now += 0x20;
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 0u);
  m.clock.now += 1;
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 0x11u);
  // A time already past does not wait.
  Machine p;
  EXPECT_EQ(p.Start(Code()(Ldc, 100).op(Sttimer)(Ldc, 50).op(Tin)(Ldc, 9)(Stl, 1).op(Stopp), 0), RunStatus::kIdle);
  EXPECT_EQ(p.Word(Machine::kWorkspace + 4), 9u);
}

TEST(Timers, TheQueueKeepsWakeOrderAndTheLowClockTicksEverySixtyFourMicroseconds) {
  Machine m;
  const std::uint32_t w[3] = {0x80006000, 0x80006400, 0x80006800};
  const std::int32_t delay[3] = {30, 10, 20};
  // Each process waits delay ticks, then appends its number to a log word by shifting.
  for (int i = 0; i < 3; ++i) {
    PrepareProcess(m,
                   Code().op(Ldtimer)(Adc, delay[i]).op(Tin)(Ldc, I(0x80005100))(Ldnl, 0)(Ldc, 4).op(Shl)(Adc, i + 1)
                       (Ldc, I(0x80005100))(Stnl, 0).op(Stopp),
                   Machine::kCode + 0x100 * static_cast<std::uint32_t>(i + 1), w[i]);
  }
  m.Start(Code()(Ldc, 0).op(Sttimer)(Ldc, I(w[0] | 1)).op(Runp)(Ldc, I(w[1] | 1)).op(Runp)(Ldc, I(w[2] | 1)).op(Runp).op(Stopp));
  m.cpu.Run(1000);
  for (int t = 0; t < 40; ++t) {
    m.clock.now += 64;
    m.cpu.Run(1000);
  }
  EXPECT_EQ(m.Word(0x80005100), 0x231u);
  EXPECT_EQ(m.cpu.TimerValue(1), 40u);
  EXPECT_EQ(m.cpu.TimerValue(0), 40u * 64);
}

}  // namespace
}  // namespace t800::test
