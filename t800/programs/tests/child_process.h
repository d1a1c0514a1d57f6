// Runs a program with bytes on its stdin and collects what it writes, for
// tests that drive a command-line tool end to end (POSIX).
#pragma once

#include <string>
#include <vector>

namespace t800test {

struct ChildResult {
  int exit_code = -1;  // -1: killed or did not end in time
  std::string out;
  std::string err;
};

// argv[0] is the program's path. The child is killed after `timeout_seconds`.
ChildResult RunChild(const std::vector<std::string>& argv, const std::string& input, int timeout_seconds);

}  // namespace t800test
