#include "tools/iserver_stub/stub_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace stub {
namespace {

using ::testing::ElementsAre;

// Answers the services from queues and records the log.
class FakeHost : public StubHost {
 public:
  std::vector<std::string> log;
  std::string written;
  std::deque<std::int32_t> keys;
  std::function<void()> during_idle;

  std::int32_t Stwrite(const std::uint8_t* data, std::int32_t count) override {
    written.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(count));
    return count;
  }
  std::int32_t Getch() override {
    if (keys.empty()) return -1;
    const std::int32_t key = keys.front();
    keys.pop_front();
    return key;
  }
  std::int32_t Kbhit() override { return keys.empty() ? 0 : keys.front(); }
  std::int32_t Gets(char* buffer) override {
    std::snprintf(buffer, 80, "line");
    return 4;
  }
  std::int32_t Stread(std::uint8_t* buffer, std::int32_t count) override {
    const char text[] = "ab\n";
    const std::int32_t n = std::min<std::int32_t>(count, 3);
    std::memcpy(buffer, text, static_cast<std::size_t>(n));
    return n;
  }
  std::int32_t WriteLink(std::int32_t handle, const void*, std::int32_t count) override {
    return handle == 1 ? count : -1;
  }
  std::int32_t ReadLink(std::int32_t, void* data, std::int32_t count) override {
    std::memset(data, 0x7F, static_cast<std::size_t>(count));
    return count;
  }
  std::int32_t ResetLink(std::int32_t handle) override { return handle; }
  std::array<std::int32_t, 3> TestLink(std::int32_t) override { return {0, 1, 1}; }
  void Idle(std::int32_t, const std::function<bool()>& stop) override {
    if (during_idle) during_idle();
    log.push_back(stop() ? "(stopped)" : "(idled)");
  }
  void Fault() override { log.push_back("(fault)"); }
  void Log(const std::string& line) override { log.push_back(line); }
};

std::vector<Command> Parse(std::string_view text) {
  int bad = 0;
  auto commands = ParseScript(text, &bad);
  EXPECT_TRUE(commands.has_value()) << "bad line " << bad;
  return commands.value_or(std::vector<Command>{});
}

TEST(StubScriptTest, ParsesCommandsSkipsCommentsAndRejectsBadLines) {
  const auto commands = Parse("# greeting\n\nwrite hi\\n there \r\n  getch\nstread 3\nreturn 7\n");
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[0].text, "hi\n there ");
  EXPECT_EQ(commands[1].op, Op::kGetch);
  EXPECT_EQ(commands[2].number, 3);
  EXPECT_EQ(commands[3].line, 6);
  for (const char* bad : {"jump 3", "stread", "stread x", "getch now", "return 1x"}) {
    int line = 0;
    EXPECT_FALSE(ParseScript(std::string("write ok\n") + bad, &line).has_value()) << bad;
    EXPECT_EQ(line, 2) << bad;
  }
}

TEST(StubScriptTest, RunsEveryCommandAndLogsEachResult) {
  FakeHost host;
  host.keys = {65, 256};
  StubProgram program;
  program.Boot(
      Parse("write abc\ngetch\nkbhit\ngets\nstread 2\nlink-write xyz\nlink-read 2\n"
            "link-reset\nlink-test\n"));
  EXPECT_EQ(program.Call(host, 1), 0);
  EXPECT_THAT(host.log,
              ElementsAre("write 3", "getch 65", "kbhit 256", "gets 4 line", "stread 2 ab", "link-write 3",
                          "link-read 2 \\x7F\\x7F", "link-reset 1", "link-test 0 1 1", "end"));
  EXPECT_EQ(host.written, "abc");
  EXPECT_FALSE(program.booted());
  host.log.clear();
  EXPECT_EQ(program.Call(host, 1), 0);
  EXPECT_THAT(host.log, ElementsAre("nothing to resume"));
}

TEST(StubScriptTest, SuspendReturnsTwoAndTheNextCallResumes) {
  FakeHost host;
  StubProgram program;
  program.Boot(Parse("write a\nidle 5000\nwrite b\n"));
  host.during_idle = [&] { program.RequestSuspend(); };
  EXPECT_EQ(program.Call(host, 1), 2);
  EXPECT_THAT(host.log, ElementsAre("write 1", "(stopped)", "idle", "suspended"));
  host.log.clear();
  EXPECT_EQ(program.Call(host, 1), 0);
  EXPECT_THAT(host.log, ElementsAre("write 1", "end"));
  EXPECT_EQ(host.written, "ab");
}

TEST(StubScriptTest, TerminateEndsTheProgramWithZero) {
  FakeHost host;
  StubProgram program;
  program.Boot(Parse("getch\nwrite never\n"));
  host.keys.clear();
  program.RequestTerminate();  // arrives while the first command waits
  EXPECT_EQ(program.Call(host, 1), 0);
  EXPECT_THAT(host.log, ElementsAre("terminated"));
  EXPECT_FALSE(program.booted());
}

}  // namespace
}  // namespace stub
