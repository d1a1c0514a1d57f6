// TTemplateWriter appends the fields of a resource template in the
// platform's layout: little-endian words and DWORDs, UTF-16 strings widened
// from 8-bit text, ordinals, DWORD alignment. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TTemplateWriter {
 public:
  TTemplateWriter& Word(uint16_t w);
  TTemplateWriter& DWord(uint32_t d);
  // NUL-terminated; each 8-bit character widened as Latin-1.
  TTemplateWriter& String(std::string_view s);
  // 0xFFFF and the number, where a name may be a string or an ordinal.
  TTemplateWriter& Ordinal(uint16_t id) { return Word(0xFFFF).Word(id); }
  TTemplateWriter& AlignDWord();
  TTemplateWriter& Fill(size_t count, uint8_t byte);
  void SetWord(size_t at, uint16_t w);

  const std::vector<uint8_t>& Bytes() const { return Data; }

 private:
  std::vector<uint8_t> Data;
};
