// Tags 10 to 25 and 80, exchange by exchange against the note's layouts.
#include <gtest/gtest.h>

#include "iserver/core/tests/harness.h"

namespace iserver::testing {
namespace {

constexpr int kOk = 0, kFail = 129;
constexpr std::int32_t kFirstId = 3;  // the first id after the console's 0, 1, 2

Request Open(const std::string& name, int type, int mode) {
  return Request(10).Slice(name).Byte(static_cast<std::uint8_t>(type)).Byte(static_cast<std::uint8_t>(mode));
}
Request OnStream(int tag, std::int32_t id) { return Request(static_cast<std::uint8_t>(tag)).Int32(id); }
Request Transfer(int tag, std::int32_t id, int count) {
  return OnStream(tag, id).Int16(static_cast<std::uint16_t>(count));
}
Request Data(int tag, std::int32_t id, const std::string& data) { return OnStream(tag, id).Slice(data); }

struct Case {
  const char* name;
  std::map<std::string, Bytes> files;  // the host's files before
  std::vector<Exchange> exchanges;
  std::map<std::string, std::string> files_after;  // checked when not empty
};

Bytes File(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(FileRequests, AnswerEachTagAsTheNoteSays) {
  const std::vector<Case> cases = {
      {"open, write, close, read back",
       {},
       {{Open("out.txt", 2, 2), B({kOk}) + I32(kFirstId)},
        {Data(13, kFirstId, "hello"), B({kOk}) + I16(5)},
        {Data(24, kFirstId, "!"), B({kOk}) + I16(1)},
        {OnStream(11, kFirstId), B({kOk})},
        {Open("out.txt", 1, 1), B({kOk}) + I32(kFirstId + 1)},
        {Transfer(12, kFirstId + 1, 4), B({kOk}) + S("hell")},
        {Transfer(23, kFirstId + 1, 10), B({kOk}) + S("o!")},
        {Transfer(12, kFirstId + 1, 10), B({kOk}) + S("")},   // READ stays ok at the end
        {Transfer(23, kFirstId + 1, 10), B({kFail}) + S("")},  // GETBLOCK does not
        {OnStream(19, kFirstId + 1), B({kOk})}},               // EOF: 0 means at the end
       {{"out.txt", "hello!"}}},
      {"open refuses bad names, types, modes and missing files",
       {{"a", File("x")}},
       {{Open("", 1, 1), B({kFail})},
        {Open("a", 0, 1), B({kFail})},
        {Open("a", 3, 1), B({kFail})},
        {Open("a", 1, 0), B({kFail})},
        {Open("a", 1, 7), B({kFail})},
        {Open(std::string("a\0b", 3), 1, 1), B({kFail})},
        {Open("missing", 1, 1), B({kFail})},
        {Open("a", 1, 1), B({kOk}) + I32(kFirstId)}},
       {}},
      {"ids are never reused, closed ids are refused",
       {{"a", File("x")}},
       {{Open("a", 1, 1), B({kOk}) + I32(kFirstId)},
        {OnStream(11, kFirstId), B({kOk})},
        {OnStream(11, kFirstId), B({kFail})},
        {Transfer(12, kFirstId, 4), B({kFail}) + S("")},
        {Data(13, kFirstId, "z"), B({kFail}) + I16(0)},
        {Open("a", 1, 1), B({kOk}) + I32(kFirstId + 1)},
        {OnStream(19, 77), B({kFail})},
        {OnStream(18, -1), B({kFail})},
        {OnStream(16, 1234), B({kFail})},
        {OnStream(20, 5), B({kFail})}},
       {}},
      {"gets takes lines without their newline, up to the limit",
       {{"t", File("one\ntwo three\nend")}},
       {{Open("t", 2, 1), B({kOk}) + I32(kFirstId)},
        {Transfer(14, kFirstId, 507), B({kOk}) + S("one")},
        {Transfer(14, kFirstId, 3), B({kOk}) + S("two")},
        {Transfer(14, kFirstId, 507), B({kOk}) + S(" three")},
        {Transfer(14, kFirstId, 507), B({kOk}) + S("end")},
        {Transfer(14, kFirstId, 507), B({kFail})},
        {Transfer(14, 42, 507), B({kFail})}},
       {}},
      {"puts adds the newline; seek and tell move in the file",
       {},
       {{Open("p", 2, 5), B({kOk}) + I32(kFirstId)},
        {Data(15, kFirstId, "abc"), B({kOk})},
        {OnStream(18, kFirstId), B({kOk}) + I32(4)},
        {OnStream(17, kFirstId).Int32(1).Int32(1), B({kOk})},
        {OnStream(18, kFirstId), B({kOk}) + I32(1)},
        {OnStream(17, kFirstId).Int32(-1).Int32(3), B({kOk})},
        {OnStream(18, kFirstId), B({kOk}) + I32(3)},
        {OnStream(17, kFirstId).Int32(0).Int32(4), B({kFail})},
        {OnStream(17, kFirstId).Int32(-9).Int32(1), B({kFail})},
        {OnStream(19, kFirstId), B({kFail})},  // not at the end
        {OnStream(16, kFirstId), B({kOk})},
        {Data(15, 9, "x"), B({kFail})}},
       {{"p", "abc\n"}}},
      {"ferror reports the error indicator with errno and message",
       {{"r", File("data")}},
       {{Open("r", 1, 1), B({kOk}) + I32(kFirstId)},
        {OnStream(20, kFirstId), B({kFail})},
        {Data(13, kFirstId, "no"), B({kOk}) + I16(0)},
        {Data(24, kFirstId, "no"), B({kFail}) + I16(0)},
        {OnStream(20, kFirstId), B({kOk}) + I32(9) + S("Bad file descriptor")}},
       {}},
      {"remove, rename and fileexists work on names",
       {{"a", File("1")}},
       {{Request(80).Slice("a"), B({kOk, 1})},
        {Request(80).Slice("b"), B({kOk, 0})},
        {Request(80).Slice(""), B({kFail})},
        {Request(22).Slice("a").Slice("b"), B({kOk})},
        {Request(22).Slice("a").Slice("c"), B({kFail})},
        {Request(22).Slice("b").Slice(""), B({kFail})},
        {Request(21).Slice("b"), B({kOk})},
        {Request(21).Slice("b"), B({kFail})},
        {Request(21).Slice(""), B({kFail})}},
       {}},
      {"the console streams",
       {},
       {{Data(13, 1, "out\n"), B({kOk}) + I16(4)},
        {Data(13, 2, "err"), B({kOk}) + I16(3)},
        {Data(15, 1, "line"), B({kOk})},
        {Data(24, 1, "b"), B({kOk}) + I16(1)},
        {Data(13, 0, "x"), B({kOk}) + I16(0)},
        {Data(24, 0, "x"), B({kFail}) + I16(0)},
        {Transfer(12, 0, 3), B({kOk}) + S("typ")},
        {Transfer(12, 0, 100), B({kOk}) + S("ed\n")},
        {Transfer(14, 0, 507), B({kOk}) + S("second")},
        {Transfer(12, 0, 0), B({kOk}) + S("")},
        {Transfer(12, 1, 5), B({kOk}) + S("")},
        {OnStream(19, 0), B({kFail})},
        {OnStream(20, 1), B({kFail})},
        {OnStream(16, 1), B({kOk})},
        {OnStream(18, 1), B({kFail})},
        {OnStream(25, 0), B({kOk, 1})},
        {OnStream(25, 2), B({kOk, 1})},
        {OnStream(25, 7), B({kFail})},
        {OnStream(11, 1), B({kOk})},
        {Data(13, 1, "!"), B({kOk}) + I16(1)}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.host.files = c.files;
    h.console.typed = "typed\nsecond\n";
    for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
      SCOPED_TRACE("exchange " + std::to_string(i));
      EXPECT_EQ(h.Ask(c.exchanges[i].request), c.exchanges[i].reply);
      EXPECT_EQ(h.last.kind, RequestOutcome::Kind::kContinue);
    }
    for (const auto& [name, text] : c.files_after) EXPECT_EQ(h.host.files[name], File(text)) << name;
    if (std::string(c.name) == "the console streams") {
      EXPECT_EQ(h.console.out, "out\nline\nb!");
      EXPECT_EQ(h.console.err, "err");
    }
  }
}

TEST(FileRequests, LargeReadsAreClippedToTheFrameAndStayWithinTheBuffer) {
  Harness h;
  h.host.files["big"] = Bytes(5000, 'x');
  ASSERT_EQ(h.Ask(Open("big", 1, 1)), B({kOk}) + I32(kFirstId));
  const Bytes reply = h.Ask(Transfer(12, kFirstId, 0xFFFF));
  ASSERT_EQ(reply.size(), kMaxPayload);
  EXPECT_EQ(reply[1] | reply[2] << 8, static_cast<int>(kMaxPayload - 3));
  // An ordinary request stays within an occam client's 510 bytes.
  EXPECT_EQ(h.Ask(Transfer(12, kFirstId, 507)).size(), kUsualReplyPayload);
}

TEST(FileRequests, FieldsPastTheFrameAreMalformedAndTouchNothing) {
  const std::vector<Bytes> payloads = {
      B({10, 200, 0, 'a', 'b', 'c'}),          // OPEN's name runs past the frame
      B({10, 1, 0, 'a', 1}),                   // OPEN's mode missing
      B({13, 1, 0, 0, 0, 9, 0, 'x'}),          // WRITE's data runs past
      B({17, 3, 0, 0, 0, 0, 0}),               // SEEK without its origin
      B({22, 1, 0, 'a', 5, 0, 'b'}),           // RENAME's second name runs past
      B({12, 1, 0}),                           // READ without its id
  };
  for (const Bytes& payload : payloads) {
    Harness h;
    h.host.files["a"] = File("1");
    ReplyWriter reply;
    const RequestOutcome outcome = HandleRequest(payload, h.context, reply);
    EXPECT_EQ(outcome.kind, RequestOutcome::Kind::kMalformed) << int(payload[0]);
    EXPECT_EQ(h.host.opens, 0);
    EXPECT_EQ(h.host.files.size(), 1u);
    EXPECT_TRUE(h.console.out.empty());
  }
}

TEST(FileRequests, StandardInputThatRanOutReadsAsEndOfFile) {
  Harness h;
  h.console.typed = "last";  // no newline: the input ends inside the line
  h.console.ended = true;
  EXPECT_EQ(h.Ask(Transfer(14, 0, 10)), B({kOk}) + S("last"));
  EXPECT_EQ(h.Ask(OnStream(19, 0)), B({kOk}));            // EOF: at the end
  EXPECT_EQ(h.Ask(Transfer(12, 0, 10)), B({kOk}) + S(""));  // READ: no bytes, still ok
  EXPECT_EQ(h.Ask(Transfer(14, 0, 10)), B({kFail}));      // GETS: nothing left
  EXPECT_EQ(h.Ask(Transfer(23, 0, 10)), B({kFail}) + S(""));
  EXPECT_EQ(h.Ask(Request(30)), B({kFail}));              // GETKEY fails instead of ending the task
  EXPECT_EQ(h.last.kind, RequestOutcome::Kind::kContinue);
}

TEST(FileRequests, TheFileTableIsBounded) {
  Harness h;
  h.host.files["a"] = File("1");
  for (std::size_t i = 0; i < StreamTable::kMaxOpenFiles; ++i) ASSERT_EQ(h.Ask(Open("a", 1, 1))[0], kOk);
  EXPECT_EQ(h.Ask(Open("a", 1, 1)), B({kFail}));
  ASSERT_EQ(h.Ask(OnStream(11, kFirstId)), B({kOk}));
  EXPECT_EQ(h.Ask(Open("a", 1, 1)), B({kOk}) + I32(kFirstId + static_cast<std::int32_t>(StreamTable::kMaxOpenFiles)));
}

}  // namespace
}  // namespace iserver::testing
