#include "t800/asm/opcodes.h"

#include <algorithm>
#include <cctype>

namespace t800asm {
namespace {

using enum OpKind;

constexpr Mnemonic kTable[] = {
    // Direct functions.
    {"j", kRelative, 0x0}, {"ldlp", kDirect, 0x1}, {"pfix", kPrefix, 0x2}, {"ldnl", kDirect, 0x3},
    {"ldc", kDirect, 0x4}, {"ldnlp", kDirect, 0x5}, {"nfix", kPrefix, 0x6}, {"ldl", kDirect, 0x7},
    {"adc", kDirect, 0x8}, {"call", kRelative, 0x9}, {"cj", kRelative, 0xA}, {"ajw", kDirect, 0xB},
    {"eqc", kDirect, 0xC}, {"stl", kDirect, 0xD}, {"stnl", kDirect, 0xE}, {"opr", kDirect, 0xF},

    // Operations shared by the T414 and the T800.
    {"rev", kOperation, 0x00}, {"lb", kOperation, 0x01}, {"bsub", kOperation, 0x02},
    {"endp", kOperation, 0x03}, {"diff", kOperation, 0x04}, {"add", kOperation, 0x05},
    {"gcall", kOperation, 0x06}, {"in", kOperation, 0x07}, {"prod", kOperation, 0x08},
    {"gt", kOperation, 0x09}, {"wsub", kOperation, 0x0A}, {"out", kOperation, 0x0B},
    {"sub", kOperation, 0x0C}, {"startp", kOperation, 0x0D}, {"outbyte", kOperation, 0x0E},
    {"outword", kOperation, 0x0F}, {"seterr", kOperation, 0x10}, {"resetch", kOperation, 0x12},
    {"csub0", kOperation, 0x13}, {"stopp", kOperation, 0x15}, {"ladd", kOperation, 0x16},
    {"stlb", kOperation, 0x17}, {"sthf", kOperation, 0x18}, {"norm", kOperation, 0x19},
    {"ldiv", kOperation, 0x1A}, {"ldpi", kOperation, 0x1B}, {"stlf", kOperation, 0x1C},
    {"xdble", kOperation, 0x1D}, {"ldpri", kOperation, 0x1E}, {"rem", kOperation, 0x1F},
    {"ret", kOperation, 0x20}, {"lend", kOperation, 0x21}, {"ldtimer", kOperation, 0x22},
    {"testlde", kOperation, 0x24}, {"testldd", kOperation, 0x25}, {"testste", kOperation, 0x27},
    {"teststd", kOperation, 0x28}, {"testerr", kOperation, 0x29}, {"testpranal", kOperation, 0x2A},
    {"tin", kOperation, 0x2B}, {"div", kOperation, 0x2C}, {"dist", kOperation, 0x2E},
    {"disc", kOperation, 0x2F}, {"diss", kOperation, 0x30}, {"lmul", kOperation, 0x31},
    {"not", kOperation, 0x32}, {"xor", kOperation, 0x33}, {"bcnt", kOperation, 0x34},
    {"lshr", kOperation, 0x35}, {"lshl", kOperation, 0x36}, {"lsum", kOperation, 0x37},
    {"lsub", kOperation, 0x38}, {"runp", kOperation, 0x39}, {"xword", kOperation, 0x3A},
    {"sb", kOperation, 0x3B}, {"gajw", kOperation, 0x3C}, {"savel", kOperation, 0x3D},
    {"saveh", kOperation, 0x3E}, {"wcnt", kOperation, 0x3F}, {"shr", kOperation, 0x40},
    {"shl", kOperation, 0x41}, {"mint", kOperation, 0x42}, {"alt", kOperation, 0x43},
    {"altwt", kOperation, 0x44}, {"altend", kOperation, 0x45}, {"and", kOperation, 0x46},
    {"enbt", kOperation, 0x47}, {"enbc", kOperation, 0x48}, {"enbs", kOperation, 0x49},
    {"move", kOperation, 0x4A}, {"or", kOperation, 0x4B}, {"csngl", kOperation, 0x4C},
    {"ccnt1", kOperation, 0x4D}, {"talt", kOperation, 0x4E}, {"ldiff", kOperation, 0x4F},
    {"sthb", kOperation, 0x50}, {"taltwt", kOperation, 0x51}, {"sum", kOperation, 0x52},
    {"mul", kOperation, 0x53}, {"sttimer", kOperation, 0x54}, {"stoperr", kOperation, 0x55},
    {"cword", kOperation, 0x56}, {"clrhalterr", kOperation, 0x57}, {"sethalterr", kOperation, 0x58},
    {"testhalterr", kOperation, 0x59},
    // T414 floating-point support.
    {"unpacksn", kOperation, 0x63}, {"postnormsn", kOperation, 0x6C}, {"roundsn", kOperation, 0x6D},
    {"ldinf", kOperation, 0x71}, {"fmul", kOperation, 0x72}, {"cflerr", kOperation, 0x73},
    // T800 additions.
    {"dup", kOperation, 0x5A}, {"move2dinit", kOperation, 0x5B}, {"move2dall", kOperation, 0x5C},
    {"move2dnonzero", kOperation, 0x5D}, {"move2dzero", kOperation, 0x5E},
    {"crcword", kOperation, 0x74}, {"crcbyte", kOperation, 0x75}, {"bitcnt", kOperation, 0x76},
    {"bitrevword", kOperation, 0x77}, {"bitrevnbits", kOperation, 0x78}, {"wsubdb", kOperation, 0x81},
    {"lddevid", kOperation, 0x17C},
    // T800 floating-point unit.
    {"fpsttest", kOperation, 0x80}, {"fpldnldbi", kOperation, 0x82}, {"fpchkerr", kOperation, 0x83},
    {"fpstnldb", kOperation, 0x84}, {"fpldtest", kOperation, 0x85}, {"fpldnlsni", kOperation, 0x86},
    {"fpadd", kOperation, 0x87}, {"fpstnlsn", kOperation, 0x88}, {"fpsub", kOperation, 0x89},
    {"fpldnldb", kOperation, 0x8A}, {"fpmul", kOperation, 0x8B}, {"fpdiv", kOperation, 0x8C},
    {"fpldnlsn", kOperation, 0x8E}, {"fpremfirst", kOperation, 0x8F}, {"fpremstep", kOperation, 0x90},
    {"fpnan", kOperation, 0x91}, {"fpordered", kOperation, 0x92}, {"fpnotfinite", kOperation, 0x93},
    {"fpgt", kOperation, 0x94}, {"fpeq", kOperation, 0x95}, {"fpi32tor32", kOperation, 0x96},
    {"fpi32tor64", kOperation, 0x98}, {"fpb32tor64", kOperation, 0x9A}, {"fptesterr", kOperation, 0x9C},
    {"fprtoi32", kOperation, 0x9D}, {"fpstnli32", kOperation, 0x9E}, {"fpldzerosn", kOperation, 0x9F},
    {"fpldzerodb", kOperation, 0xA0}, {"fpint", kOperation, 0xA1}, {"fpdup", kOperation, 0xA3},
    {"fprev", kOperation, 0xA4}, {"fpldnladddb", kOperation, 0xA6}, {"fpldnlmuldb", kOperation, 0xA8},
    {"fpldnladdsn", kOperation, 0xAA}, {"fpentry", kOperation, kOpFpEntry},
    {"fpldnlmulsn", kOperation, 0xAC},
    // fpentry sub-functions, each assembled as "ldc k; fpentry".
    {"fpusqrtfirst", kFpEntry, 0x01}, {"fpusqrtstep", kFpEntry, 0x02}, {"fpusqrtlast", kFpEntry, 0x03},
    {"fpurp", kFpEntry, 0x04}, {"fpurm", kFpEntry, 0x05}, {"fpurz", kFpEntry, 0x06},
    {"fpur32tor64", kFpEntry, 0x07}, {"fpur64tor32", kFpEntry, 0x08}, {"fpuexpdec32", kFpEntry, 0x09},
    {"fpuexpinc32", kFpEntry, 0x0A}, {"fpuabs", kFpEntry, 0x0B}, {"fpunoround", kFpEntry, 0x0D},
    {"fpuchki32", kFpEntry, 0x0E}, {"fpuchki64", kFpEntry, 0x0F}, {"fpudivby2", kFpEntry, 0x11},
    {"fpumulby2", kFpEntry, 0x12}, {"fpurn", kFpEntry, 0x22}, {"fpuseterr", kFpEntry, 0x23},
    {"fpuclrerr", kFpEntry, 0x9C},
};

bool SameLetters(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const Mnemonic* FindMnemonic(std::string_view name) {
  auto it = std::ranges::find_if(kTable, [&](const Mnemonic& m) { return SameLetters(m.name, name); });
  return it == std::end(kTable) ? nullptr : &*it;
}

}  // namespace t800asm
