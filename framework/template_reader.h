// TTemplateReader reads a resource template (a dialog or a menu) front to
// back, every step checked against its end: the platform reads templates
// without being told their size, so each is walked here first. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class TTemplateReader {
 public:
  explicit TTemplateReader(std::span<const uint8_t> bytes) : Data(bytes) {}

  bool Skip(size_t n);
  bool Word(uint16_t& value);
  bool DWord(uint32_t& value);
  // A NUL-terminated UTF-16 string; `text`, when given, receives it as 8-bit
  // characters ('?' for those beyond ASCII).
  bool String(std::string* text = nullptr);
  // Nothing (a zero word), 0xFFFF and an ordinal, or a string: `ordinal`
  // receives the ordinal, `name` the string.
  bool NameOrOrdinal(std::string* name = nullptr, std::optional<uint16_t>* ordinal = nullptr);
  // Running off the end here is harmless: the next read reports it.
  void AlignDWord() { At = (At + 3) & ~size_t{3}; }

 private:
  // The rest of a string whose first character `c` is already read.
  bool RestOfString(uint16_t c, std::string* text);

  std::span<const uint8_t> Data;
  size_t At = 0;
};
