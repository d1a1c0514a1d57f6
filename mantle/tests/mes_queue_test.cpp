#include "mantle/mes_queue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "mantle/message_retrieval.h"
#include "mantle/window_kind.h"

namespace mantle {
namespace {

QueuedMessage Record(std::uint32_t hwnd, std::uint32_t message, std::uint32_t wparam = 0) {
  return QueuedMessage{hwnd, message, wparam, 0, 0};
}

// A record no operation would produce, to see what a call left alone.
constexpr QueuedMessage kUntouched{0xDEAD, 0xBEEF, 0xCAFE, -7, 0x5A5A};

bool Same(const QueuedMessage& a, const QueuedMessage& b) {
  return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
         a.id == b.id;
}

TEST(MesQueue, TakesRecordsInOrderAndStaysUsableOnceEmptied) {
  MesQueue queue;
  for (int round = 0; round < 2; ++round) {
    for (std::uint32_t m : {0x100u, 0x102u, 0x101u}) ASSERT_EQ(queue.Append(Record(1, m)), 1);
    QueuedMessage out{};
    for (std::uint32_t m : {0x100u, 0x102u, 0x101u}) {
      ASSERT_EQ(queue.Take(out), 1);
      EXPECT_EQ(out.message, m);
    }
    EXPECT_TRUE(queue.Empty());
    out = kUntouched;
    EXPECT_EQ(queue.Take(out), 0);
    EXPECT_TRUE(Same(out, kUntouched));
  }
}

TEST(MesQueue, HasNoCapacityLimitAndClearFreesEverything) {
  MesQueue queue;
  for (std::uint32_t i = 0; i < 100000; ++i) ASSERT_EQ(queue.Append(Record(1, i)), 1);
  queue.Clear();
  EXPECT_TRUE(queue.Empty());
  ASSERT_EQ(queue.Append(Record(2, 7)), 1);
  QueuedMessage out{};
  ASSERT_EQ(queue.Take(out), 1);
  EXPECT_EQ(out.hwnd, 2u);
  // Nodes left at destruction are freed too (the leak checker watches).
  for (std::uint32_t i = 0; i < 10; ++i) queue.Append(Record(3, i));
}

TEST(PeekFilter, WindowAndRangeRules) {
  const QueuedMessage head = Record(0x1234, 0x0111);
  const QueuedMessage null_window = Record(0, 0x0111);
  struct Case {
    const char* what;
    const QueuedMessage& head;
    std::uint32_t window, first, last;
    bool passes;
  };
  const Case cases[] = {
      {"any window, no range", head, kAnyWindow, 0, 0, true},
      {"same window", head, 0x1234, 0, 0, true},
      {"other window", head, 0x1235, 0, 0, false},
      {"0 is not any window", head, 0, 0, 0, false},
      {"0 matches a null window", null_window, 0, 0, 0, true},
      {"range inclusive low", head, kAnyWindow, 0x0111, 0x0200, true},
      {"range inclusive high", head, kAnyWindow, 0x0100, 0x0111, true},
      {"range below", head, kAnyWindow, 0x0112, 0x0200, false},
      {"range above", head, kAnyWindow, 0x0100, 0x0110, false},
      {"inverted range matches nothing", head, kAnyWindow, 0x0200, 0x0100, false},
      {"0..last is a real range", head, kAnyWindow, 0, 0x0110, false},
      {"first..0 is not 'any'", head, kAnyWindow, 0x0100, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassesPeekFilter(c.head, c.window, c.first, c.last), c.passes) << c.what;
  }
}

TEST(MesQueue, PeekLooksAtTheHeadOnly) {
  MesQueue queue;
  queue.Append(Record(1, 0x0100));
  queue.Append(Record(1, 0x0111));
  QueuedMessage out = kUntouched;
  // A later record would match, but only the head counts.
  EXPECT_EQ(queue.PeekHead(out, kAnyWindow, 0x0111, 0x0111, true), 0);
  EXPECT_TRUE(Same(out, kUntouched));

  ASSERT_EQ(queue.PeekHead(out, kAnyWindow, 0, 0, false), 1);
  EXPECT_EQ(out.message, 0x0100u);
  QueuedMessage again{};
  ASSERT_EQ(queue.PeekHead(again, 1, 0, 0, false), 1);
  EXPECT_TRUE(Same(out, again));

  ASSERT_EQ(queue.PeekHead(out, 1, 0x0100, 0x0100, true), 1);
  ASSERT_EQ(queue.Take(out), 1);
  EXPECT_EQ(out.message, 0x0111u);
  EXPECT_TRUE(queue.Empty());
  // Removing the last node by peek must leave the tail usable.
  queue.Append(Record(4, 1));
  ASSERT_EQ(queue.PeekHead(out, 4, 0, 0, true), 1);
  queue.Append(Record(5, 2));
  ASSERT_EQ(queue.Take(out), 1);
  EXPECT_EQ(out.hwnd, 5u);
}

TEST(WindowKind, FirstFiveCharactersExactCase) {
  const std::pair<const char*, WindowKind> cases[] = {
      {"OWLZWindow:0A3F", WindowKind::kPlain},
      {"OWLZGraph:FFFF", WindowKind::kGraphics},
      {"OWLZDialog0000", WindowKind::kDialog},
      {"OWLZDIALOG0000", WindowKind::kDialog},
      {"OWLZWhatever", WindowKind::kPlain},
      {"owlzwindow:0A3F", WindowKind::kOther},
      {"OWLZ", WindowKind::kOther},
      {"", WindowKind::kOther},
      {"Button", WindowKind::kOther},
      {"#32770", WindowKind::kOther},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(WindowKindOf(name), kind) << name;
}

TEST(WindowKind, ClassNamesCarryTheTickInFourUppercaseDigits) {
  EXPECT_STREQ(KindClassName(WindowKind::kPlain, 0x0a3f).data(), "OWLZWindow:0A3F");
  EXPECT_STREQ(KindClassName(WindowKind::kGraphics, 0xffff).data(), "OWLZGraph:FFFF");
  EXPECT_STREQ(KindClassName(WindowKind::kDialog, 0x0001).data(), "OWLZDialog0001");
  EXPECT_STREQ(KindClassName(WindowKind::kOther, 0x1234).data(), "");
}

// Library windows by handle, with the class each object really is.
class FakeWindows final : public WindowDirectory {
 public:
  struct Window {
    std::string class_name;
    std::optional<WindowKind> object_kind;  // none: a foreign window
    std::int32_t id;
  };
  std::map<std::uint32_t, Window> windows;

  std::string ClassName(std::uint32_t hwnd) const override {
    auto it = windows.find(hwnd);
    return it == windows.end() ? std::string() : it->second.class_name;
  }
  std::optional<std::int32_t> ClientId(std::uint32_t hwnd, WindowKind kind) const override {
    auto it = windows.find(hwnd);
    if (it == windows.end() || it->second.object_kind != kind) return std::nullopt;
    return it->second.id;
  }
};

class Retrieval : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.windows = {
        {0x10, {"OWLZWindow:0A3F", WindowKind::kPlain, 7}},
        {0x20, {"OWLZGraph:0001", WindowKind::kGraphics, 8}},
        {0x30, {"OWLZDialog1234", WindowKind::kDialog, 9}},
        {0x40, {"Edit", std::nullopt, 0}},
        {0x50, {"OWLZWindow:0001", std::nullopt, 0}},        // borrowed name, no object
        {0x60, {"OWLZDialog0000", WindowKind::kPlain, 11}},  // downcast to dialog fails
        {0x70, {"OWLZWindow:0002", WindowKind::kPlain, 0}},  // a window of id 0
    };
  }
  FakeWindows windows;
  MesQueue queue;
};

TEST_F(Retrieval, EmptyOrAbsentQueueSetsOnlyTheId) {
  for (MesQueue* q : {&queue, static_cast<MesQueue*>(nullptr)}) {
    QueuedMessage out = kUntouched;
    EXPECT_EQ(RetrieveQueuedMessage(q, out, windows), 0);
    QueuedMessage expected = kUntouched;
    expected.id = 0;
    EXPECT_TRUE(Same(out, expected));
    out = kUntouched;
    EXPECT_EQ(PeekQueuedMessage(q, out, kAnyWindow, 0, 0, true, windows), 0);
    EXPECT_TRUE(Same(out, kUntouched));
  }
}

TEST_F(Retrieval, IdComesFromTheWindowKindAndItsObject) {
  const std::pair<std::uint32_t, std::int32_t> cases[] = {
      {0x10, 7}, {0x20, 8}, {0x30, 9}, {0x40, 0}, {0x50, 0}, {0x60, 0}, {0x70, 0}, {0x99, 0},
  };
  for (const auto& [hwnd, id] : cases) queue.Append(Record(hwnd, 0x0102, hwnd));
  for (const auto& [hwnd, id] : cases) {
    QueuedMessage out = kUntouched;
    EXPECT_EQ(RetrieveQueuedMessage(&queue, out, windows), id) << std::hex << hwnd;
    EXPECT_EQ(out.id, id);
    EXPECT_EQ(out.hwnd, hwnd);
    EXPECT_EQ(out.wParam, hwnd);
  }
  EXPECT_TRUE(queue.Empty());
}

TEST_F(Retrieval, PeekReportsLibraryWindowsButDeliversEveryRecord) {
  queue.Append(Record(0x40, 0x0111));  // foreign
  queue.Append(Record(0x70, 0x0111));  // library window of id 0
  QueuedMessage out = kUntouched;
  EXPECT_EQ(PeekQueuedMessage(&queue, out, kAnyWindow, 0, 0, true, windows), 0);
  EXPECT_EQ(out.hwnd, 0x40u);  // copied and taken all the same
  EXPECT_EQ(out.id, 0);
  EXPECT_EQ(PeekQueuedMessage(&queue, out, 0x70, 0x0111, 0x0111, false, windows), 1);
  EXPECT_EQ(out.hwnd, 0x70u);
  EXPECT_FALSE(queue.Empty());
}

}  // namespace
}  // namespace mantle
