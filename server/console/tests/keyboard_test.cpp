#include "server/console/keyboard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "server/console/tests/recording_sink.h"

namespace console {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::RecordingSink;

class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest() { task.value = server::kTaskRunning; }

  std::vector<int> Drain() {
    std::vector<int> bytes;
    while (!ring.empty()) bytes.push_back(ring.Take());
    return bytes;
  }

  RecordingSink sink;
  server::TaskState task;
  KeyRing ring;
  Keyboard keyboard{ring, task, sink};
};

TEST_F(KeyboardTest, RingHolds255AndTheNextBeepsAndIsDropped) {
  for (int i = 0; i < 255; ++i) keyboard.OnChar(static_cast<std::uint8_t>('a' + i % 26));
  EXPECT_EQ(ring.count(), 255);
  EXPECT_TRUE(sink.log.empty());
  keyboard.OnChar('!');
  EXPECT_THAT(sink.log, ElementsAre("beep"));
  EXPECT_EQ(ring.count(), 255);
  EXPECT_EQ(Drain().back(), 'a' + 254 % 26);
}

TEST_F(KeyboardTest, PairNeedsTwoFreePlacesOrNothingStays) {
  for (int i = 0; i < 254; ++i) keyboard.OnChar('k');
  const int in_before = ring.in();
  keyboard.OnKeyDown(0x70);  // F1 with one place left
  EXPECT_THAT(sink.log, ElementsAre("beep"));
  EXPECT_EQ(ring.in(), in_before);
  EXPECT_EQ(ring.count(), 254);
  ring.Take();
  keyboard.OnKeyDown(0x70);  // now two places
  EXPECT_EQ(ring.count(), 255);
}

TEST_F(KeyboardTest, RingWrapsAroundItsEnd) {
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 200; ++i) keyboard.OnChar(static_cast<std::uint8_t>(i));
    std::vector<int> expected;
    for (int i = 0; i < 200; ++i) expected.push_back(i);
    EXPECT_THAT(Drain(), ElementsAreArray(expected));
  }
}

TEST_F(KeyboardTest, FunctionKeyColumnsFollowAltThenCtrlThenShift) {
  struct Case {
    std::vector<std::uint8_t> held;  // key-down order
    std::uint8_t key;
    bool sys;  // arrives as WM_SYSKEYDOWN (with Alt held)
    int code;
  } cases[] = {
      {{}, 0x70, false, 59},       {{16}, 0x70, false, 84},  {{17}, 0x70, false, 94}, {{18}, 0x70, true, 104},
      {{17, 16}, 0x70, false, 94}, {{}, 0x7B, false, 134},   {{16}, 0x09, false, 15}, {{}, 0x26, false, 72},
      {{16}, 0x2E, false, 46},     {{17}, 0x28, false, 145}, {{18}, 0x08, true, 14},  {{18}, 'A', true, 30},
      {{18}, '0', true, 129},      {{18}, 'Z', true, 44},
  };
  for (const Case& c : cases) {
    KeyRing fresh_ring;
    Keyboard fresh{fresh_ring, task, sink};
    for (std::uint8_t held : c.held) {
      if (held == 18)
        fresh.OnSysKeyDown(held);
      else
        fresh.OnKeyDown(held);
    }
    if (c.sys)
      fresh.OnSysKeyDown(c.key);
    else
      fresh.OnKeyDown(c.key);
    ASSERT_EQ(fresh_ring.count(), 2) << int(c.key);
    EXPECT_EQ(fresh_ring.Take(), 0);
    EXPECT_EQ(fresh_ring.Take(), c.code) << int(c.key);
  }
}

TEST_F(KeyboardTest, KeysWithoutCodesQueueNothing) {
  keyboard.OnKeyDown(0x0D);  // Enter: its byte comes from WM_CHAR only
  keyboard.OnKeyDown('A');   // plain letter without Alt
  keyboard.OnKeyDown(16);
  keyboard.OnKeyDown(17);
  keyboard.OnSysKeyDown(18);
  keyboard.OnSysKeyDown(0x90);  // listed in neither table
  EXPECT_TRUE(ring.empty());
}

TEST_F(KeyboardTest, AltMenuLettersClearAltAndQueueNothing) {
  for (std::uint8_t key : {'R', 'C', 'D', 'W', 'Q', 'H', ' '}) {
    keyboard.OnSysKeyDown(18);
    keyboard.OnSysKeyDown(key);
    EXPECT_TRUE(ring.empty()) << key;
    EXPECT_FALSE(keyboard.modifiers().alt) << key;
  }
}

TEST_F(KeyboardTest, CtrlF5AndCtrlF6GiveTheirCodesThenDropCtrl) {
  keyboard.OnKeyDown(17);
  keyboard.OnKeyDown(0x74);
  keyboard.OnKeyDown(0x70);  // Ctrl is now considered released
  EXPECT_THAT(Drain(), ElementsAre(0, 98, 0, 59));
  keyboard.OnKeyDown(17);
  keyboard.OnKeyDown(0x75);
  EXPECT_THAT(Drain(), ElementsAre(0, 99));
  EXPECT_FALSE(keyboard.modifiers().ctrl);
}

TEST_F(KeyboardTest, NothingHappensWhileNoTaskIsActive) {
  task.value = server::kNoTask;
  keyboard.OnChar('x');
  keyboard.OnKeyDown(16);
  keyboard.OnKeyDown(17);
  keyboard.OnSysKeyDown(18);
  keyboard.OnKeyDown(0x70);
  EXPECT_TRUE(ring.empty());
  EXPECT_FALSE(keyboard.modifiers().shift || keyboard.modifiers().ctrl || keyboard.modifiers().alt);
  // A release while idle does not clear a flag set during the task either.
  task.value = server::kTaskSuspended;
  keyboard.OnKeyDown(16);
  task.value = server::kNoTask;
  keyboard.OnKeyUp(16);
  EXPECT_TRUE(keyboard.modifiers().shift);
  // Even a full ring does not beep while idle.
  EXPECT_TRUE(sink.log.empty());
}

TEST_F(KeyboardTest, FocusFromAnotherWindowDiscardsTypedAheadKeys) {
  keyboard.OnChar('a');
  keyboard.OnSetFocus(true);  // the console's own resize
  EXPECT_EQ(ring.count(), 1);
  keyboard.OnSetFocus(false);
  EXPECT_TRUE(ring.empty());
  EXPECT_EQ(ring.in(), 0);
  EXPECT_EQ(ring.out(), 0);
}

}  // namespace
}  // namespace console
