// The shipped programs, each booted and served by the terminal host
// (t800emu --run), checked by what they write and how the host exits.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "t800/programs/tests/child_process.h"
#include "t800/programs/tests/fptable_expected.h"

namespace {

using t800test::ChildResult;
using t800test::RunChild;

constexpr int kTimeoutSeconds = 60;
constexpr int kExitFailure = 1;    // EXIT with the failure status
constexpr int kExitErrorFlag = 3;  // the board's error flag rose

ChildResult Boot(const std::string& program, std::vector<std::string> args = {}, const std::string& keys = {},
                 const std::string& cpu = "t800") {
  std::vector<std::string> argv = {T800EMU, "--cpu", cpu, "--run",
                                   std::string(T800_PROGRAMS_DIR) + "/" + program + ".btl"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, keys, kTimeoutSeconds);
}

// Per process, so that trees tested at the same time keep apart.
std::string TempPath(const std::string& name) {
  return testing::TempDir() + "t800_programs_" + std::to_string(getpid()) + "_" + name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Programs, HelloGreetsAndSucceeds) {
  struct Case {
    std::string program, cpu;
  } cases[] = {{"hello", "t800"}, {"hello_t414", "t414"}};
  for (const auto& c : cases) {
    auto r = Boot(c.program, {}, {}, c.cpu);
    EXPECT_EQ(r.out, "Hello, world!\n") << c.program << r.err;
    EXPECT_EQ(r.exit_code, 0) << c.program;
  }
}

const std::string kEchoBanner = "Echo on the transputer: type keys, q ends.\n";

TEST(Programs, EchoRepeatsKeysUntilQ) {
  struct Case {
    std::string keys, out;
    int exit_code;
  } cases[] = {
      {"ab\ncdq", "ab\ncd\n", 0},  // a new line arrives as carriage return, shown as a new line
      {"q", "\n", 0},
      {"xyqz", "xy\n", 0},           // keys after q are not read
      {"abc", "abc", kExitFailure},  // stdin ends before q: no key to read
  };
  for (const auto& c : cases) {
    auto r = Boot("echo", {}, c.keys);
    EXPECT_EQ(r.out, kEchoBanner + c.out) << c.keys << "\n" << r.err;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.keys;
  }
}

TEST(Programs, ArgsWritesTheArguments) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{}, "\n"},
      {{"one", "two"}, "one two\n"},
      {{"-x", "a/b.c"}, "-x a/b.c\n"},
      {{"two words", "x"}, "\"two words\" x\n"},  // the host quotes what has blanks
  };
  for (const auto& c : cases) {
    auto r = Boot("args", c.args);
    EXPECT_EQ(r.out, c.out) << r.err;
    EXPECT_EQ(r.exit_code, 0);
  }
  // A line longer than one write request goes out in pieces; the host may
  // cut a line that does not fit its reply.
  std::string long_word;
  for (int i = 0; i < 600; ++i) long_word.push_back(static_cast<char>('a' + i % 26));
  auto r = Boot("args", {long_word});
  ASSERT_GT(r.out.size(), 501u) << r.err;
  EXPECT_EQ(r.out, long_word.substr(0, r.out.size() - 1) + "\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Programs, CopyCopiesAFileBlockByBlock) {
  // Every byte value, across several 256-byte blocks and a partial one.
  std::string data;
  for (int i = 0; i < 1000; ++i) data.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
  std::string from = TempPath("copy_from"), to = TempPath("copy_to");
  std::ofstream(from, std::ios::binary) << data;
  std::remove(to.c_str());
  auto r = Boot("copy", {from, to});
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadAll(to), data);

  std::ofstream(from, std::ios::binary | std::ios::trunc);  // an empty file stays empty
  r = Boot("copy", {from, to});
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(ReadAll(to), "");
  std::remove(from.c_str());
  std::remove(to.c_str());
}

std::string ExistingFile() {
  std::string path = TempPath("existing");
  std::ofstream(path) << "x";
  return path;
}

TEST(Programs, CopyFailsClearly) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{}, "usage: copy FROM TO\n"},
      {{TempPath("only_one")}, "usage: copy FROM TO\n"},
      {{TempPath("does_not_exist"), TempPath("never_written")}, "copy: cannot open the input file\n"},
      {{ExistingFile(), TempPath("no_such_folder/out")}, "copy: cannot create the output file\n"},
  };
  for (const auto& c : cases) {
    auto r = Boot("copy", c.args);
    EXPECT_EQ(r.out, c.out) << r.err;
    EXPECT_EQ(r.exit_code, kExitFailure);
  }
  std::remove(ExistingFile().c_str());
}

TEST(Programs, TimerWaitsOnBothTimersAndReturns) {
  auto r = Boot("timer");
  EXPECT_EQ(r.out, "low priority timer: ok\nhigh priority timer: ok\ntimer guard: ok\n") << r.err;
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Programs, ComstimeReportsTimePerCommunication) {
  auto r = Boot("comstime");
  std::smatch m;
  EXPECT_TRUE(std::regex_match(
      r.out, m, std::regex("comstime: 10000 rounds of 4 communications, [0-9]+ ns per communication\n")))
      << r.out << r.err;
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Programs, FptablePrintsItsRealArithmetic) {
  auto r = Boot("fptable");
  EXPECT_EQ(r.out, t800test::kFptableExpected) << r.err;
  EXPECT_EQ(r.exit_code, 0);
}

TEST(Programs, ErrorRaisesTheErrorFlag) {
  auto r = Boot("error");
  EXPECT_EQ(r.out.substr(0, 23), "setting the error flag\n") << r.err;
  EXPECT_EQ(r.exit_code, kExitErrorFlag);
}

}  // namespace
