// The protocol core's link over a processor in the same process.
#include "t800/emu/emulated_link.h"

#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800emu {
namespace {

using namespace t800::test;
using Bytes = std::vector<std::uint8_t>;

struct Linked {
  FakeClock clock;
  t800::Transputer cpu{{t800::Cpu::kT800, 64 * 1024}, clock};
  std::uint64_t paused = 0;
  EmulatedLink link{cpu, clock, [this](std::uint64_t us) {
                      paused += us;
                      clock.now += us;
                    }};

  // The workspace moves up first, away from the code.
  bool Boot(const Code& code) {
    Bytes boot = {static_cast<std::uint8_t>(code.size() + 1), 0xB0 | 15};
    boot.insert(boot.end(), code.bytes.begin(), code.bytes.end());
    return link.Write(boot.data(), static_cast<std::int32_t>(boot.size())) == static_cast<std::int32_t>(boot.size());
  }
  Bytes Read(std::int32_t most = 16) {
    Bytes out(static_cast<std::size_t>(most));
    const std::int32_t got = link.Read(out.data(), most);
    out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return out;
  }
};

// Reads a 3-byte message from link 0 into W[1..], sends it back, repeats.
Code Echo3() {
  Code body = Code()(Ldlp, 1).op(Mint)(Ldnlp, 4)(Ldc, 3).op(In)(Ldlp, 1).op(Mint)(Ldc, 3).op(Out);
  return body(J, -static_cast<std::int32_t>(body.size()) - 2);  // j back: nfix and j
}

TEST(EmulatedLink, WritesAreTakenAsTheProgramInputsAndReadsRunItUntilItSends) {
  Linked l;
  ASSERT_TRUE(l.Boot(Echo3()));
  const Bytes message = {'a', 'b', 'c', 'd', 'e', 'f'};  // two messages: more than the link holds
  EXPECT_EQ(l.link.Write(message.data(), 6), 6);
  Bytes got = l.Read();
  while (got.size() < 6) {
    const Bytes more = l.Read();
    ASSERT_FALSE(more.empty());
    got.insert(got.end(), more.begin(), more.end());
  }
  EXPECT_EQ(got, message);
  EXPECT_FALSE(l.link.stopped());
}

TEST(EmulatedLink, AProgramThatCanNeverSendAgainFailsTheReadAndAStalledWriteIsShort) {
  Linked l;
  ASSERT_TRUE(l.Boot(Code().op(Stopp)));
  EXPECT_EQ(l.link.Read(nullptr, 0), 0);
  Bytes buffer(4);
  EXPECT_EQ(l.link.Read(buffer.data(), 4), -1);
  EXPECT_TRUE(l.link.stopped());
  const Bytes two = {1, 2};
  EXPECT_EQ(l.link.Write(two.data(), 2), 1);  // one byte held, then nobody takes more
  EXPECT_TRUE(l.link.Reset());
  EXPECT_FALSE(l.link.stopped());
  EXPECT_EQ(l.cpu.status(), t800::RunStatus::kBootWait);
}

TEST(EmulatedLink, WaitsForTimersByPausingNotSpinning) {
  Linked l;
  // Start the timers, wait 5000 us at high priority... (runs low: 64 us ticks) then send a byte.
  ASSERT_TRUE(l.Boot(Code()(Ldc, 0).op(Sttimer).op(Ldtimer)(Adc, 100).op(Tin).op(Mint)(Ldc, 'z').op(Outbyte).op(Stopp)));
  Bytes got;
  for (int i = 0; i < 20 && got.empty(); ++i) got = l.Read();
  EXPECT_EQ(got, Bytes{'z'});
  EXPECT_GE(l.paused, 100u * 64);
  EXPECT_LT(l.paused, 100u * 64 + 2 * EmulatedLink::kShortWaitMicroseconds);
}

TEST(EmulatedLink, TheErrorLineRisesForAHaltedProcessorOrForAnyErrorWhenAsked) {
  Linked soft;
  ASSERT_TRUE(soft.Boot(Code().op(Seterr)(J, -2)));
  soft.Read();
  EXPECT_TRUE(soft.cpu.error());
  EXPECT_FALSE(soft.link.ErrorRaised());
  soft.link.set_every_error_counts(true);
  EXPECT_TRUE(soft.link.ErrorRaised());

  Linked halted;
  ASSERT_TRUE(halted.Boot(Code().op(Sethalterr).op(Seterr)(J, -2)));
  EXPECT_EQ(halted.Read(), Bytes{});  // nothing, but no failure: the caller looks at the line
  EXPECT_FALSE(halted.link.stopped());
  EXPECT_TRUE(halted.link.ErrorRaised());
}

}  // namespace
}  // namespace t800emu
