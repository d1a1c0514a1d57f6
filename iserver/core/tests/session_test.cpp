// The session as a host drives it: boot, serve, stop and go on, end.
#include <gtest/gtest.h>

#include "iserver/core/session.h"
#include "iserver/core/tests/harness.h"

namespace iserver::testing {
namespace {

using Progress = Session::Progress;
using Ending = Session::Ending;

struct Rig {
  MemoryLink link;
  MemoryHost host;
  ScriptedConsole console;

  std::unique_ptr<Session> Start(const std::string& parameters, Bytes boot = {}) {
    return std::make_unique<Session>(link, host, console, ParseParameters("prog.btl", parameters), std::move(boot));
  }
};

// Steps until the session ends or `limit` steps passed; the steps taken.
int RunToEnd(Session& session, int limit = 100000) {
  int steps = 0;
  while (steps < limit && session.Step() != Progress::kEnded) ++steps;
  return steps;
}

Bytes Concat(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out = out + part;
  return out;
}

// A short program: writes, opens a file, writes to it, reads a line, exits.
const std::vector<Bytes> kProgram = {
    Request(13).Int32(1).Slice("hi\n").Frame(),
    Request(10).Slice("f").Byte(2).Byte(2).Frame(),
    Request(13).Int32(3).Slice("data").Frame(),
    Request(14).Int32(0).Int16(507).Frame(),
    Request(35).Int32(999999999).Frame(),
};

Bytes ReplyFrame(const Bytes& payload) {
  Bytes padded = payload;
  while (padded.size() < 6 || padded.size() % 2) padded.push_back(0);
  return Request::Raw(padded);
}

const Bytes kReplies = Concat({ReplyFrame(B({0}) + I16(3)), ReplyFrame(B({0}) + I32(3)),
                               ReplyFrame(B({0}) + I16(4)), ReplyFrame(B({0}) + S("name")),
                               ReplyFrame(B({0}))});

TEST(Session, BootsThenServesUntilExit) {
  Rig rig;
  rig.console.typed = "name\n";
  rig.link.Queue(Concat(kProgram));
  auto session = rig.Start("", Bytes(20000, 0xB0));
  RunToEnd(*session);
  EXPECT_EQ(session->ending(), Ending::kExit);
  EXPECT_EQ(session->host_exit_code(), 0);
  EXPECT_EQ(rig.link.resets, 1);
  EXPECT_EQ(rig.link.Take(), Bytes(20000, 0xB0) + kReplies);
  EXPECT_EQ(rig.console.out, "hi\n");
  EXPECT_EQ(rig.console.err, "");
  EXPECT_EQ(rig.host.files["f"], Bytes({'d', 'a', 't', 'a'}));
  EXPECT_EQ(rig.host.closes, rig.host.opens);
}

// At every point a host may stop (each Step's return) it may go away for a
// while: here the link stays quiet for a few steps, as while suspended, and
// the requests arrive a byte at a time. The exchange must come out the same.
TEST(Session, StopsAndResumesAtEveryStepWithoutLosingAPartlyReceivedRequest) {
  const Bytes program = Concat(kProgram);
  for (std::size_t stop_at = 0; stop_at < program.size(); ++stop_at) {
    Rig rig;
    rig.console.typed = "name\n";
    rig.link.read_piece = 1;
    auto session = rig.Start("");
    ASSERT_EQ(session->Step(), Progress::kWorking);  // the reset
    std::size_t fed = 0;
    while (fed < program.size()) {
      if (fed == stop_at) {
        for (int i = 0; i < 3; ++i) ASSERT_EQ(session->Step(), Progress::kWaiting);
      }
      rig.link.Queue({program[fed++]});
      const Progress progress = session->Step();
      if (fed < program.size()) ASSERT_NE(progress, Progress::kEnded);
    }
    RunToEnd(*session);
    ASSERT_EQ(session->ending(), Ending::kExit) << stop_at;
    ASSERT_EQ(rig.link.Take(), kReplies) << stop_at;
  }
}

TEST(Session, EndingATaskDuringAConsoleWaitClosesTheProgramsFiles) {
  for (const Bytes& waiting : {Request(30).Frame(), Request(14).Int32(0).Int16(80).Frame(),
                               Request(12).Int32(0).Int16(10).Frame()}) {
    Rig rig;  // nothing typed: the console gives up its wait as on Terminate
    rig.link.Queue(Request(10).Slice("f").Byte(1).Byte(2).Frame() + waiting);
    auto session = rig.Start("");
    RunToEnd(*session);
    EXPECT_EQ(session->ending(), Ending::kAbandoned);
    EXPECT_EQ(rig.host.opens, 1);
    EXPECT_EQ(rig.host.closes, 1);
    EXPECT_EQ(rig.console.err, "");
  }
}

TEST(Session, ABoardThatStopsTakingBootBytesEndsTheBootWithACount) {
  Rig rig;
  rig.link.write_room = 10000;
  auto session = rig.Start("-si", Bytes(20000, 1));
  RunToEnd(*session);
  EXPECT_EQ(session->ending(), Ending::kBootFailed);
  EXPECT_EQ(session->host_exit_code(), 4);
  EXPECT_NE(rig.console.err.find("Booting root transputer with prog.btl (20000 bytes)"), std::string::npos);
  EXPECT_NE(rig.console.err.find("Boot failed: the board took 10000 of 20000 bytes of prog.btl\n"),
            std::string::npos);
  EXPECT_EQ(rig.link.sent.size(), 10000u);
}

TEST(Session, BadFramesEndTheTaskWithAMessage) {
  const struct {
    const char* name;
    Bytes incoming;
    const char* message;
  } cases[] = {
      {"too short", B({5, 0, 13, 0, 0, 0, 0}), "Protocol error: a request of 5 bytes (requests are 6 to 1022 bytes)\n"},
      {"too long", B({0xFF, 0x03}), "Protocol error: a request of 1023 bytes (requests are 6 to 1022 bytes)\n"},
      {"fields past the frame", Request::Raw(B({13, 1, 0, 0, 0, 200, 0, 'x'})),
       "Protocol error: request 13 has fields past its 8 bytes\n"},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.link.Queue(c.incoming);
    auto session = rig.Start("");
    RunToEnd(*session);
    EXPECT_EQ(session->ending(), Ending::kProtocolError) << c.name;
    EXPECT_EQ(rig.console.err, c.message) << c.name;
    EXPECT_TRUE(rig.link.sent.empty()) << c.name;
    EXPECT_EQ(rig.console.out, "") << c.name;
  }
}

TEST(Session, TheErrorFlagEndsTheTaskOnlyWithDashSe) {
  for (bool check : {false, true}) {
    Rig rig;
    rig.link.error = true;
    rig.link.Queue(Request(35).Int32(0).Frame());
    auto session = rig.Start(check ? "-se" : "");
    RunToEnd(*session);
    EXPECT_EQ(session->ending(), check ? Ending::kErrorFlag : Ending::kExit);
    EXPECT_EQ(rig.console.err, check ? "Error flag raised by transputer\n" : "");
    EXPECT_EQ(session->host_exit_code(), check ? 3 : 0);
  }
}

TEST(Session, AFailingExitStatusIsReportedInOneLine) {
  const struct {
    std::int32_t status;
    std::int32_t code;
    const char* message;
  } cases[] = {{999999999, 0, ""},
               {-999999999, 1, "The program ended with failure status 1\n"},
               {13, 13, "The program ended with failure status 13\n"}};
  for (const auto& c : cases) {
    Rig rig;
    rig.link.Queue(Request(35).Int32(c.status).Frame());
    auto session = rig.Start("");
    RunToEnd(*session);
    EXPECT_EQ(session->ending(), Ending::kExit);
    EXPECT_EQ(session->host_exit_code(), c.code);
    EXPECT_EQ(rig.console.err, c.message);
    EXPECT_EQ(rig.link.Take(), ReplyFrame(B({0})));
  }
}

TEST(Session, ALinkThatFailsOrStopsReadingEndsTheTask) {
  Rig rig;
  rig.link.Queue(Request(42).Frame());
  rig.link.write_room = 3;
  auto session = rig.Start("");
  RunToEnd(*session);
  EXPECT_EQ(session->ending(), Ending::kLinkFailed);
  EXPECT_EQ(rig.console.err, "The program stopped reading the link: it took 3 of 8 reply bytes\n");

  Rig broken;
  broken.link.broken = true;
  auto other = broken.Start("");
  RunToEnd(*other);
  EXPECT_EQ(other->ending(), Ending::kLinkFailed);
}

TEST(Session, BootFilesAreReadWhole) {
  MemoryHost host;
  host.files["boot"] = Bytes(kBootChunk * 2 + 5, 7);
  EXPECT_EQ(ReadWholeFile(host, "boot"), Bytes(kBootChunk * 2 + 5, 7));
  EXPECT_EQ(ReadWholeFile(host, "missing"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(host, ""), std::nullopt);
}

}  // namespace
}  // namespace iserver::testing
