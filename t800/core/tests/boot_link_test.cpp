// Boot from link, peek and poke, analyse, and the hard links.
#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Le(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
std::size_t Send(Machine& m, int link, const Bytes& bytes) { return m.cpu.LinkInput(link, bytes.data(), bytes.size()); }
Bytes Take(Machine& m, int link, std::size_t most = 64) {
  Bytes out(most);
  out.resize(m.cpu.LinkOutput(link, out.data(), most));
  return out;
}

// Boot code that stores its start registers: W[1] = A, W[2] = B, W[3] = C, W[4] = Wptr.
Code StartRegisterProbe() { return Code()(Stl, 1)(Stl, 2)(Stl, 3)(Ldlp, 0)(Stl, 4).op(Testpranal)(Stl, 5).op(Stopp); }

TEST(Boot, StartsWithThePreResetProcessInABAndTheBootLinkInC) {
  for (const Cpu type : {Cpu::kT414, Cpu::kT800}) {
    Machine m(type);
    m.cpu.SetRegisters({0, 0, 0, 0x80001234, 0x80000800, 1});
    const Code probe = StartRegisterProbe();
    const Bytes boot = Cat({{static_cast<std::uint8_t>(probe.size())}, probe.bytes});
    // Split across calls, on link 2.
    EXPECT_EQ(Send(m, 2, Bytes(boot.begin(), boot.begin() + 3)), 3u);
    EXPECT_EQ(m.cpu.status(), RunStatus::kBootWait);
    EXPECT_EQ(Send(m, 2, Bytes(boot.begin() + 3, boot.end())), boot.size() - 3);
    EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
    const std::uint32_t start = type == Cpu::kT800 ? kMemStartT800 : kMemStartT414;
    const std::uint32_t wptr = (start + probe.size() + 3) & ~3u;
    EXPECT_EQ(m.cpu.registers().wptr, wptr);
    EXPECT_EQ(m.Word(wptr + 4), 0x80001234u);
    EXPECT_EQ(m.Word(wptr + 8), 0x80000801u);
    EXPECT_EQ(m.Word(wptr + 12), kLinkInChannel0 + 8);
    EXPECT_EQ(m.Word(wptr + 16), wptr);
    EXPECT_EQ(m.Word(wptr + 20), 0u);  // not analysed
  }
}

TEST(Boot, PokeAndPeekBeforeBootAndOtherLinksWaitForAMessageToEnd) {
  Machine m;
  EXPECT_EQ(Send(m, 1, Cat({{0}, Le(0x80003000), Le(0xA1B2C3D4)})), 9u);
  EXPECT_EQ(m.Word(0x80003000), 0xA1B2C3D4u);
  EXPECT_EQ(Send(m, 1, Cat({{1}, Le(0x80003000)})), 5u);
  EXPECT_EQ(Send(m, 1, {1}), 0u);  // the link waits until the peek's answer has left
  EXPECT_EQ(Take(m, 1), Le(0xA1B2C3D4));
  EXPECT_EQ(Take(m, 0), Bytes{});
  EXPECT_EQ(Send(m, 0, {1, 0x00}), 2u);  // a message under way on link 0...
  EXPECT_EQ(Send(m, 3, {0}), 0u);        // ...holds off link 3
  EXPECT_EQ(Send(m, 0, {0x30, 0x00, 0x80}), 3u);
  EXPECT_EQ(Take(m, 0), Le(0xA1B2C3D4));
  EXPECT_EQ(m.cpu.status(), RunStatus::kBootWait);
}

TEST(Analyse, HaltsAtTheNextJumpKeepsMemoryAndRebootsWithTheOldProcess) {
  Machine m;
  const Code loop = Code()(Ldl, 1)(Adc, 1)(Stl, 1)(J, -5);
  m.Start(loop, 1, 1000);
  const std::uint32_t count = m.Word(Machine::kWorkspace + 4);
  EXPECT_GT(count, 0u);
  m.cpu.Analyse();
  EXPECT_EQ(Send(m, 0, {1}), 0u);  // links take nothing until the halt
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kBootWait);
  EXPECT_LE(m.Word(Machine::kWorkspace + 4) - count, 1u);  // at most to the next jump
  EXPECT_FALSE(m.cpu.error());

  // Peek the counter, then boot the probe: it sees the analysed process.
  EXPECT_EQ(Send(m, 0, Cat({{1}, Le(Machine::kWorkspace + 4)})), 5u);
  EXPECT_EQ(Take(m, 0), Le(m.Word(Machine::kWorkspace + 4)));
  const Code probe = StartRegisterProbe();
  EXPECT_EQ(Send(m, 0, Cat({{static_cast<std::uint8_t>(probe.size())}, probe.bytes})), probe.size() + 1);
  m.cpu.Run(1000);
  const std::uint32_t wptr = (kMemStartT800 + probe.size() + 3) & ~3u;
  EXPECT_EQ(m.Word(wptr + 4), Machine::kCode);  // halted at the jump: Iptr its target
  EXPECT_EQ(m.Word(wptr + 8), Machine::kWorkspace | 1);
  EXPECT_EQ(m.Word(wptr + 20), 1u);  // testpranal
}

TEST(Links, OutputCompletesOnlyWhenThePeerHasTakenEveryByte) {
  Machine m;
  const std::uint32_t text = 0x80002000;
  m.cpu.memory().Write(text, reinterpret_cast<const std::uint8_t*>("abcde"), 5);
  m.Start(Code()(Ldc, I(text))(Ldc, I(kLinkOutChannel0 + 4))(Ldc, 5).op(Out)(Ldc, 1)(Stl, 1).op(Stopp));
  EXPECT_TRUE(m.cpu.LinkOutputWaiting(1));
  EXPECT_EQ(Take(m, 1, 2), (Bytes{'a', 'b'}));
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 0u);
  EXPECT_EQ(Take(m, 1), (Bytes{'c', 'd', 'e'}));
  EXPECT_FALSE(m.cpu.LinkOutputWaiting(1));
  m.cpu.Run(1000);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 1u);
  EXPECT_EQ(m.Word(kLinkOutChannel0 + 4), kNotProcess);
}

TEST(Links, OneByteIsHeldWithoutAReaderAndTheRestWaits) {
  Machine m;
  const std::uint32_t into = 0x80002000;
  m.Start(Code()(Ldc, 3)(Stl, 1).op(Stopp));  // a program that is not reading
  EXPECT_EQ(Send(m, 0, {'x', 'y', 'z'}), 1u);
  PrepareProcess(m, Code()(Ldc, I(into))(Ldc, I(kLinkInChannel0))(Ldc, 3).op(In)(Ldc, 7)(Stl, 1).op(Stopp),
                 Machine::kCode + 0x100, 0x80006000);
  m.cpu.StartProcess(Machine::kCode + 0x100, 0x80006000, 1);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  EXPECT_EQ(Send(m, 0, {'y', 'z', '!'}), 3u);  // the input takes two, the third is held
  m.cpu.Run(1000);
  std::uint8_t got[3];
  m.cpu.memory().Read(into, got, 3);
  EXPECT_EQ(Bytes(got, got + 3), (Bytes{'x', 'y', 'z'}));
  EXPECT_EQ(m.Word(0x80006000 + 4), 7u);
  EXPECT_EQ(Send(m, 0, {'?'}), 0u);  // '!' still held
}

TEST(Links, AnAltOnAHardInputWakesWhenAByteArrives) {
  Machine m;
  const Code code = Code().op(Alt)(Ldc, I(kLinkInChannel0 + 4))(Ldc, 1).op(Enbc).op(Altwt)
                        (Ldc, I(kLinkInChannel0 + 4))(Ldc, 1)(Ldc, 0).op(Disc).op(Altend)
                        (Ldlp, 2)(Ldc, I(kLinkInChannel0 + 4))(Ldc, 1).op(In)(Ldc, 1)(Stl, 1).op(Stopp);
  EXPECT_EQ(m.Start(code), RunStatus::kIdle);
  EXPECT_EQ(m.Word(kLinkInChannel0 + 4), Machine::kWorkspace | 1);
  EXPECT_EQ(Send(m, 1, {0x42}), 1u);
  EXPECT_EQ(m.cpu.Run(1000), RunStatus::kIdle);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), 1u);
  EXPECT_EQ(m.cpu.memory().Byte(Machine::kWorkspace + 8), 0x42u);
}

TEST(Links, ResetchAbandonsATransferAndReturnsTheWaitingProcess) {
  Machine m;
  const std::uint32_t reader_w = 0x80006000;
  PrepareProcess(m, Code()(Ldc, I(0x80002000))(Ldc, I(kLinkInChannel0 + 12))(Ldc, 4).op(In).op(Stopp),
                 Machine::kCode + 0x100, reader_w);
  m.Start(Code()(Ldc, I(reader_w | 1)).op(Runp).op(Ldtimer).op(Stopp));  // let the reader block
  m.cpu.StartProcess(Machine::kCode + 0x200, Machine::kWorkspace, 1);
  m.Load(Code()(Ldc, I(kLinkInChannel0 + 12)).op(Resetch)(Stl, 1).op(Stopp), Machine::kCode + 0x200);
  m.cpu.Run(1000);
  EXPECT_EQ(m.Word(Machine::kWorkspace + 4), reader_w | 1);
  EXPECT_EQ(m.Word(kLinkInChannel0 + 12), kNotProcess);
  EXPECT_EQ(Send(m, 3, {1, 2, 3, 4}), 1u);  // nobody reads any more: one byte held
}

}  // namespace
}  // namespace t800::test
