#include "framework/template_writer.h"

TTemplateWriter& TTemplateWriter::Word(uint16_t w) {
  Data.push_back(static_cast<uint8_t>(w));
  Data.push_back(static_cast<uint8_t>(w >> 8));
  return *this;
}

TTemplateWriter& TTemplateWriter::DWord(uint32_t d) {
  return Word(static_cast<uint16_t>(d)).Word(static_cast<uint16_t>(d >> 16));
}

TTemplateWriter& TTemplateWriter::String(std::string_view s) {
  for (char c : s) Word(static_cast<uint8_t>(c));
  return Word(0);
}

TTemplateWriter& TTemplateWriter::AlignDWord() {
  while (Data.size() % 4) Data.push_back(0);
  return *this;
}

TTemplateWriter& TTemplateWriter::Fill(size_t count, uint8_t byte) {
  Data.insert(Data.end(), count, byte);
  return *this;
}

void TTemplateWriter::SetWord(size_t at, uint16_t w) {
  Data[at] = static_cast<uint8_t>(w);
  Data[at + 1] = static_cast<uint8_t>(w >> 8);
}
