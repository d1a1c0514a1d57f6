#include "t800/asm/encoding.h"

#include "t800/asm/opcodes.h"

namespace t800asm {
namespace {

// The prefix sequence of the processor's operand register rules: pfix shifts
// the register left by four, nfix complements it first.
void Shortest(std::uint32_t fn, std::int64_t operand, std::vector<std::uint8_t>& out) {
  if (operand >= 16) {
    Shortest(kFnPfix, operand >> 4, out);
  } else if (operand < 0) {
    Shortest(kFnNfix, (~operand) >> 4, out);
  }
  out.push_back(static_cast<std::uint8_t>((fn << 4) | (static_cast<std::uint64_t>(operand) & 0xF)));
}

}  // namespace

int EncodedLength(std::uint32_t fn, std::int32_t operand) {
  std::vector<std::uint8_t> bytes;
  Shortest(fn, operand, bytes);
  return static_cast<int>(bytes.size());
}

void Encode(std::uint32_t fn, std::int32_t operand, int length, std::vector<std::uint8_t>& out) {
  std::vector<std::uint8_t> bytes;
  Shortest(fn, operand, bytes);
  for (int i = static_cast<int>(bytes.size()); i < length; ++i) out.push_back(kFnPfix << 4);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void EncodeOperation(std::uint32_t code, std::vector<std::uint8_t>& out) {
  Shortest(kFnOpr, code, out);
}

int OperationLength(std::uint32_t code) {
  return EncodedLength(kFnOpr, static_cast<std::int32_t>(code));
}

}  // namespace t800asm
