// The instruction set as the assembler knows it: one table row per mnemonic.
// New instructions (the T800 floating-point set, later chips' operations) are
// new rows; nothing else in the assembler needs to change.
#pragma once

#include <cstdint>
#include <string_view>

namespace t800asm {

enum class OpKind {
  kDirect,     // function code with an operand built by prefixes
  kRelative,   // j, cj, call: the operand is a target address, encoded relative to the next instruction
  kPrefix,     // pfix, nfix written by hand: one byte, operand 0..15
  kOperation,  // opr with a fixed operation code
  kFpEntry,    // ldc <sub-function>; fpentry
};

struct Mnemonic {
  std::string_view name;
  OpKind kind;
  std::uint32_t code;  // function code, operation code, or fpentry sub-function
};

// Function codes (high nibble of an instruction byte) the encoder needs.
inline constexpr std::uint32_t kFnPfix = 0x2;
inline constexpr std::uint32_t kFnLdc = 0x4;
inline constexpr std::uint32_t kFnNfix = 0x6;
inline constexpr std::uint32_t kFnOpr = 0xF;
inline constexpr std::uint32_t kOpFpEntry = 0xAB;

// The row for a mnemonic (any letter case), or nullptr.
const Mnemonic* FindMnemonic(std::string_view name);

}  // namespace t800asm
