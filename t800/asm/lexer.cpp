#include "t800/asm/lexer.h"

#include <cctype>
#include <limits>

namespace t800asm {
namespace {

bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// One character of a string or character literal at line[i], advancing i.
bool ReadChar(std::string_view line, std::size_t& i, char& out) {
  if (i >= line.size()) return false;
  char c = line[i++];
  if (c != '\\') {
    out = c;
    return true;
  }
  if (i >= line.size()) return false;
  char e = line[i++];
  switch (e) {
    case 'n':
      out = '\n';
      return true;
    case 'r':
      out = '\r';
      return true;
    case 't':
      out = '\t';
      return true;
    case '0':
      out = '\0';
      return true;
    case '\\':
    case '\'':
    case '"':
      out = e;
      return true;
    case 'x': {
      int value = 0, digits = 0;
      while (digits < 2 && i < line.size() && DigitValue(line[i]) < 16)
        value = value * 16 + DigitValue(line[i++]), ++digits;
      if (digits == 0) return false;
      out = static_cast<char>(value);
      return true;
    }
    default:
      return false;
  }
}

std::string ReadNumber(std::string_view line, std::size_t& i, std::int64_t& out) {
  int base = 10;
  if (line[i] == '0' && i + 1 < line.size() && (line[i + 1] == 'x' || line[i + 1] == 'X'))
    base = 16, i += 2;
  else if (line[i] == '0' && i + 1 < line.size() && (line[i + 1] == 'b' || line[i + 1] == 'B'))
    base = 2, i += 2;
  std::size_t start = i;
  std::uint64_t value = 0;
  for (; i < line.size() && IsNameChar(line[i]); ++i) {
    int d = DigitValue(line[i]);
    if (d >= base) return std::string("bad digit '") + std::string(1, line[i]) + "' in a number";
    value = value * base + d;
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / 16)
      return "number too large";
  }
  if (i == start) return "number without digits";
  out = static_cast<std::int64_t>(value);
  return {};
}

}  // namespace

std::string Tokenize(std::string_view line, std::vector<Token>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ';') break;
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      Token t{Token::Kind::kNumber, {}};
      if (auto error = ReadNumber(line, i, t.number); !error.empty()) return error;
      tokens.push_back(std::move(t));
    } else if (IsNameStart(c)) {
      std::size_t start = i;
      while (i < line.size() && IsNameChar(line[i])) ++i;
      tokens.push_back({Token::Kind::kName, std::string(line.substr(start, i - start))});
    } else if (c == '"') {
      Token t{Token::Kind::kString, {}};
      ++i;
      char ch;
      while (i < line.size() && line[i] != '"') {
        if (!ReadChar(line, i, ch)) return "bad escape in a string";
        t.text.push_back(ch);
      }
      if (i >= line.size()) return "string without closing quote";
      ++i;
      tokens.push_back(std::move(t));
    } else if (c == '\'') {
      ++i;
      char ch;
      if (!ReadChar(line, i, ch) || i >= line.size() || line[i] != '\'') return "bad character literal";
      ++i;
      tokens.push_back({Token::Kind::kNumber, {}, static_cast<unsigned char>(ch)});
    } else if ((c == '<' || c == '>') && i + 1 < line.size() && line[i + 1] == c) {
      tokens.push_back({Token::Kind::kPunct, std::string(2, c)});
      i += 2;
    } else if (std::string_view(",:()+-*/%&|^~$").find(c) != std::string_view::npos) {
      tokens.push_back({Token::Kind::kPunct, std::string(1, c)});
      ++i;
    } else {
      return std::string("unexpected character '") + std::string(1, c) + "'";
    }
  }
  tokens.push_back({Token::Kind::kEnd, {}});
  return {};
}

}  // namespace t800asm
