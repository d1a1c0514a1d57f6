// link.dll loaded by file name in a real Windows process.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <thread>
#include <vector>

#include "boards/include/tests/board_dll.h"
#include "boards/include/tests/link_contract.h"
#include "tools/c012_peer/peer_server.h"

namespace {

using board::testing::BoardDll;

class LinkDll : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA("TESSEL_SIMULATED_C012", nullptr); }
  void TearDown() override { SetEnvironmentVariableA("TESSEL_SIMULATED_C012", nullptr); }

  // Serves session from a peer on a free loopback port and points link.dll's
  // simulated board at it.
  void ServeSimulatedBoard(peer::PeerSession& session) {
    server_.emplace();
    ASSERT_TRUE(server_->Listen(0));
    serving_ = std::thread([this, &session] { server_->ServeOne(session); });
    char address[32];
    wsprintfA(address, "127.0.0.1:%u", server_->port());
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", address);
  }
  // The session ends once the library, unloaded, has closed its connection.
  void AwaitSessionEnd() { serving_.join(); }

 private:
  std::optional<peer::PeerServer> server_;
  std::thread serving_;
};

TEST_F(LinkDll, AnswersWithoutABoardAsTheInterfaceSays) {
  BoardDll dll("link.dll");
  ASSERT_TRUE(dll.complete());
  // Before the first OpenLink nothing is opened and no port is touched.
  board::testing::ExpectAnswersWithNothingOpen(dll);
  EXPECT_EQ(dll.OpenLink("B004", 10), -1);
  EXPECT_EQ(dll.OpenLink(nullptr, 10), 1);
  board::testing::ExpectBadHandlesAndLengthsRefused(dll);
  EXPECT_EQ(dll.CloseLink(1), 1);
}

// Wine, like the Windows NT family, refuses port instructions to programs:
// the library must notice and act as a board that never answers.
TEST_F(LinkDll, RefusedPortInstructionsGiveABoardThatNeverAnswers) {
  BoardDll dll("link.dll");
  ASSERT_TRUE(dll.complete());
  ASSERT_EQ(dll.OpenLink("0x150", 3), 1);
  std::uint8_t buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(dll.WriteLink(1, buffer, 4), 0);
  EXPECT_EQ(dll.ReadLink(1, buffer, 4), 0);
  EXPECT_EQ(dll.TestRead(1), 0);
  EXPECT_EQ(dll.TestWrite(1), 0);
  EXPECT_EQ(dll.ResetLink(1), 1);
  EXPECT_EQ(dll.AnalyseLink(1), 1);
}

TEST_F(LinkDll, MovesA64KiBlockBothWaysThroughTheSimulatedAdapter) {
  peer::PeerSession session({}, /*echo=*/true);
  ASSERT_NO_FATAL_FAILURE(ServeSimulatedBoard(session));

  std::vector<std::uint8_t> out(64 * 1024), back(64 * 1024);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  {
    BoardDll dll("link.dll");
    ASSERT_TRUE(dll.complete());
    ASSERT_EQ(dll.OpenLink("0x150", 100000), 1);
    EXPECT_EQ(dll.WriteLink(1, out.data(), static_cast<int>(out.size())), static_cast<int>(out.size()));
    EXPECT_EQ(dll.ReadLink(1, back.data(), static_cast<int>(back.size())), static_cast<int>(back.size()));
    EXPECT_EQ(back, out);
    EXPECT_EQ(dll.ResetLink(1), 1);
    // Nothing more is on its way: a short count is the timeout. (Each poll of
    // the simulated board is a system call, so keep the count of polls small.)
    ASSERT_EQ(dll.OpenLink("0x150", 10), 1);
    EXPECT_EQ(dll.ReadLink(1, back.data(), 1), 0);
  }  // unloading the library closes the connection, which ends the session
  AwaitSessionEnd();
  EXPECT_EQ(session.data().size(), out.size());
  EXPECT_EQ(session.resets(), 1u);
}

TEST_F(LinkDll, ALinkNameBesideTheSimulatedBoardFindsNothing) {
  peer::PeerSession session({}, /*echo=*/true);
  ASSERT_NO_FATAL_FAILURE(ServeSimulatedBoard(session));
  {
    BoardDll dll("link.dll");
    ASSERT_EQ(dll.OpenLink("0x300", 10), 1);
    std::uint8_t byte = 'x';
    EXPECT_EQ(dll.WriteLink(1, &byte, 1), 0);
  }
  AwaitSessionEnd();
  EXPECT_TRUE(session.data().empty());
}

}  // namespace
