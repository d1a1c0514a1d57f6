// The source as statements: one per line, with includes expanded and local
// labels (names starting with '.') qualified by the label before them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "t800/asm/expression.h"
#include "t800/asm/opcodes.h"

namespace t800asm {

struct Diagnostic {
  std::string file;
  int line = 0;  // 0: not tied to a line
  std::string message;

  std::string ToString() const;
};

struct Operand {
  std::optional<Expression> expression;
  std::string bytes;  // a string operand of .byte
};

struct Statement {
  enum class Kind { kLabelsOnly, kInstruction, kByte, kInt16, kWord, kSpace, kAlign, kEquate, kSecondary };
  Kind kind = Kind::kLabelsOnly;
  std::string file;
  int line = 0;
  std::string text;  // the source line, for the listing
  std::vector<std::string> labels;
  const Mnemonic* mnemonic = nullptr;  // kInstruction
  std::string name;                    // kEquate
  std::vector<Operand> operands;
};

struct Source {
  std::vector<Statement> statements;
  std::vector<Diagnostic> errors;
};

// Reads a file's text, or nothing when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;

// Reads `path` and what it includes. An include names a file relative to the
// including file's folder, else relative to one of `include_dirs`.
Source ReadSource(const std::string& path, const std::vector<std::string>& include_dirs,
                  const FileReader& read);

}  // namespace t800asm
