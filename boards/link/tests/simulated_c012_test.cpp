#include "boards/link/simulated_c012.h"

#include <gtest/gtest.h>

#include "boards/link/link_adapter.h"
#include "boards/link/tests/memory_peer.h"

namespace board {
namespace {

using testing::ScriptedPeer;

class SimulatedC012Test : public ::testing::Test {
 protected:
  ScriptedPeer peer;
  SimulatedC012 adapter{peer, 0x150};
  LinkAdapter link{adapter};
};

TEST_F(SimulatedC012Test, BytesFromThePeerArriveInOrderEvenWhenFramesAreSplit) {
  peer.max_chunk = 1;
  peer.QueueData({1, 2, 3});
  ASSERT_EQ(link.OpenLink(nullptr, 10), 1);
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(link.ReadLink(1, buffer, 4), 3);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(buffer[1], 2);
  EXPECT_EQ(buffer[2], 3);
}

TEST_F(SimulatedC012Test, WritesResetAndAnalyseReachThePeerAsFrames) {
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  const std::uint8_t data[2] = {0x41, 0x00};
  EXPECT_EQ(link.WriteLink(1, data, 2), 2);
  EXPECT_EQ(link.ResetLink(1), 1);
  EXPECT_EQ(peer.sent, (std::vector<std::uint8_t>{'D', 0x41, 'D', 0, 'A', 0, 'R', 0, 'R', 1, 'R', 0}));
}

// TestError answers 1 while the transputer's error flag is raised: a board
// fresh from its peer has no error.
TEST_F(SimulatedC012Test, ErrorFlagFollowsThePeer) {
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  EXPECT_EQ(link.TestError(1), 0);
  peer.incoming = {'E', 1};
  EXPECT_EQ(link.TestError(1), 1);
  peer.incoming = {'E', 0};
  EXPECT_EQ(link.TestError(1), 0);
}

TEST_F(SimulatedC012Test, AnotherPortBaseFindsABoardThatNeverAnswers) {
  peer.QueueData({9});
  ASSERT_EQ(link.OpenLink("0x200", 3), 1);
  std::uint8_t byte = 0;
  EXPECT_EQ(link.ReadLink(1, &byte, 1), 0);
  EXPECT_EQ(link.WriteLink(1, &byte, 1), 0);
  EXPECT_EQ(link.TestRead(1), 0);
  EXPECT_TRUE(peer.sent.empty());
}

TEST_F(SimulatedC012Test, APeerThatLeavesStopsTransfersWithShortCounts) {
  ASSERT_EQ(link.OpenLink(nullptr, 5), 1);
  peer.gone = true;
  std::uint8_t buffer[2] = {1, 2};
  EXPECT_EQ(link.ReadLink(1, buffer, 2), 0);
  EXPECT_EQ(link.WriteLink(1, buffer, 2), 0);
  EXPECT_EQ(link.TestWrite(1), 0);
}

TEST_F(SimulatedC012Test, UnknownTagsAreSkippedWithTheirValue) {
  peer.incoming = {'?', 'D', 'D', 7};
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  std::uint8_t byte = 0;
  EXPECT_EQ(link.ReadLink(1, &byte, 1), 1);
  EXPECT_EQ(byte, 7);
}

}  // namespace
}  // namespace board
