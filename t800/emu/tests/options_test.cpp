// The command line of t800emu.
#include "t800/emu/options.h"

#include <gtest/gtest.h>

namespace t800emu {
namespace {

using Mode = Options::Mode;

TEST(Options, ReadsModesProcessorAndMemory) {
  Options o = ParseOptions({"--listen", "127.0.0.1:7012", "--cpu", "t414", "--memory", "1M"});
  EXPECT_EQ(o.error, "");
  EXPECT_EQ(o.mode, Mode::kListen);
  EXPECT_EQ(o.host, "127.0.0.1");
  EXPECT_EQ(o.port, 7012);
  EXPECT_EQ(o.cpu, t800::Cpu::kT414);
  EXPECT_EQ(o.memory_size, 1u << 20);

  o = ParseOptions({"--memory", "65536", "--run", "prog.btl", "--memory", "-se", "a b"});
  EXPECT_EQ(o.error, "");
  EXPECT_EQ(o.mode, Mode::kRun);
  EXPECT_EQ(o.memory_size, 65536u);
  EXPECT_EQ(o.cpu, t800::Cpu::kT800);
  EXPECT_EQ(o.file, "prog.btl");
  // Everything after the file is the program's, even our own options.
  EXPECT_EQ(o.arguments, (std::vector<std::string>{"--memory", "-se", "a b"}));
  EXPECT_EQ(ParseOptions({}).mode, Mode::kHelp);
  EXPECT_EQ(ParseOptions({"--help"}).error, "");
}

TEST(Options, RefusesWhatItCannotUse) {
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {"--memory", "3M", "--run", "x"},       // not a power of two
           {"--memory", "2K", "--run", "x"},       // below 4K
           {"--memory", "2G", "--run", "x"},       // above 1G
           {"--memory", "12Q", "--run", "x"},
           {"--cpu", "t9000", "--run", "x"},
           {"--listen", "7012"},                   // no host part
           {"--listen", "host:70000"},
           {"--listen", "host:"},
           {"--run"},                              // no file
           {"--frobnicate"},
           {"--cpu", "t800"}}) {                   // no mode
    EXPECT_NE(ParseOptions(words).error, "") << words.front() << " " << (words.size() > 1 ? words[1] : "");
  }
}

}  // namespace
}  // namespace t800emu
