// Expressions over numbers, symbols and '$' (the address of the current
// statement), with C's operators and precedence: unary - ~ +, then * / %,
// + -, << >>, &, ^, |. Arithmetic is 64-bit; the user of a value checks its range.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "t800/asm/lexer.h"

namespace t800asm {

class Expression {
 public:
  struct Item {
    enum class Kind { kNumber, kSymbol, kHere, kNegate, kComplement, kBinary } kind;
    std::int64_t number = 0;
    std::string text;  // kSymbol: the name; kBinary: the operator
  };

  // Parses from tokens[pos], leaving pos after the expression. `qualify` turns
  // a name as written into the symbol-table name (local labels).
  static std::optional<Expression> Parse(const std::vector<Token>& tokens, std::size_t& pos,
                                         std::string& error,
                                         const std::function<std::string(const std::string&)>& qualify);

  // Value, or an error message. `lookup` gives a symbol's value or nothing when
  // it is not (yet) defined.
  using Lookup = std::function<std::optional<std::int64_t>(const std::string&)>;
  struct Value {
    std::int64_t value = 0;
    std::string error;
  };
  Value Evaluate(std::int64_t here, const Lookup& lookup) const;

 private:
  std::vector<Item> rpn_;
};

}  // namespace t800asm
