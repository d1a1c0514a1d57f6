// Assembles transputer source into a boot file.
//
// The image is laid out from `origin` (the processor's MemStart). Everything
// before a `.secondary` directive is the primary bootstrap, which the processor
// loads itself: the boot file starts with its length (2..255), then its bytes.
// If `.secondary` appears, the primary is padded to a word boundary and the
// boot file goes on with the rest of the image as an INT32 (little-endian)
// length and the bytes, for the primary bootstrap to read and place right
// after itself. `__end` is the address just past the image.
//
// Instruction sizes depend on label distances, which depend on sizes: passes
// repeat until nothing changes. After a few passes an instruction may only
// grow (a longer encoding is padded with "pfix 0"), so the sizes settle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "t800/asm/source.h"

namespace t800asm {

inline constexpr std::int64_t kT800MemStart = 0x80000070;
inline constexpr std::int64_t kT414MemStart = 0x80000048;

struct Options {
  std::int64_t origin = kT800MemStart;
  std::vector<std::string> include_dirs;
};

struct Assembly {
  std::vector<Diagnostic> errors;  // empty on success
  std::vector<std::uint8_t> boot_file;
  std::vector<std::uint8_t> image;  // the bytes as laid out from the origin
  std::size_t primary_size = 0;
  std::string listing;  // address, bytes and source of each statement, then the symbols
};

Assembly Assemble(const std::string& path, const Options& options, const FileReader& read);

}  // namespace t800asm
