// Splits one source line into tokens. A ';' starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace t800asm {

struct Token {
  enum class Kind { kName, kNumber, kString, kPunct, kEnd } kind;
  std::string text;         // kName: the name; kString: the bytes; kPunct: the operator
  std::int64_t number = 0;  // kNumber (also character literals)
};

// Names: letters, digits, '_', '.', starting with a letter, '_' or '.'.
// Numbers: 123, 0x7F, 0b101, 'c' (escapes \n \r \t \0 \\ \' \" \xHH).
// Strings: "text" with the same escapes. Operators: , : ( ) + - * / % & | ^ ~ << >> $
// Returns an empty message on success.
std::string Tokenize(std::string_view line, std::vector<Token>& tokens);

}  // namespace t800asm
