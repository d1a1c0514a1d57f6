// link.dll loaded by file name in a real Windows process.
#include <winsock2.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
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

// Every byte a WriteLink call took is on its way when the call returns, even
// when no other call follows (a protocol library's last reply before it stops).
TEST_F(LinkDll, WrittenBytesReachThePeerWithoutALaterCall) {
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  int length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  char text[32];
  wsprintfA(text, "127.0.0.1:%u", ntohs(address.sin_port));
  SetEnvironmentVariableA("TESSEL_SIMULATED_C012", text);
  {
    BoardDll dll("link.dll");
    ASSERT_EQ(dll.OpenLink(nullptr, 10), 1);
    const std::uint8_t data[3] = {'a', 'b', 'c'};
    ASSERT_EQ(dll.WriteLink(1, data, 3), 3);
    SOCKET peer = accept(listener, nullptr, nullptr);
    ASSERT_NE(peer, INVALID_SOCKET);
    std::string got;
    while (got.size() < 6) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(peer, &readable);
      timeval wait{3, 0};
      char chunk[16];
      if (select(0, &readable, nullptr, nullptr, &wait) <= 0) break;
      const int n = recv(peer, chunk, sizeof chunk, 0);
      if (n <= 0) break;
      got.append(chunk, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, "DaDbDc");
    closesocket(peer);
  }
  closesocket(listener);
  WSACleanup();
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
