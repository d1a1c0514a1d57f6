// The three kinds of library window that queue events, told apart by the
// first five characters of their platform class names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mantle {

enum class WindowKind { kPlain, kGraphics, kDialog, kOther };

// "OWLZW" plain, "OWLZG" graphics, "OWLZD" dialog, compared case-sensitively;
// anything else (including names shorter than five characters) is kOther.
WindowKind WindowKindOf(std::string_view class_name);

// A class-name field: up to 19 characters and the terminating zero.
using ClassNameField = std::array<char, 20>;

// The platform class name of a new window of `kind`, carrying the low 16 bits
// of the millisecond tick count as four uppercase hexadecimal digits:
// "OWLZWindow:%04X", "OWLZGraph:%04X", "OWLZDialog%04X". Empty for kOther.
ClassNameField KindClassName(WindowKind kind, std::uint16_t tick);

}  // namespace mantle
