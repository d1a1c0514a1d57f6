#include "server/resources/tests/dialog_template.h"

#include <cstring>
#include <stdexcept>

namespace tessel::resources::testing {
namespace {

constexpr uint32_t kSetFont = 0x40;  // DS_SETFONT

class TemplateReader {
 public:
  TemplateReader(const void* data, std::size_t size)
      : base_(static_cast<const uint8_t*>(data)), size_(size) {}

  template <typename T>
  T Read() {
    Need(sizeof(T));
    T value;
    std::memcpy(&value, base_ + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }

  // A NUL-terminated UTF-16 string, kept as 8-bit text (the resources are ASCII).
  std::string String() {
    std::string text;
    for (uint16_t ch; (ch = Read<uint16_t>()) != 0;) text.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
    return text;
  }

  // A name that is empty, an ordinal (0xFFFF then the number) or a string.
  std::string NameOrOrdinal(bool isClass) {
    const uint16_t first = Read<uint16_t>();
    if (first == 0) return {};
    if (first == 0xFFFF) {
      const uint16_t ordinal = Read<uint16_t>();
      if (isClass) {
        static const char* const kClasses[] = {"BUTTON",  "EDIT",      "STATIC",
                                               "LISTBOX", "SCROLLBAR", "COMBOBOX"};
        if (ordinal >= 0x80 && ordinal <= 0x85) return kClasses[ordinal - 0x80];
      }
      std::string text = "#";  // appended, not concatenated: GCC 12 warns falsely on "#" + string
      text += std::to_string(ordinal);
      return text;
    }
    pos_ -= sizeof(uint16_t);
    std::string name = String();
    if (isClass)
      for (char& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return name;
  }

  void AlignToDword() { pos_ = (pos_ + 3) & ~std::size_t{3}; }

 private:
  void Need(std::size_t n) const {
    if (pos_ + n > size_) throw std::runtime_error("dialog template ends early");
  }

  const uint8_t* base_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

DialogTemplate ReadDialogTemplate(const void* data, std::size_t size) {
  TemplateReader in(data, size);
  DialogTemplate dlg;
  dlg.style = in.Read<uint32_t>();
  if ((dlg.style & 0xFFFF0000u) == 0xFFFF0000u && (dlg.style & 0xFFFF) == 1)
    throw std::runtime_error("extended dialog templates are not expected here");
  dlg.exStyle = in.Read<uint32_t>();
  const uint16_t count = in.Read<uint16_t>();
  dlg.x = in.Read<int16_t>();
  dlg.y = in.Read<int16_t>();
  dlg.cx = in.Read<int16_t>();
  dlg.cy = in.Read<int16_t>();
  dlg.menu = in.NameOrOrdinal(false);
  dlg.className = in.NameOrOrdinal(true);
  dlg.caption = in.String();
  if (dlg.style & kSetFont) {
    dlg.pointSize = in.Read<uint16_t>();
    dlg.face = in.String();
  }
  for (uint16_t i = 0; i < count; ++i) {
    in.AlignToDword();
    DialogItem item;
    item.style = in.Read<uint32_t>();
    item.exStyle = in.Read<uint32_t>();
    item.x = in.Read<int16_t>();
    item.y = in.Read<int16_t>();
    item.cx = in.Read<int16_t>();
    item.cy = in.Read<int16_t>();
    item.id = in.Read<uint16_t>();
    item.className = in.NameOrOrdinal(true);
    item.text = in.NameOrOrdinal(false);
    const uint16_t extra = in.Read<uint16_t>();
    for (uint16_t b = 0; b < extra; ++b) in.Read<uint8_t>();
    dlg.items.push_back(std::move(item));
  }
  return dlg;
}

}  // namespace tessel::resources::testing
