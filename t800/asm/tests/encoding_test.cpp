#include "t800/asm/encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "t800/asm/opcodes.h"

namespace t800asm {
namespace {

// What the processor does with the bytes: prefixes build the operand register,
// the last byte's function takes it.
struct Decoded {
  std::uint32_t fn;
  std::int32_t operand;
};
Decoded Execute(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t oreg = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    oreg |= bytes[i] & 0xF;
    std::uint32_t fn = bytes[i] >> 4;
    if (fn == kFnPfix)
      oreg <<= 4;
    else if (fn == kFnNfix)
      oreg = ~oreg << 4;
    else
      return {fn, i + 1 == bytes.size() ? static_cast<std::int32_t>(oreg) : -999};
  }
  return {99, 0};
}

TEST(Encoding, ShortestFormsOfOperands) {
  struct Case {
    std::int64_t operand;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {0, {0x40}},
      {15, {0x4F}},
      {16, {0x21, 0x40}},
      {0x123, {0x21, 0x22, 0x43}},
      {-1, {0x60, 0x4F}},
      {-16, {0x60, 0x40}},
      {-17, {0x61, 0x4F}},
      {-256, {0x6F, 0x40}},
      {-257, {0x21, 0x60, 0x4F}},
      {0x7FFFFFFF, {0x27, 0x2F, 0x2F, 0x2F, 0x2F, 0x2F, 0x2F, 0x4F}},
      {-0x7FFFFFFF - 1, {0x27, 0x2F, 0x2F, 0x2F, 0x2F, 0x2F, 0x6F, 0x40}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> out;
    auto operand = static_cast<std::int32_t>(c.operand);
    Encode(kFnLdc, operand, EncodedLength(kFnLdc, operand), out);
    EXPECT_EQ(out, c.bytes) << c.operand;
  }
}

TEST(Encoding, EveryLengthDecodesToTheOperand) {
  std::vector<std::int32_t> values = {0,
                                      1,
                                      15,
                                      16,
                                      255,
                                      256,
                                      4095,
                                      4096,
                                      -1,
                                      -15,
                                      -16,
                                      -17,
                                      -255,
                                      -256,
                                      -257,
                                      0x12345678,
                                      -0x12345678,
                                      0x7FFFFFFF,
                                      -0x7FFFFFFF - 1,
                                      0x0FFFFFFF,
                                      -0x10000000};
  for (std::int32_t v : values) {
    int shortest = EncodedLength(kFnLdc, v);
    for (int length = shortest; length <= shortest + 3; ++length) {
      std::vector<std::uint8_t> out;
      Encode(kFnLdc, v, length, out);
      ASSERT_EQ(static_cast<int>(out.size()), length);
      Decoded d = Execute(out);
      EXPECT_EQ(d.fn, kFnLdc);
      EXPECT_EQ(d.operand, v) << "length " << length;
    }
  }
}

TEST(Encoding, OperationsAndTheirTable) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"rev", {0xF0}},
      {"IN", {0xF7}},
      {"mint", {0x24, 0xF2}},
      {"fpentry", {0x2A, 0xFB}},
      {"lddevid", {0x21, 0x27, 0xFC}},
  };
  for (const auto& c : cases) {
    const Mnemonic* m = FindMnemonic(c.name);
    ASSERT_NE(m, nullptr) << c.name;
    std::vector<std::uint8_t> out;
    EncodeOperation(m->code, out);
    EXPECT_EQ(out, c.bytes) << c.name;
    EXPECT_EQ(OperationLength(m->code), static_cast<int>(c.bytes.size()));
  }
  EXPECT_EQ(FindMnemonic("frobnicate"), nullptr);
  EXPECT_EQ(FindMnemonic("j")->kind, OpKind::kRelative);
}

}  // namespace
}  // namespace t800asm
