#include "framework/filter_string.h"

std::string ConvertFilter(std::string_view filter) {
  std::string converted(filter);
  for (char& c : converted)
    if (c == '|') c = '\0';
  // The list ends with an empty string; a filter that did not end in a bar
  // still needs the NUL that ends its last pattern.
  if (converted.empty() || converted.back() != '\0') converted.push_back('\0');
  return converted;
}
