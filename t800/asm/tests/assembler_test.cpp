#include "t800/asm/assembler.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace t800asm {
namespace {

using Bytes = std::vector<std::uint8_t>;

Assembly AssembleFiles(const std::map<std::string, std::string>& files, Options options = {}) {
  return Assemble("t.s", options, [&](const std::string& path) -> std::optional<std::string> {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  });
}

std::string Errors(const Assembly& a) {
  std::string text;
  for (const auto& e : a.errors) text += e.ToString() + "\n";
  return text;
}

// The target of the j/cj/call at image offset `at`, as the processor computes it.
std::int64_t JumpTarget(const Bytes& image, std::size_t at, std::int64_t origin) {
  std::uint32_t oreg = 0;
  for (std::size_t i = at;; ++i) {
    oreg |= image.at(i) & 0xF;
    std::uint32_t fn = image[i] >> 4;
    if (fn == 2)
      oreg <<= 4;
    else if (fn == 6)
      oreg = ~oreg << 4;
    else
      return origin + static_cast<std::int64_t>(i + 1) + static_cast<std::int32_t>(oreg);
  }
}

TEST(Assembler, JumpsSettleAcrossPrefixBoundaries) {
  // Forward and backward jumps whose own size decides whether they need
  // another prefix, one after another so that one's growth moves the next.
  for (int gap : {13, 14, 15, 16, 17, 238, 239, 240, 254, 255, 256, 257, 4094, 4095, 4096, 4097}) {
    std::string space = " .space " + std::to_string(gap) + "\n";
    std::string text = " ldc 0\n .secondary\nj1: j fwd\nj2: cj fwd\nj3: call back\n" + space +
                       "fwd: ldc 0\n" + space + "j4: j j1\nback: j back\nend:\n";
    auto a = AssembleFiles({{"t.s", text}}, {.origin = 0});
    ASSERT_TRUE(a.errors.empty()) << Errors(a);
    auto at = [&](const std::string& name) {
      auto pos = a.listing.find("  " + name + " = ");
      EXPECT_NE(pos, std::string::npos) << name;
      return static_cast<std::size_t>(std::stoul(a.listing.substr(pos + name.size() + 5), nullptr, 16));
    };
    struct Jump {
      std::string from, to;
    } jumps[] = {{"j1", "fwd"}, {"j2", "fwd"}, {"j3", "back"}, {"j4", "j1"}, {"back", "back"}};
    for (const auto& j : jumps) {
      EXPECT_EQ(JumpTarget(a.image, at(j.from), 0), static_cast<std::int64_t>(at(j.to)))
          << j.from << " gap " << gap;
      // As short as the distance allows: no leading "pfix 0".
      EXPECT_NE(a.image[at(j.from)], 0x20) << j.from << " gap " << gap;
    }
    EXPECT_EQ(at("end") - at("back"), 2u) << "a jump to itself is nfix 0; j 0xE";
  }
}

TEST(Assembler, DataExpressionsEquatesAndLocalLabels) {
  auto a = AssembleFiles({{"t.s",
                           "a: .word 1+2*3, (1+2)*3, -1, ~0 & 0xFF, 1<<4 | 0x10>>2, 7%4, b-a\n"
                           ".loop: .int16 .loop - a, 'A', 0xFFFF\n"
                           "b: .byte \"hi\\n\", 0x80, -1\n"
                           ".loop: .equ LATER, FORWARD + 1\n"
                           " .align 4\n"
                           " .word .loop - b, LATER, $\n"
                           " .equ FORWARD, 41\n"
                           " .space 3, 0xEE\n"
                           " fpurz\n"}},
                         {.origin = 0x100});
  ASSERT_TRUE(a.errors.empty()) << Errors(a);
  Bytes want = {7,    0,    0,    0,    9,    0,    0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,
                0,    0,    0x14, 0,    0,    0,    3, 0, 0,    0,    34,   0,    0,    0,  // b - a
                28,   0,    'A',  0,    0xFF, 0xFF,                                         // a.loop
                'h',  'i',  '\n', 0x80, 0xFF,                                               // b
                0,  // align to 0x100 + 40
                5,    0,    0,    0,    42,   0,    0, 0, 0x28, 0x01, 0,    0,    0xEE, 0xEE,
                0xEE, 0x46, 0x2A, 0xFB};
  EXPECT_EQ(a.image, want);
}

TEST(Assembler, ErrorsNameFileAndLine) {
  struct Case {
    std::map<std::string, std::string> files;
    std::string error;
  } cases[] = {
      {{{"t.s", " ldc 1\n frob 3\n"}}, "t.s:2: error: unknown mnemonic 'frob'"},
      {{{"t.s", "\n\n j nowhere\n"}}, "t.s:3: error: undefined symbol 'nowhere'"},
      {{{"t.s", " .byte 1, 256\n"}}, "t.s:1: error: value out of range for 8 bits: 256"},
      {{{"t.s", " .int16 -32769\n"}}, "t.s:1: error: value out of range for 16 bits: -32769"},
      {{{"t.s", "\n ldc 0x100000000\n"}}, "t.s:2: error: operand out of range: 4294967296"},
      {{{"t.s", " pfix 16\n"}}, "t.s:1: error: operand out of range for pfix (0..15): 16"},
      {{{"t.s", " .word 1/0\n"}}, "t.s:1: error: division by zero"},
      {{{"t.s", " ldc\n"}}, "t.s:1: error: ldc takes one operand"},
      {{{"t.s", " rev 1\n"}}, "t.s:1: error: rev takes no operand"},
      {{{"t.s", " .frob 1\n"}}, "t.s:1: error: unknown directive '.frob'"},
      {{{"t.s", "x: ldc 1\nx: ldc 2\n"}}, "t.s:2: error: 'x' is already defined at t.s:1"},
      {{{"t.s", " ldc (1\n"}}, "t.s:1: error: missing ')'"},
      {{{"t.s", " .byte \"abc\n"}}, "t.s:1: error: string without closing quote"},
      {{{"t.s", " .include \"lib.s\"\n"}, {"lib.s", "\n mint\n ldl\n"}},
       "lib.s:3: error: ldl takes one operand"},
      {{{"t.s", " .include \"gone.s\"\n"}}, "t.s:1: error: cannot find include file 'gone.s'"},
      {{{"t.s", " .include \"t.s\"\n"}}, "includes nested too deeply"},
      {{{"t.s", " .space 256\n"}}, "t.s: error: the primary bootstrap takes 256 bytes; at most 255 fit"},
      {{{"t.s", " .space 252\n ldc 0x1234\n .secondary\n ldc 1\n"}},
       "t.s:3: error: the primary bootstrap takes 256 bytes"},
      {{{"t.s", " ldc 1\n .secondary\n"}}, "t.s:2: error: nothing follows .secondary"},
      {{{"t.s", " .equ A, B\n .equ B, A + 1\n"}}, "t.s: error: the layout does not settle"},
      // Many large fills stop at the program limit instead of filling memory.
      {{{"t.s", std::string(" .space 0x1000000\n ldc 0\n .space 0x1000000\n")}},
       "error: the program is larger than 16777216 bytes"},
  };
  for (const auto& c : cases) {
    auto a = AssembleFiles(c.files);
    EXPECT_NE(Errors(a).find(c.error), std::string::npos) << "want: " << c.error << "\ngot: " << Errors(a);
    EXPECT_TRUE(a.boot_file.empty());
  }
}

TEST(Assembler, AnIncludeLoopOfBadLinesGivesBoundedErrors) {
  auto a = AssembleFiles({{"t.s", " frob\n .include \"t.s\"\n .include \"t.s\"\n"}});
  ASSERT_EQ(a.errors.size(), 101u);
  EXPECT_EQ(a.errors.back().message, "too many errors; reading stops here");
}

TEST(Assembler, BootFileLayout) {
  // Without .secondary: the length byte, then the image (at least two bytes).
  auto small = AssembleFiles({{"t.s", " ldc 1\n"}});
  ASSERT_TRUE(small.errors.empty()) << Errors(small);
  EXPECT_EQ(small.boot_file, (Bytes{2, 0x41, 0x00}));

  // With it: the primary padded to a word, then INT32 length and the rest,
  // whose labels are laid out right after the primary.
  auto split = AssembleFiles({{"t.s", " ldc rest\n .secondary\nrest: .byte 1, 2, 3\n .word __end\n"}},
                             {.origin = 0x10});
  ASSERT_TRUE(split.errors.empty()) << Errors(split);
  EXPECT_EQ(split.primary_size, 4u);
  EXPECT_EQ(split.boot_file, (Bytes{4, 0x21, 0x44, 0, 0, 7, 0, 0, 0, 1, 2, 3, 0x1B, 0, 0, 0}));
}

}  // namespace
}  // namespace t800asm
