#include "boards/link/link_adapter.h"

#include <gtest/gtest.h>

#include <vector>

#include "boards/include/tests/link_contract.h"
#include "boards/link/tests/recording_ports.h"

namespace board {
namespace {

using testing::In;
using testing::Out;
using testing::RecordingPorts;

class LinkAdapterTest : public ::testing::Test {
 protected:
  RecordingPorts ports;
  LinkAdapter link{ports};
};

TEST_F(LinkAdapterTest, OpenLinkSetsBaseFromNameAndTouchesNoPort) {
  EXPECT_EQ(link.OpenLink(nullptr, 7), 1);
  EXPECT_EQ(link.port_base(), 0x150u);
  EXPECT_EQ(link.OpenLink("150", 9), 1);
  EXPECT_EQ(link.port_base(), 150u);
  EXPECT_EQ(link.link_timeout(), 9u);
  EXPECT_TRUE(ports.log.empty());
}

TEST_F(LinkAdapterTest, UnreadableNameFailsAndKeepsEarlierLink) {
  ASSERT_EQ(link.OpenLink("0x200", 5), 1);
  EXPECT_EQ(link.OpenLink("B004", 99), -1);
  EXPECT_EQ(link.port_base(), 0x200u);
  EXPECT_EQ(link.link_timeout(), 5u);
}

TEST_F(LinkAdapterTest, BadHandleAndBadLengthTouchNoPort) {
  ASSERT_EQ(link.OpenLink("0x150", 3), 1);
  testing::ExpectBadHandlesAndLengthsRefused(link);
  EXPECT_TRUE(ports.log.empty());
}

TEST_F(LinkAdapterTest, CallsBeforeOpenTouchNoPortAndAnswerLikeTheDriverLibrary) {
  testing::ExpectAnswersWithNothingOpen(link);
  EXPECT_TRUE(ports.log.empty());
}

TEST_F(LinkAdapterTest, ReadWithTimeoutZeroReadsStatusOnce) {
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  std::uint8_t byte = 0;
  EXPECT_EQ(link.ReadLink(1, &byte, 1), 0);
  EXPECT_EQ(ports.log, (std::vector{In(0x152, 0)}));
}

TEST_F(LinkAdapterTest, ReadStopsAfterTimeoutPlusOnePollsForTheMissingByte) {
  ASSERT_EQ(link.OpenLink(nullptr, 5), 1);
  ports.Answer(0x152, {1, 1, 0});
  ports.Answer(0x150, {0xAA, 0xBB});
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(link.ReadLink(1, buffer, 4), 2);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(buffer[1], 0xBB);
  // Two reads found a byte; the third byte got timeout + 1 status reads.
  EXPECT_EQ(ports.CountIn(0x152), 2u + 6u);
  EXPECT_EQ(ports.CountIn(0x150), 2u);
}

TEST_F(LinkAdapterTest, PollCountRestartsForEveryByte) {
  ASSERT_EQ(link.OpenLink(nullptr, 2), 1);
  // Each byte is ready on its third status read: within the limit each time.
  ports.Answer(0x152, {0, 0, 1, 0, 0, 1, 0, 0, 1, 0});
  ports.Answer(0x150, {1, 2, 3});
  std::uint8_t buffer[3] = {};
  EXPECT_EQ(link.ReadLink(1, buffer, 3), 3);
  EXPECT_EQ(buffer[2], 3);
}

TEST_F(LinkAdapterTest, WriteSendsEachByteWhenOutputReadyAndOnlyBit0Counts) {
  ASSERT_EQ(link.OpenLink("0x200", 1), 1);
  ports.Answer(0x203, {0xFE, 0x01, 0xFF, 0x00});  // not ready, ready, ready, then never
  const std::uint8_t data[3] = {7, 8, 9};
  EXPECT_EQ(link.WriteLink(1, data, 3), 2);
  EXPECT_EQ(ports.log, (std::vector{In(0x203, 0xFE), In(0x203, 1), Out(0x201, 7), In(0x203, 0xFF),
                                    Out(0x201, 8), In(0x203, 0), In(0x203, 0)}));
}

TEST_F(LinkAdapterTest, ReadyAdapterCostsTwoAccessesPerByte) {
  ASSERT_EQ(link.OpenLink(nullptr, 100), 1);
  ports.Answer(0x152, {1});
  ports.Answer(0x153, {1});
  std::vector<std::uint8_t> buffer(64);
  EXPECT_EQ(link.ReadLink(1, buffer.data(), 64), 64);
  EXPECT_EQ(link.WriteLink(1, buffer.data(), 64), 64);
  EXPECT_EQ(ports.log.size(), 4u * 64u);
}

TEST_F(LinkAdapterTest, WritesResetsAndAnalysesHandTheirBytesOnBeforeReturning) {
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  ports.Answer(0x153, {1, 1, 0});
  const std::uint8_t data[3] = {1, 2, 3};
  EXPECT_EQ(link.WriteLink(1, data, 3), 2);  // a short count too
  EXPECT_EQ(ports.flushed_at, std::vector<std::size_t>{ports.log.size()});
  EXPECT_EQ(link.ResetLink(1), 1);
  EXPECT_EQ(ports.flushed_at.back(), ports.log.size());
  EXPECT_EQ(link.AnalyseLink(1), 1);
  EXPECT_EQ(ports.flushed_at.back(), ports.log.size());
  EXPECT_EQ(ports.flushed_at.size(), 3u);
}

TEST_F(LinkAdapterTest, ResetAndAnalyseWriteExactlyTheirSequences) {
  ASSERT_EQ(link.OpenLink(nullptr, 3), 1);
  EXPECT_EQ(link.ResetLink(1), 1);
  EXPECT_EQ(ports.log, (std::vector{Out(0x161, 0), Out(0x160, 0), Out(0x160, 1), Out(0x160, 0)}));
  ports.log.clear();
  EXPECT_EQ(link.AnalyseLink(1), 1);
  EXPECT_EQ(ports.log,
            (std::vector{Out(0x161, 0), Out(0x161, 1), Out(0x160, 1), Out(0x160, 0), Out(0x161, 0)}));
}

TEST_F(LinkAdapterTest, TestsReadTheirRegisterOnceWithoutWaiting) {
  ASSERT_EQ(link.OpenLink(nullptr, 1000), 1);
  ports.Answer(0x160, {0, 1});
  ports.Answer(0x152, {0xFE, 0x01});
  ports.Answer(0x153, {0x01, 0x00});
  EXPECT_EQ(link.TestError(1), 1);
  EXPECT_EQ(link.TestError(1), 0);
  EXPECT_EQ(link.TestRead(1), 0);
  EXPECT_EQ(link.TestRead(1), 1);
  EXPECT_EQ(link.TestWrite(1), 1);
  EXPECT_EQ(link.TestWrite(1), 0);
  EXPECT_EQ(ports.log.size(), 6u);
}

TEST_F(LinkAdapterTest, PortAddressesWrapToSixteenBits) {
  ASSERT_EQ(link.OpenLink("0x1FFFF", 0), 1);
  std::uint8_t byte;
  link.ReadLink(1, &byte, 1);
  EXPECT_EQ(ports.log, (std::vector{In(0x0001, 0)}));
}

TEST_F(LinkAdapterTest, CloseLinkKeepsTheLinkUsable) {
  ASSERT_EQ(link.OpenLink(nullptr, 0), 1);
  EXPECT_EQ(link.CloseLink(1), 1);
  EXPECT_TRUE(ports.log.empty());
  ports.Answer(0x152, {1});
  ports.Answer(0x150, {0x42});
  std::uint8_t byte = 0;
  EXPECT_EQ(link.ReadLink(1, &byte, 1), 1);
  EXPECT_EQ(byte, 0x42);
}

}  // namespace
}  // namespace board
