// Instruction bytes: a function code and an operand, with the pfix/nfix
// prefixes that build operands beyond one nibble.
#pragma once

#include <cstdint>
#include <vector>

namespace t800asm {

// Bytes the shortest encoding of function `fn` with `operand` takes.
int EncodedLength(std::uint32_t fn, std::int32_t operand);

// Appends the encoding, padded at the front with "pfix 0" bytes (which leave
// the operand register at zero) to exactly `length` bytes. `length` must be at
// least EncodedLength(fn, operand).
void Encode(std::uint32_t fn, std::int32_t operand, int length, std::vector<std::uint8_t>& out);

// An operation: "opr code" (code 0..15 in one byte, larger ones prefixed).
void EncodeOperation(std::uint32_t code, std::vector<std::uint8_t>& out);
int OperationLength(std::uint32_t code);

}  // namespace t800asm
