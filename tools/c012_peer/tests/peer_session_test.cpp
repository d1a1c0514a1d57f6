#include "tools/c012_peer/peer_session.h"

#include <gtest/gtest.h>

namespace peer {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PeerSession, EchoesDataAndCountsResetPulses) {
  PeerSession session({}, true);
  const Bytes in = {'D', 1, 'R', 0, 'R', 1, 'D'};
  EXPECT_EQ(session.OnReceive(in), (Bytes{'D', 1}));
  EXPECT_EQ(session.resets(), 0u);
  EXPECT_EQ(session.OnReceive(Bytes{2, 'R', 0}), (Bytes{'D', 2}));
  EXPECT_EQ(session.resets(), 1u);
  EXPECT_EQ(session.transcript(), "data 01\nreset 0\nreset 1\ndata 02\nreset 0\n");
}

TEST(PeerSession, ScriptWaitsForDataAndResetsBeforeAnswering) {
  const ParsedScript parsed = ParseScript("say hi\nexpect 2 # two bytes\nsend 0a ff\nawait-reset\nerror 1\n");
  ASSERT_EQ(parsed.error, "");
  PeerSession session(parsed.steps, false);
  EXPECT_EQ(session.Start(), (Bytes{'D', 'h', 'D', 'i'}));
  EXPECT_EQ(session.OnReceive(Bytes{'D', 5}), Bytes{});
  EXPECT_EQ(session.OnReceive(Bytes{'D', 6}), (Bytes{'D', 0x0A, 'D', 0xFF}));
  EXPECT_EQ(session.OnReceive(Bytes{'R', 1}), Bytes{});
  EXPECT_FALSE(session.script_done());
  EXPECT_EQ(session.OnReceive(Bytes{'R', 0}), (Bytes{'E', 1}));
  EXPECT_TRUE(session.script_done());
}

TEST(ParseScript, NamesTheFirstBadLine) {
  for (const char* bad : {"send 1ff", "expect -1", "bogus", "expect", "send zz"}) {
    const ParsedScript parsed = ParseScript(std::string("say ok\n") + bad);
    EXPECT_EQ(parsed.error.rfind("line 2:", 0), 0u) << bad;
    EXPECT_TRUE(parsed.steps.empty());
  }
}

}  // namespace
}  // namespace peer
