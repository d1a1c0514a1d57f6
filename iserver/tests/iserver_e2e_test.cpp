// iserver.dll end to end: tessel.exe from bin/ binds our protocol library and
// link.dll, whose simulated adapter reaches a transputer played by this test
// (TransputerPeer). The peer takes the reset and the boot bytes, then sends
// requests and checks the replies, while the test drives the windows: output
// in the I/O Window, a typed line, keys, a file on the host's disk, EXIT, the
// error flag, Suspend, Continue and Terminate during a long silence.
#include <winsock2.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "iserver/core/tests/harness.h"
#include "iserver/tests/transputer_peer_win32.h"
#include "server/tests/tessel_driver_win32.h"

namespace {

using iserver::testing::B;
using iserver::testing::Bytes;
using iserver::testing::I16;
using iserver::testing::I32;
using iserver::testing::Request;
using iserver::testing::S;
using iserver::testing::TransputerPeer;
using iserver::testing::operator+;
using namespace tessel_test;

constexpr unsigned kWait = 15000;
const std::string kIdle = "101 102 201 301 302 303 402 ";
const std::string kRunning = "102 201 202 203 402 ";
const std::string kSuspended = "102 201 202 204 402 ";

// A reply payload as the library pads it: even, at least 6 bytes.
Bytes Padded(Bytes payload) {
  while (payload.size() < 6 || payload.size() % 2) payload.push_back(0);
  return payload;
}

std::int32_t StreamId(const Bytes& open_reply) {
  return open_reply.size() < 5 ? -1
                               : static_cast<std::int32_t>(open_reply[1] | open_reply[2] << 8 | open_reply[3] << 16 |
                                                           static_cast<std::uint32_t>(open_reply[4]) << 24);
}

class IserverEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", peer.address().c_str());
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 7);
    WriteText(boot_file, std::string(image.begin(), image.end()));
  }
  void TearDown() override {
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", nullptr);
    DeleteFileA(boot_file.c_str());
  }

  // Starts tessel.exe in bin/ on the boot file; the peer takes the reset
  // pulse and the boot file's bytes, verbatim.
  void Boot(Tessel& tessel, const std::string& parameters) {
    tessel.UseFolder(".");
    ASSERT_TRUE(tessel.Start("\"" + boot_file + "\" " + parameters));
    ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(peer.Accept(kWait));
    ASSERT_TRUE(peer.AwaitReset(kWait));
    ASSERT_EQ(peer.Take(image.size(), kWait), image);
  }
  bool MenusShow(Tessel& tessel, const std::string& enabled) {
    return WaitUntil([&] { return EnabledCommands(tessel.MenuStates()) == enabled; });
  }
  void Answer(Tessel& tessel, const char* caption, int button) {
    HWND box = tessel.WaitForBox(caption);
    ASSERT_NE(box, nullptr) << caption;
    Tessel::Press(box, button);
    ASSERT_TRUE(tessel.BoxGone(caption));
  }

  TransputerPeer peer;
  Bytes image = Bytes(3000);
  std::string boot_file = TempPath("iserver_boot.btl");
};

TEST_F(IserverEndToEnd, ServesAProgramThatPrintsReadsALineAndKeysAndWritesAFile) {
  Tessel tessel("iserver_serve");
  ASSERT_NO_FATAL_FAILURE(Boot(tessel, "\"-se alpha  beta\""));
  EXPECT_EQ(peer.Ask(Request(15).Int32(1).Slice("Hello from the transputer").Frame(), kWait), Padded(B({0})));
  EXPECT_EQ(peer.Ask(Request(13).Int32(1).Slice("second line\n").Frame(), kWait), Padded(B({0}) + I16(12)));
  EXPECT_EQ(peer.Ask(Request(40).Byte(0).Frame(), kWait), Padded(B({0}) + S("alpha  beta")));

  // READ on stdin waits for a typed line, echoed in the I/O Window.
  ASSERT_TRUE(peer.Send(Request(12).Int32(0).Int16(100).Frame()));
  HWND console = FindChild(tessel.main(), "TStdioWindow");
  ASSERT_NE(console, nullptr);
  for (char c : std::string("typx\bed\r")) PostMessageA(console, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(peer.TakeReply(kWait), Padded(B({0}) + S("typed\n")));

  // Keys: GETKEY waits for one; POLLKEY answers 129 at once without one, and
  // sees a key whose message is still queued (the library dispatches first).
  ASSERT_TRUE(peer.Send(Request(30).Frame()));
  PostMessageA(console, WM_CHAR, 'k', 0);
  EXPECT_EQ(peer.TakeReply(kWait), Padded(B({0, 'k'})));
  EXPECT_EQ(peer.Ask(Request(31).Frame(), kWait), Padded(B({129})));
  PostMessageA(console, WM_CHAR, 'p', 0);
  EXPECT_EQ(peer.Ask(Request(31).Frame(), kWait), Padded(B({0, 'p'})));

  const std::string file = TempPath("iserver_written.txt");
  DeleteFileA(file.c_str());
  const Bytes opened = peer.Ask(Request(10).Slice(file).Byte(1).Byte(2).Frame(), kWait);
  ASSERT_EQ(opened.size(), 6u);
  ASSERT_EQ(opened[0], 0);
  const std::int32_t id = StreamId(opened);
  EXPECT_EQ(peer.Ask(Request(13).Int32(id).Slice("file contents").Frame(), kWait), Padded(B({0}) + I16(13)));
  EXPECT_EQ(peer.Ask(Request(11).Int32(id).Frame(), kWait), Padded(B({0})));
  EXPECT_EQ(ReadText(file), "file contents");
  DeleteFileA(file.c_str());

  // EXIT's reply is the last thing the library sends: it must still arrive.
  EXPECT_EQ(peer.Ask(Request(35).Int32(999999999).Frame(), kWait), Padded(B({0})));
  EXPECT_TRUE(MenusShow(tessel, kIdle));
  EXPECT_EQ(tessel.ScreenText().rfind("Hello from the transputer\nsecond line\ntyped\n\n", 0), 0u)
      << tessel.ScreenText();
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

TEST_F(IserverEndToEnd, SuspendContinueAndTerminateDuringALongSilence) {
  Tessel tessel("iserver_control");
  ASSERT_NO_FATAL_FAILURE(Boot(tessel, ""));
  const std::string file = TempPath("iserver_kept.txt");
  const Bytes opened = peer.Ask(Request(10).Slice(file).Byte(1).Byte(2).Frame(), kWait);
  ASSERT_EQ(StreamId(opened), 3);
  // Half a request, then nothing: the program computes.
  const Bytes write = Request(13).Int32(3).Slice("kept").Frame();
  ASSERT_TRUE(peer.Send(Bytes(write.begin(), write.begin() + 5)));
  EXPECT_TRUE(MenusShow(tessel, kRunning));

  tessel.Command(CM_SUSPEND);
  ASSERT_NO_FATAL_FAILURE(Answer(tessel, "Warning", IDYES));
  EXPECT_TRUE(MenusShow(tessel, kSuspended));
  tessel.Command(CM_CONTINUE);
  EXPECT_TRUE(MenusShow(tessel, kRunning));
  // The rest of the request: the part sent before the suspend was kept.
  ASSERT_TRUE(peer.Send(Bytes(write.begin() + 5, write.end())));
  EXPECT_EQ(peer.TakeReply(kWait), Padded(B({0}) + I16(4)));

  tessel.Command(CM_TERMINATE);
  ASSERT_NO_FATAL_FAILURE(Answer(tessel, "Warning", IDYES));
  ASSERT_NO_FATAL_FAILURE(Answer(tessel, "Information", IDOK));
  EXPECT_TRUE(MenusShow(tessel, kIdle));
  EXPECT_TRUE(peer.AwaitReset(kWait));  // the server resets the board after a terminate
  // The program's file was closed when its task ended.
  EXPECT_EQ(ReadText(file), "kept");
  EXPECT_TRUE(DeleteFileA(file.c_str()));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

TEST_F(IserverEndToEnd, TheErrorFlagEndsATaskStartedWithDashSe) {
  Tessel tessel("iserver_error");
  ASSERT_NO_FATAL_FAILURE(Boot(tessel, "-se"));
  EXPECT_EQ(peer.Ask(Request(13).Int32(1).Slice("running\n").Frame(), kWait), Padded(B({0}) + I16(8)));
  ASSERT_TRUE(peer.SetErrorFlag(true));
  EXPECT_TRUE(MenusShow(tessel, kIdle));
  EXPECT_EQ(tessel.ScreenText().rfind("running\nError flag raised by transputer\n", 0), 0u) << tessel.ScreenText();
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

}  // namespace
