#include "server/console/console_services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "server/console/tests/recording_sink.h"

namespace console {
namespace {

using ::testing::ElementsAre;
using testing::RecordingSink;
using testing::ScriptedPump;

class ConsoleServicesTest : public ::testing::Test {
 protected:
  ConsoleServicesTest() { task.value = server::kTaskRunning; }

  // Each step is one pumped message carrying typed characters.
  void Type(const std::string& keys) {
    pump.Then([this, keys] {
      for (char c : keys) console.keyboard.OnChar(static_cast<std::uint8_t>(c));
    });
  }
  void PressKey(std::uint8_t virtual_key) {
    pump.Then([this, virtual_key] { console.keyboard.OnKeyDown(virtual_key); });
  }
  std::string Read(std::int32_t count) {
    std::string out(static_cast<std::size_t>(std::max(count, 0)), '\0');
    const std::int32_t n = services.Stread(reinterpret_cast<std::uint8_t*>(out.data()), count);
    out.resize(static_cast<std::size_t>(n));
    return out;
  }

  RecordingSink sink;
  server::TaskState task;
  Console console{sink, task};
  ScriptedPump pump;
  ConsoleServices services{console, pump};
};

TEST_F(ConsoleServicesTest, KbhitAndGetchOverAFunctionKey) {
  EXPECT_EQ(services.Kbhit(), 0);
  console.keyboard.OnKeyDown(0x70);
  EXPECT_EQ(services.Kbhit(), 256);
  EXPECT_EQ(services.Getch(), 0);
  EXPECT_EQ(services.Kbhit(), 59);
  EXPECT_EQ(services.Getch(), 59);
  EXPECT_EQ(services.Kbhit(), 0);
  EXPECT_EQ(pump.pumped, 0);
}

TEST_F(ConsoleServicesTest, BytesAbove127ComeBackNegative) {
  console.keyboard.OnChar(0xE9);
  EXPECT_EQ(services.Kbhit(), -23);
  EXPECT_EQ(services.Getch(), -23);
}

TEST_F(ConsoleServicesTest, GetchPumpsUntilAKeyArrives) {
  pump.Then([] {});
  pump.Then([] {});
  Type("q");
  EXPECT_EQ(services.Getch(), 'q');
  EXPECT_EQ(pump.pumped, 3);
}

TEST_F(ConsoleServicesTest, WaitsEndWhenTheTaskIsTerminated) {
  auto terminate = [this] { task.value = server::kNoTask; };
  pump.Then(terminate);
  EXPECT_EQ(services.Getch(), ConsoleServices::kNoKey);

  task.value = server::kTaskRunning;
  Type("par");
  pump.Then(terminate);
  char line[80];
  std::memset(line, 'x', sizeof line);
  EXPECT_EQ(services.Gets(line), 0);
  EXPECT_STREQ(line, "");

  task.value = server::kTaskRunning;
  Type("half");
  pump.Then(terminate);
  EXPECT_EQ(Read(10), "");
  EXPECT_EQ(console.line.length, 0);
  EXPECT_TRUE(pump.steps.empty());
  EXPECT_TRUE(pump.reposted.empty());
}

TEST_F(ConsoleServicesTest, QuitEndsTheWaitIsRepostedAndLaterWaitsDoNotPump) {
  pump.ThenQuit(3);
  EXPECT_EQ(services.Getch(), ConsoleServices::kNoKey);
  EXPECT_THAT(pump.reposted, ElementsAre(3));
  EXPECT_TRUE(services.leaving());
  char line[80];
  EXPECT_EQ(services.Gets(line), 0);
  EXPECT_EQ(Read(5), "");
  EXPECT_EQ(pump.pumped, 1);
  // Keys already queued are still handed out.
  console.keyboard.OnChar('k');
  EXPECT_EQ(services.Getch(), 'k');
}

TEST_F(ConsoleServicesTest, GetsEditsEchoesAndEndsTheLine) {
  Type("ab\bc\r");
  char line[80];
  EXPECT_EQ(services.Gets(line), 2);
  EXPECT_STREQ(line, "ac");
  EXPECT_EQ(console.model.Row(0).substr(0, 3), "ac ");
  EXPECT_EQ(console.model.cursor_row(), 1);
  EXPECT_EQ(console.model.cursor_col(), 0);
}

TEST_F(ConsoleServicesTest, GetsIgnoresBackspaceAtStartAndFunctionKeys) {
  Type("\b");
  PressKey(0x70);
  Type("z\n");
  char line[80];
  EXPECT_EQ(services.Gets(line), 1);
  EXPECT_STREQ(line, "z");
  EXPECT_EQ(console.model.Row(0).substr(0, 2), "z ");
}

TEST_F(ConsoleServicesTest, GetsRefusesThe80thCharacterWithABeep) {
  Type(std::string(79, 'w'));
  Type("XY\r");
  char line[81];
  std::memset(line, '#', sizeof line);
  EXPECT_EQ(services.Gets(line), 79);
  EXPECT_EQ(std::string(line), std::string(79, 'w'));
  EXPECT_EQ(line[80], '#');
  EXPECT_EQ(sink.Count("beep"), 2);
}

TEST_F(ConsoleServicesTest, StreadHandsTheLineOutInPieces) {
  Type("hello\r");
  EXPECT_EQ(Read(3), "hel");
  EXPECT_EQ(Read(3), "lo\n");
  EXPECT_EQ(pump.pumped, 1);
  Type("hello\n");
  EXPECT_EQ(Read(100), "hello\n");
  Type("\r");
  EXPECT_EQ(Read(4), "\n");
  EXPECT_EQ(pump.pumped, 3);
}

TEST_F(ConsoleServicesTest, StreadCountZeroWaitsAndKeepsTheLine) {
  Type("xy\r");
  EXPECT_EQ(Read(0), "");
  EXPECT_EQ(console.line.length, 3);
  EXPECT_EQ(Read(10), "xy\n");
  EXPECT_EQ(pump.pumped, 1);
}

TEST_F(ConsoleServicesTest, StreadLineStaysWithin80Bytes) {
  Type(std::string(85, 'm') + "\r");
  const std::string got = Read(200);
  EXPECT_EQ(got, std::string(79, 'm') + "\n");
}

TEST_F(ConsoleServicesTest, NegativeAndNullArgumentsDoNothing) {
  const std::uint8_t data[] = {'a'};
  EXPECT_EQ(services.Stwrite(data, -5), 0);
  EXPECT_EQ(services.Stwrite(nullptr, 5), 0);
  EXPECT_EQ(Read(-1), "");
  EXPECT_EQ(services.Stread(nullptr, 4), 0);
  EXPECT_EQ(services.Gets(nullptr), 0);
  EXPECT_EQ(pump.pumped, 0);
  EXPECT_TRUE(sink.log.empty());
}

TEST_F(ConsoleServicesTest, StwriteReturnsTheCountAndEscapesSpanCalls) {
  const std::uint8_t text[] = {'h', 'i', 27, '['};
  EXPECT_EQ(services.Stwrite(text, 4), 4);
  EXPECT_EQ(console.model.Row(0).substr(0, 2), "hi");
  const std::uint8_t rest[] = {'2', 'J'};
  EXPECT_EQ(services.Stwrite(rest, 2), 2);
  EXPECT_EQ(console.model.Row(0).substr(0, 2), "  ");
}

// A sink that may hold drawing back learns where each write begins and ends:
// an STWRITE call is one write, whatever it holds; the echo of a typed key is
// drawn before the next key is read.
TEST(ConsoleWritesTest, StwriteIsOneWriteAndEchoIsNotHeldBack) {
  struct WriteSink : RecordingSink {
    int open = 0;
    void BeginWrite() override { log.push_back("begin " + std::to_string(open++)); }
    void EndWrite(const ConsoleModel& model) override {
      log.push_back("end " + std::to_string(--open) + " at " + std::to_string(model.cursor_col()));
    }
  } sink;
  server::TaskState task;
  task.value = server::kTaskRunning;
  Console console{sink, task};
  ScriptedPump pump;
  ConsoleServices services{console, pump};

  const std::uint8_t text[] = {'a', '\n', 'b', 27, '[', 'K'};
  EXPECT_EQ(services.Stwrite(text, 6), 6);
  ASSERT_GE(sink.log.size(), 2u);
  EXPECT_EQ(sink.log.front(), "begin 0");
  EXPECT_EQ(sink.log.back(), "end 0 at 1");
  EXPECT_EQ(sink.Count("begin 0"), 1);

  sink.log.clear();
  pump.Then([&] { console.keyboard.OnChar('x'); });
  pump.Then([&] {
    // The x is on the screen, and no write is open, while the next key waits.
    EXPECT_EQ(sink.Count("draw 1,1 'x'"), 1);
    EXPECT_EQ(sink.open, 0);
    console.keyboard.OnChar('\b');
    console.keyboard.OnChar('\r');
  });
  char line[80];
  EXPECT_EQ(services.Gets(line), 0);
  EXPECT_EQ(sink.open, 0);
}

}  // namespace
}  // namespace console
