// Keys and lines from a terminal or a pipe.
#include "t800/emu/terminal_console.h"

#include <gtest/gtest.h>

#include "t800/emu/terminal_host.h"

namespace t800emu {
namespace {

class FakeTerminal final : public Terminal {
 public:
  FakeTerminal(std::string input, bool terminal) : input_(std::move(input)), terminal_(terminal) {}
  bool IsTerminal() override { return terminal_; }
  void SetRaw(bool raw) override { modes += raw ? 'R' : 'C'; }
  Got ReadByte(std::uint8_t& byte, int timeout_ms) override {
    if (input_.empty()) return timeout_ms == 0 && !ended ? Got::kNothing : Got::kEnd;
    byte = static_cast<std::uint8_t>(input_.front());
    input_.erase(0, 1);
    return Got::kByte;
  }
  void Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) override {
    (stream == iserver::ConsoleStream::kOutput ? out : err).append(bytes.begin(), bytes.end());
  }
  std::string modes, out, err;
  bool ended = true;

 private:
  std::string input_;
  bool terminal_;
};

std::string Line(TerminalConsole& console, std::size_t count = 64) {
  std::uint8_t buffer[64];
  return std::string(buffer, buffer + console.ReadLine(buffer, count));
}

TEST(TerminalConsole, FromAPipeEachByteIsAKeyAndANewlineIsTheEnterKey) {
  FakeTerminal pipe("ab\nc\r", false);
  TerminalConsole console(pipe);
  std::string keys;
  while (const auto key = console.GetKey()) keys.push_back(static_cast<char>(*key));
  EXPECT_EQ(keys, "ab\rc\r");
  EXPECT_TRUE(console.InputEnded());
  EXPECT_EQ(pipe.modes, "");  // a pipe has no modes to change
}

TEST(TerminalConsole, ReadGetsTheBytesUnchangedALineAtATimeAndInPieces) {
  FakeTerminal pipe("first\r\nsecond\nend", false);
  TerminalConsole console(pipe);
  EXPECT_EQ(Line(console, 3), "fir");
  EXPECT_EQ(Line(console), "st\r\n");
  EXPECT_EQ(Line(console), "second\n");
  EXPECT_FALSE(console.InputEnded());
  EXPECT_EQ(Line(console), "end");  // the last line without its newline
  EXPECT_TRUE(console.InputEnded());
  EXPECT_EQ(Line(console), "");
}

TEST(TerminalConsole, KeysAfterAPartlyReadLineComeFromItsRest) {
  FakeTerminal pipe("xy\nz", false);
  TerminalConsole console(pipe);
  EXPECT_EQ(Line(console, 1), "x");
  EXPECT_EQ(console.GetKey(), std::optional<std::uint8_t>('y'));
  EXPECT_EQ(console.GetKey(), std::optional<std::uint8_t>('\r'));
  EXPECT_EQ(console.GetKey(), std::optional<std::uint8_t>('z'));
}

TEST(TerminalConsole, ATerminalIsRawForKeysAndCookedForLines) {
  FakeTerminal tty("k\rline\n", true);
  tty.ended = false;
  TerminalConsole console(tty);
  EXPECT_EQ(console.GetKey(), std::optional<std::uint8_t>('k'));
  EXPECT_EQ(console.PollKey(), std::optional<std::uint8_t>('\r'));  // the terminal's own CR stays
  EXPECT_EQ(Line(console), "line\n");
  EXPECT_EQ(console.PollKey(), std::nullopt);  // nothing waits
  EXPECT_FALSE(console.InputEnded());
  EXPECT_EQ(tty.modes, "RCR");
}

TEST(BoardHost, AnswersTheBoardSizeWhenTheVariableIsUnsetAndQuotesParameters) {
  BoardHost host(2u << 20);
  if (!std::getenv("IBOARDSIZE")) EXPECT_EQ(host.Environment("IBOARDSIZE"), std::optional<std::string>("#200000"));
  EXPECT_EQ(BoardHost(1u << 30).Environment("IBOARDSIZE").value_or("#40000000"), std::getenv("IBOARDSIZE") ? std::getenv("IBOARDSIZE") : "#40000000");
  EXPECT_EQ(host.Environment("T800EMU_SURELY_UNSET_VARIABLE"), std::nullopt);
  EXPECT_EQ(JoinParameters({"a", "b c", "", "-se"}), "a \"b c\" \"\" -se");
}

}  // namespace
}  // namespace t800emu
