// Server options among the parameters, and the program's command lines.
#include <gtest/gtest.h>

#include "iserver/core/options.h"

namespace iserver {
namespace {

TEST(Options, ServerOptionsAreRecognisedAndStrippedFromTheProgramsLine) {
  const struct {
    const char* parameters;
    bool error_flag, verbose;
    const char* program_line;
  } cases[] = {
      {"", false, false, ""},
      {"a b", false, false, "a b"},
      {"-se", true, false, ""},
      {"-SE -Si", true, true, ""},
      {"-se a  b", true, false, "a  b"},
      {"a -si b", false, true, "a b"},
      {"a b -se", true, false, "a b"},
      {"  a\t-se\tb  ", true, false, "  a\tb  "},
      {"-sex -s -sb -e", false, false, "-sex -s -sb -e"},
      {"\"-se\" x", false, false, "\"-se\" x"},
      {"\"a -se b\" -se", true, false, "\"a -se b\""},
  };
  for (const auto& c : cases) {
    const SessionOptions options = ParseParameters("boot.btl", c.parameters);
    EXPECT_EQ(options.check_error_flag, c.error_flag) << c.parameters;
    EXPECT_EQ(options.verbose, c.verbose) << c.parameters;
    EXPECT_EQ(options.program_line, c.program_line) << c.parameters;
  }
}

TEST(Options, TheFullLineKeepsTheBootFileAndEveryParameter) {
  EXPECT_EQ(ParseParameters("c:\\hello.btl", "-se x").full_line, "c:\\hello.btl -se x");
  EXPECT_EQ(ParseParameters("hello.btl", "").full_line, "hello.btl");
}

}  // namespace
}  // namespace iserver
