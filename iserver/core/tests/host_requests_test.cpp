// Tags 30 to 35 against the note's layouts.
#include <gtest/gtest.h>

#include <functional>

#include "iserver/core/tests/harness.h"

namespace iserver::testing {
namespace {

using Kind = RequestOutcome::Kind;

struct Case {
  const char* name;
  std::function<void(Harness&)> setup;
  Request request;
  Bytes reply;
  Kind outcome = Kind::kContinue;
  std::int32_t status = 0;
};

TEST(HostRequests, AnswerEachTagAsTheNoteSays) {
  auto none = [](Harness&) {};
  const std::vector<Case> cases = {
      {"getkey hands out a key", [](Harness& h) { h.console.keys = "\xE9"; }, Request(30), B({0, 0xE9})},
      {"getkey whose wait gives up ends the task", none, Request(30), B({}), Kind::kAbandoned},
      {"pollkey with a key waiting", [](Harness& h) { h.console.keys = "k"; }, Request(31), B({0, 'k'})},
      {"pollkey without one", none, Request(31), B({129})},
      {"getenv of a set variable", [](Harness& h) { h.host.environment["IBOARDSIZE"] = "#200000"; },
       Request(32).Slice("IBOARDSIZE"), B({0}) + S("#200000")},
      {"getenv of an unset one", none, Request(32).Slice("ISEARCH"), B({129})},
      {"getenv of the empty name", none, Request(32).Slice(""), B({129})},
      {"getenv of a value too long for a reply",
       [](Harness& h) { h.host.environment["PATH"] = std::string(600, 'p'); }, Request(32).Slice("PATH"), B({129})},
      {"time gives local and UTC seconds", [](Harness& h) { h.host.now = {7200 + 5, 5}; }, Request(33),
       B({0}) + I32(7205) + I32(5)},
      {"system passes the command's status", [](Harness& h) { h.host.command_status = 3; },
       Request(34).Slice("dir"), B({0}) + I32(3)},
      {"system with the empty command asks for a processor", none, Request(34).Slice(""), B({0}) + I32(1)},
      {"system without a processor", [](Harness& h) { h.host.has_shell = false; }, Request(34).Slice(""),
       B({129}) + I32(0)},
      {"exit with success", none, Request(35).Int32(999999999), B({0}), Kind::kExit, 999999999},
      {"exit with another status", none, Request(35).Int32(13), B({0}), Kind::kExit, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    c.setup(h);
    const Bytes reply = h.Ask(c.request);
    EXPECT_EQ(h.last.kind, c.outcome);
    if (c.outcome != Kind::kAbandoned) EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(h.last.status, c.status);
  }
}

TEST(ServerRequests, AnswerEachTagAsTheNoteSays) {
  Harness h;
  h.options = ParseParameters("hello.btl", "-se one \"two three\"");
  EXPECT_EQ(h.Ask(Request(40).Byte(0)), B({0}) + S("one \"two three\""));
  EXPECT_EQ(h.Ask(Request(40).Byte(1)), B({0}) + S("hello.btl -se one \"two three\""));
  EXPECT_EQ(h.Ask(Request(41).Int32(0).Int16(16)), B({129}));
  EXPECT_EQ(h.Ask(Request(42)), B({0, 15, 1, 1, 1}));
  for (int tag : {0, 1, 9, 26, 27, 28, 29, 36, 43, 50, 81, 82, 83, 100, 255}) {
    EXPECT_EQ(h.Ask(Request(static_cast<std::uint8_t>(tag))), B({1})) << tag;
    EXPECT_EQ(h.last.kind, Kind::kContinue);
  }
  // A request without its byte reads the pad byte, nonzero: the whole line.
  EXPECT_EQ(h.Ask(Request(40)), B({0}) + S("hello.btl -se one \"two three\""));
}

}  // namespace
}  // namespace iserver::testing
