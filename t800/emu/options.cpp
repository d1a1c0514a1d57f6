#include "t800/emu/options.h"

#include <cctype>
#include <cstdlib>

namespace t800emu {
namespace {

bool ParseSize(const std::string& text, std::uint32_t& size) {
  char* end = nullptr;
  const unsigned long long number = std::strtoull(text.c_str(), &end, 10);
  if (end == text.c_str()) return false;
  std::uint64_t value = number;
  const std::string unit = end;
  if (unit == "K" || unit == "k") value <<= 10;
  else if (unit == "M" || unit == "m") value <<= 20;
  else if (unit == "G" || unit == "g") value <<= 30;
  else if (!unit.empty()) return false;
  if (number > (1ull << 31) || !t800::Memory::ValidSize(value)) return false;
  size = static_cast<std::uint32_t>(value);
  return true;
}

bool ParseEndpoint(const std::string& text, std::string& host, std::uint16_t& port) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  host = text.substr(0, colon);
  const std::string digits = text.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return false;
  for (const char ch : digits) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
  }
  const long value = std::strtol(digits.c_str(), nullptr, 10);
  if (value > 65535) return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& words) {
  Options o;
  for (std::size_t i = 0; i < words.size() && o.error.empty(); ++i) {
    const std::string& word = words[i];
    const bool has_value = i + 1 < words.size();
    if (word == "--help" || word == "-h") {
      o.mode = Options::Mode::kHelp;
      return o;
    } else if (word == "--cpu" && has_value) {
      const std::string& v = words[++i];
      if (v == "t414" || v == "T414") o.cpu = t800::Cpu::kT414;
      else if (v == "t800" || v == "T800") o.cpu = t800::Cpu::kT800;
      else o.error = "unknown processor " + v;
    } else if (word == "--memory" && has_value) {
      if (!ParseSize(words[++i], o.memory_size)) o.error = "memory size must be a power of two from 4K to 1G: " + words[i];
    } else if (word == "--listen" && has_value) {
      o.mode = Options::Mode::kListen;
      if (!ParseEndpoint(words[++i], o.host, o.port)) o.error = "--listen wants HOST:PORT, not " + words[i];
    } else if (word == "--run" && has_value) {
      o.mode = Options::Mode::kRun;
      o.file = words[++i];
      o.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
      break;
    } else {
      o.error = "cannot use " + word;
    }
  }
  if (o.error.empty() && o.mode == Options::Mode::kHelp && !words.empty()) o.error = "say --listen or --run";
  return o;
}

}  // namespace t800emu
