#include "framework/template_reader.h"

bool TTemplateReader::Skip(size_t n) {
  if (At > Data.size() || n > Data.size() - At) return false;
  At += n;
  return true;
}

bool TTemplateReader::Word(uint16_t& value) {
  if (At > Data.size() || Data.size() - At < 2) return false;
  value = static_cast<uint16_t>(Data[At] | Data[At + 1] << 8);
  At += 2;
  return true;
}

bool TTemplateReader::DWord(uint32_t& value) {
  uint16_t low = 0, high = 0;
  if (At > Data.size() || Data.size() - At < 4) return false;
  Word(low);
  Word(high);
  value = low | uint32_t{high} << 16;
  return true;
}

bool TTemplateReader::RestOfString(uint16_t c, std::string* text) {
  while (c != 0) {
    if (text) text->push_back(c < 0x80 ? static_cast<char>(c) : '?');
    if (!Word(c)) return false;
  }
  return true;
}

bool TTemplateReader::String(std::string* text) {
  uint16_t first = 0;
  return Word(first) && RestOfString(first, text);
}

bool TTemplateReader::NameOrOrdinal(std::string* name, std::optional<uint16_t>* ordinal) {
  uint16_t first = 0;
  if (!Word(first)) return false;
  if (first != 0xFFFF) return RestOfString(first, name);
  uint16_t value = 0;
  if (!Word(value)) return false;
  if (ordinal) *ordinal = value;
  return true;
}
