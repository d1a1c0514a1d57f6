// t800asm: assembles a transputer source file into a boot file.
//   t800asm [-I dir]... [-o out.btl] [-l listing.txt] [--t414] source.s
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "t800/asm/assembler.h"

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int Usage() {
  std::cerr << "usage: t800asm [-I dir]... [-o out.btl] [-l listing.txt] [--t414] source.s\n"
               "  --t414: lay the image out from the T414's MemStart (0x80000048), not the T800's\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  t800asm::Options options;
  std::string source, output, listing;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "-I" || arg == "-o" || arg == "-l") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "-I")
        options.include_dirs.push_back(value);
      else if (arg == "-o")
        output = value;
      else
        listing = value;
    } else if (arg == "--t414") {
      options.origin = t800asm::kT414MemStart;
    } else if (!arg.empty() && arg[0] != '-' && source.empty()) {
      source = arg;
    } else {
      return Usage();
    }
  }
  if (source.empty()) return Usage();
  if (output.empty()) {
    auto dot = source.find_last_of('.');
    output =
        (dot == std::string::npos || source.find('/', dot) != std::string::npos ? source
                                                                                : source.substr(0, dot)) +
        ".btl";
  }

  auto result = t800asm::Assemble(source, options, ReadFile);
  for (const auto& error : result.errors) std::cerr << error.ToString() << "\n";
  if (!listing.empty() && !WriteFile(listing, result.listing)) {
    std::cerr << "t800asm: cannot write " << listing << "\n";
    return 1;
  }
  if (!result.errors.empty()) return 1;
  if (!WriteFile(output, std::string(result.boot_file.begin(), result.boot_file.end()))) {
    std::cerr << "t800asm: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
