// Filter strings for the file dialogs are written "Text files|*.txt|" and
// handed to the platform with the bars turned into NUL separators.
#pragma once
#include <string>
#include <string_view>

// Returns the platform form: every '|' becomes '\0', and the result ends with
// two NULs (the one in the returned string plus the one c_str() supplies).
std::string ConvertFilter(std::string_view filter);
