// The board behind the simulated adapter, frame by frame.
#include "t800/emu/board_session.h"

#include <gtest/gtest.h>

#include "t800/core/tests/machine.h"

namespace t800emu {
namespace {

using namespace t800::test;
using Bytes = std::vector<std::uint8_t>;

Bytes Frames(char tag, const Bytes& values) {
  Bytes out;
  for (std::uint8_t v : values) out.insert(out.end(), {static_cast<std::uint8_t>(tag), v});
  return out;
}
// The boot code's workspace starts right after it: a program moves it up
// first, or its process words would overwrite its own code.
Code Booted(const Code& code) {
  Code all = Code()(Ajw, 16);
  all.bytes.insert(all.bytes.end(), code.bytes.begin(), code.bytes.end());
  return all;
}
std::uint32_t BootedWptr(const Code& code) { return ((t800::kMemStartT800 + Booted(code).size() + 3) & ~3u) + 64; }
Bytes BootFrames(const Code& code) {
  const Code booted = Booted(code);
  Bytes boot = {static_cast<std::uint8_t>(booted.size())};
  boot.insert(boot.end(), booted.bytes.begin(), booted.bytes.end());
  return Frames('D', boot);
}

struct Board {
  FakeClock clock;
  t800::Transputer cpu{{t800::Cpu::kT800, 64 * 1024}, clock};
  BoardSession session{cpu};
  Bytes data;               // D values received
  std::vector<int> errors;  // E values received

  void Send(const Bytes& frames) { session.Receive(frames); }
  void Pump(int times = 4) {
    for (int i = 0; i < times; ++i) {
      session.Pump();
      const Bytes out = session.TakeOutgoing();
      for (std::size_t k = 0; k + 1 < out.size(); k += 2) {
        if (out[k] == 'D') data.push_back(out[k + 1]);
        else if (out[k] == 'E') errors.push_back(out[k + 1]);
        else ADD_FAILURE() << "unexpected frame " << int(out[k]);
      }
    }
  }
};

// Sends "hi" on link 0, then stops.
Code SayHi() { return Code().op(Mint)(Ldc, 'h').op(Outbyte).op(Mint)(Ldc, 'i').op(Outbyte).op(Stopp); }

TEST(BoardSession, BootsFromDataFramesAndSendsWhatTheProgramOutputs) {
  Board b;
  Bytes frames = BootFrames(SayHi());
  b.Send(Bytes(frames.begin(), frames.begin() + 3));  // frames split anywhere
  b.Send(Bytes(frames.begin() + 3, frames.end()));
  b.Pump();
  EXPECT_EQ(b.data, (Bytes{'h', 'i'}));
  EXPECT_EQ(b.errors, std::vector<int>{0});  // the error line is reported once, low
}

TEST(BoardSession, TheResetLineResetsAsItRisesAndTheErrorFlagFollowsTheProcessor) {
  Board b;
  b.Send(BootFrames(Code().op(Seterr).op(Stopp)));
  b.Pump();
  EXPECT_EQ(b.errors, std::vector<int>{1});
  b.Send(Frames('R', {1}));
  EXPECT_EQ(b.cpu.status(), t800::RunStatus::kBootWait);
  b.Send(Frames('R', {0}));  // the fall changes nothing more
  b.Pump();
  EXPECT_EQ(b.errors, (std::vector<int>{1, 0}));
  b.Send(BootFrames(SayHi()));  // ready for a new boot
  b.Pump();
  EXPECT_EQ(b.data, (Bytes{'h', 'i'}));
}

TEST(BoardSession, ResetWithAnalyseHighAnalysesAndKeepsMemoryForPeeks) {
  Board b;
  const Code spin = Code()(Ldc, 0x55)(Stl, 1)(J, -2);  // store, then spin
  b.Send(BootFrames(spin));
  b.Pump();
  const std::uint32_t wptr = BootedWptr(spin);
  ASSERT_EQ(b.cpu.memory().Word(wptr + 4), 0x55u);
  b.Send(Frames('A', {1}));
  b.Send(Frames('R', {1}));
  b.Send(Frames('R', {0}));
  b.Send(Frames('A', {0}));
  b.Pump();
  EXPECT_EQ(b.cpu.status(), t800::RunStatus::kBootWait);
  const std::uint32_t at = wptr + 4;
  b.Send(Frames('D', {1, static_cast<std::uint8_t>(at), static_cast<std::uint8_t>(at >> 8),
                      static_cast<std::uint8_t>(at >> 16), static_cast<std::uint8_t>(at >> 24)}));
  b.Pump();
  EXPECT_EQ(b.data, (Bytes{0x55, 0, 0, 0}));
}

TEST(BoardSession, BytesTheProgramDoesNotReadStopTheConnectionBeingRead) {
  Board b;
  b.Send(BootFrames(Code()(J, -2)));  // never inputs
  b.Pump(1);
  EXPECT_TRUE(b.session.WantsInput());
  b.Send(Frames('D', Bytes(BoardSession::kInputLimit + 1, 7)));
  b.Pump(1);
  EXPECT_FALSE(b.session.WantsInput());
  b.Send(Frames('R', {1}));  // a reset drops them
  EXPECT_TRUE(b.session.WantsInput());
}

}  // namespace
}  // namespace t800emu
