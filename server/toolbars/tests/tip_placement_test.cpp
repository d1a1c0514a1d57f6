#include "server/toolbars/tip_placement.h"

#include <gtest/gtest.h>

namespace tessel::toolbars {
namespace {

TEST(PlaceTip, KeepsTheTipOnTheScreen) {
  const TipSize tip{40, 17};
  const TipSize screen{1280, 1024};
  const struct {
    const char* where;
    TipPoint cursor;
    TipRect expected;
  } cases[] = {
      {"middle", {100, 100}, {98, 122, 138, 139}},
      {"left edge", {1, 100}, {2, 122, 42, 139}},
      {"left edge, no overlap", {2, 100}, {0, 122, 40, 139}},
      {"right edge", {1270, 100}, {1238, 122, 1278, 139}},
      {"right edge, exactly fits", {1242, 100}, {1240, 122, 1280, 139}},
      {"bottom edge", {100, 1000}, {98, 978, 138, 995}},
      {"bottom edge, exactly fits", {100, 985}, {98, 1007, 138, 1024}},
      {"bottom right corner", {1279, 1023}, {1238, 1001, 1278, 1018}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlaceTip(c.cursor, tip, screen), c.expected) << c.where;
}

}  // namespace
}  // namespace tessel::toolbars
