#include "boards/include/link_name.h"

#include <gtest/gtest.h>

#include <optional>

namespace link_interface {
namespace {

struct Case {
  const char* name;
  std::optional<std::uint32_t> port_io;
  std::optional<std::uint32_t> driver;
};

TEST(ParsePortBase, ReadsEachNameAsEachLibraryDoes) {
  const Case cases[] = {
      {nullptr, 0x150, 0x150},
      {"", 0x150, 0x150},
      {"0x150", 0x150, 0x150},
      {"336", 0x150, 0x336},
      {"#336", 0x150, 0x336},
      {"150", 150, 0x150},
      {"#150", 150, 0x150},
      // Upper-case X fails "0x%x"; the next format reads the leading 0.
      {"0X150", 0, 0x150},
      {"0x150junk", 0x150, 0x150},
      {"B004", std::nullopt, 0xB004},
      {"xyz", std::nullopt, std::nullopt},
      {"#", std::nullopt, std::nullopt},
      {"  200", 200, 0x200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "(null)");
    EXPECT_EQ(ParsePortBase(c.name, kPortIoFormats), c.port_io);
    EXPECT_EQ(ParsePortBase(c.name, kDriverFormats), c.driver);
  }
}

}  // namespace
}  // namespace link_interface
