#include "iserver/core/options.h"

#include <cctype>

namespace iserver {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsOption(std::string_view word, char letter) {
  return word.size() == 3 && word[0] == '-' && std::tolower(static_cast<unsigned char>(word[1])) == 's' &&
         std::tolower(static_cast<unsigned char>(word[2])) == letter;
}

}  // namespace

SessionOptions ParseParameters(std::string_view boot_file, std::string_view parameters) {
  SessionOptions options;
  options.boot_file = boot_file;
  options.full_line = std::string(boot_file);
  if (!parameters.empty()) options.full_line.append(1, ' ').append(parameters);

  std::string& line = options.program_line;
  std::size_t at = 0;
  std::size_t kept_until = 0;  // parameters[kept_until, at) still to copy
  while (at < parameters.size()) {
    if (IsBlank(parameters[at])) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    bool quoted = false;
    while (at < parameters.size() && (quoted || !IsBlank(parameters[at]))) {
      if (parameters[at] == '"') quoted = !quoted;
      ++at;
    }
    const std::string_view word = parameters.substr(start, at - start);
    const bool error_flag = IsOption(word, 'e');
    const bool verbose = IsOption(word, 'i');
    if (!error_flag && !verbose) continue;
    options.check_error_flag |= error_flag;
    options.verbose |= verbose;
    // Drop the word and the blanks after it (or before it, at the end).
    std::size_t cut_from = start;
    std::size_t cut_to = at;
    while (cut_to < parameters.size() && IsBlank(parameters[cut_to])) ++cut_to;
    if (cut_to == parameters.size()) {
      while (cut_from > kept_until && IsBlank(parameters[cut_from - 1])) --cut_from;
    }
    line.append(parameters.substr(kept_until, cut_from - kept_until));
    kept_until = at = cut_to;
  }
  line.append(parameters.substr(kept_until));
  return options;
}

}  // namespace iserver
