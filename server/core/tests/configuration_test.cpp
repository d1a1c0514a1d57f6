#include "server/core/configuration.h"

#include <gtest/gtest.h>

#include <string>

namespace server {
namespace {

TEST(ConfigurationTest, DefaultsFillEntryZeroAndTheCurrentSelection) {
  Configuration config;
  FillDefaults(config, nullptr);
  for (const ProtocolEntry* p : {&config.protocols[0], &config.protocol}) {
    EXPECT_STREQ(p->description.c_str(), "Inmos (iserver)");
    EXPECT_STREQ(p->library.c_str(), "iserver.dll");
    EXPECT_STREQ(p->extension.c_str(), "btl");
  }
  for (const BoardEntry* b : {&config.boards[0], &config.board}) {
    EXPECT_STREQ(b->description.c_str(), "Inmos B004");
    EXPECT_STREQ(b->library.c_str(), "link.dll");
    EXPECT_STREQ(b->link_name.c_str(), "0x150");
    EXPECT_STREQ(b->link_timeout.c_str(), "10000");
  }
  EXPECT_TRUE(config.protocols[1].library.empty());
  EXPECT_TRUE(config.boards[15].library.empty());
}

TEST(ConfigurationTest, LinkVariableBecomesTheLinkName) {
  const std::string longest(79, 'x');
  const std::string too_long = std::string(79, 'y') + "OVERFLOW";
  struct Case {
    const char* env;
    std::string expected;
  } cases[] = {{nullptr, "0x150"},         {"", "0x150"},
               {"0x200", "0x200"},         {" B004 at #340 ", " B004 at #340 "},
               {longest.c_str(), longest}, {too_long.c_str(), std::string(79, 'y')}};
  for (const Case& c : cases) {
    Configuration config;
    FillDefaults(config, c.env);
    EXPECT_EQ(config.board.link_name.view(), c.expected) << (c.env ? c.env : "(unset)");
    EXPECT_EQ(config.boards[0].link_name.view(), c.expected);
  }
}

TEST(ConfigurationTest, LinkTimeoutReadsLikeScanfUnsignedLong) {
  struct Case {
    const char* text;
    std::uint32_t expected;
  } cases[] = {
      {"10000", 10000},
      {"", 100000},
      {"abc", 100000},
      {"12abc", 12},
      {"  42", 42},
      {"\t\n7 8", 7},
      {"+5", 5},
      {"-1", 4294967295u},
      {"0", 0},
      {"4294967295", 4294967295u},
      {"99999999999", 4294967295u},
      {"-", 100000},
      {" x1", 100000},
      {nullptr, 100000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinkTimeoutValue(c.text), c.expected) << (c.text ? c.text : "(null)");
  }
}

}  // namespace
}  // namespace server
