// The server options a user may give among a program's parameters, as the
// classic iserver spelled them, and the command lines the program asks for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace iserver {

// What ID (tag 42) reports: version = major * 10 + minor, then host, OS and
// board codes of the host protocol's tables.
struct ServerIdentity {
  std::uint8_t version = 15;  // block and ISATTY/FILEEXISTS requests: a 1.5-era server
  std::uint8_t host = 1;      // PC
  std::uint8_t os = 1;        // DOS: the conventions of a Windows host (CR LF, '\' paths)
  std::uint8_t board = 1;     // B004
};

struct SessionOptions {
  bool check_error_flag = false;  // -se
  bool verbose = false;           // -si: progress lines while booting
  bool reset_before_boot = true;  // a board must be reset to take a boot
  std::string boot_file;          // for messages
  std::string program_line;       // COMMANDLINE all=0: the parameters without server options
  std::string full_line;          // COMMANDLINE all=1: boot file, then the parameters as given
  ServerIdentity identity;
};

// Recognises -se and -si (any case) as whole words among the parameters and
// strips them, each with one adjacent run of blanks, from the program's line;
// everything else, quoted words included, stays exactly as given.
SessionOptions ParseParameters(std::string_view boot_file, std::string_view parameters);

}  // namespace iserver
