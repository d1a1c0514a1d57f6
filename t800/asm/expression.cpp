#include "t800/asm/expression.h"

#include <array>
#include <string_view>

namespace t800asm {
namespace {

// Binary operators from loosest to tightest binding.
constexpr std::array<std::array<std::string_view, 3>, 6> kLevels = {{
    {"|"},
    {"^"},
    {"&"},
    {"<<", ">>"},
    {"+", "-"},
    {"*", "/", "%"},
}};

// Deeper nesting than any real expression: refused rather than recursed into.
constexpr int kMaxDepth = 64;

struct Parser {
  const std::vector<Token>& tokens;
  std::size_t& pos;
  std::string& error;
  const std::function<std::string(const std::string&)>& qualify;
  std::vector<Expression::Item> out;
  int depth = 0;

  bool IsPunct(std::string_view p) const {
    return tokens[pos].kind == Token::Kind::kPunct && tokens[pos].text == p;
  }

  bool Binary(std::size_t level) {
    if (level == kLevels.size()) return Unary();
    if (!Binary(level + 1)) return false;
    for (;;) {
      const Token& t = tokens[pos];
      bool match = false;
      for (auto op : kLevels[level])
        match = match || (!op.empty() && t.kind == Token::Kind::kPunct && t.text == op);
      if (!match) return true;
      std::string op = t.text;
      ++pos;
      if (!Binary(level + 1)) return false;
      out.push_back({Expression::Item::Kind::kBinary, 0, op});
    }
  }

  bool Unary() {
    if (++depth > kMaxDepth) {
      error = "expression nested too deeply";
      return false;
    }
    bool ok = UnaryOperand();
    --depth;
    return ok;
  }

  bool UnaryOperand() {
    if (IsPunct("-") || IsPunct("~") || IsPunct("+")) {
      char op = tokens[pos++].text[0];
      if (!Unary()) return false;
      if (op == '-') out.push_back({Expression::Item::Kind::kNegate, 0, {}});
      if (op == '~') out.push_back({Expression::Item::Kind::kComplement, 0, {}});
      return true;
    }
    return Primary();
  }

  bool Primary() {
    const Token& t = tokens[pos];
    switch (t.kind) {
      case Token::Kind::kNumber:
        out.push_back({Expression::Item::Kind::kNumber, t.number, {}});
        ++pos;
        return true;
      case Token::Kind::kName:
        out.push_back({Expression::Item::Kind::kSymbol, 0, qualify(t.text)});
        ++pos;
        return true;
      case Token::Kind::kPunct:
        if (t.text == "$") {
          out.push_back({Expression::Item::Kind::kHere, 0, {}});
          ++pos;
          return true;
        }
        if (t.text == "(") {
          ++pos;
          if (!Binary(0)) return false;
          if (!IsPunct(")")) {
            error = "missing ')'";
            return false;
          }
          ++pos;
          return true;
        }
        break;
      default:
        break;
    }
    error =
        t.kind == Token::Kind::kEnd ? "expression expected" : "unexpected '" + t.text + "' in an expression";
    return false;
  }
};

}  // namespace

std::optional<Expression> Expression::Parse(const std::vector<Token>& tokens, std::size_t& pos,
                                            std::string& error,
                                            const std::function<std::string(const std::string&)>& qualify) {
  Parser parser{tokens, pos, error, qualify, {}};
  if (!parser.Binary(0)) return std::nullopt;
  Expression e;
  e.rpn_ = std::move(parser.out);
  return e;
}

Expression::Value Expression::Evaluate(std::int64_t here, const Lookup& lookup) const {
  std::vector<std::int64_t> stack;
  for (const Item& item : rpn_) {
    switch (item.kind) {
      case Item::Kind::kNumber:
        stack.push_back(item.number);
        break;
      case Item::Kind::kHere:
        stack.push_back(here);
        break;
      case Item::Kind::kSymbol: {
        auto value = lookup(item.text);
        if (!value) return {0, "undefined symbol '" + item.text + "'"};
        stack.push_back(*value);
        break;
      }
      // Unsigned arithmetic: wraps instead of overflowing; values that large
      // fail the range checks anyway.
      case Item::Kind::kNegate:
        stack.back() = static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(stack.back()));
        break;
      case Item::Kind::kComplement:
        stack.back() = ~stack.back();
        break;
      case Item::Kind::kBinary: {
        std::int64_t b = stack.back();
        stack.pop_back();
        std::int64_t a = stack.back();
        auto ua = static_cast<std::uint64_t>(a), ub = static_cast<std::uint64_t>(b);
        std::int64_t r = 0;
        const std::string& op = item.text;
        if (op == "+")
          r = static_cast<std::int64_t>(ua + ub);
        else if (op == "-")
          r = static_cast<std::int64_t>(ua - ub);
        else if (op == "*")
          r = static_cast<std::int64_t>(ua * ub);
        else if (op == "&")
          r = a & b;
        else if (op == "|")
          r = a | b;
        else if (op == "^")
          r = a ^ b;
        else if (op == "/" || op == "%") {
          if (b == 0) return {0, "division by zero"};
          if (b == -1)
            r = op == "/" ? static_cast<std::int64_t>(0 - ua) : 0;
          else
            r = op == "/" ? a / b : a % b;
        } else {  // << >>
          if (b < 0 || b > 63) return {0, std::string("shift count out of range: ") + std::to_string(b)};
          r = op == "<<" ? static_cast<std::int64_t>(ua << b) : a >> b;
        }
        stack.back() = r;
        break;
      }
    }
  }
  return {stack.back(), {}};
}

}  // namespace t800asm
