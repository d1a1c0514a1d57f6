#include "mantle/dialog_template.h"

#include <algorithm>
#include <string_view>

#include "mantle/resource_image.h"
#include "mantle/template_reader.h"

namespace mantle {
namespace {

// The fixed part of a standard dialog template (style, extended style, item
// count, x, y, cx, cy).
constexpr std::size_t kFixedHeaderSize = 18;
constexpr std::string_view kClassStem = "OWLZDialog";
constexpr std::size_t kStemBytes = 2 * kClassStem.size();
constexpr std::size_t kFieldBytes = kStemBytes + 2 * 4;

bool StemAt(std::span<const std::uint8_t> t, std::size_t at) {
  for (std::size_t k = 0; k < kClassStem.size(); ++k) {
    if (t[at + 2 * k] != static_cast<std::uint8_t>(kClassStem[k]) || t[at + 2 * k + 1] != 0) {
      return false;
    }
  }
  return true;
}

constexpr std::uint32_t kSetFont = 0x00000040;  // DS_SETFONT, also part of DS_SHELLFONT

}  // namespace

bool DialogTemplateFits(std::span<const std::uint8_t> dialog_template) {
  TemplateReader t(dialog_template);
  std::uint16_t version = 0;
  std::uint16_t signature = 0;
  if (!t.Word(version) || !t.Word(signature)) return false;
  const bool extended = version == 1 && signature == 0xFFFF;
  std::uint32_t style = 0;
  std::uint16_t items = 0;
  if (extended) {
    if (!t.Skip(8) || !t.Dword(style) || !t.Word(items) || !t.Skip(8)) return false;
  } else {
    style = static_cast<std::uint32_t>(signature) << 16 | version;
    if (!t.Skip(4) || !t.Word(items) || !t.Skip(8)) return false;
  }
  if (!t.StringOrOrdinal() || !t.StringOrOrdinal() || !t.String()) return false;  // menu, class, caption
  // Point size; extended templates add weight, italic and character set.
  if ((style & kSetFont) != 0 && !(t.Skip(extended ? 6 : 2) && t.String())) return false;
  for (std::uint16_t i = 0; i < items; ++i) {
    t.AlignToDword();
    if (!t.Skip(extended ? 24 : 18)) return false;
    if (!t.StringOrOrdinal() || !t.StringOrOrdinal()) return false;  // class, title
    std::uint16_t data = 0;
    if (!t.Word(data) || !t.Skip(data)) return false;
  }
  return true;
}

std::optional<std::size_t> FindDialogClassField(std::span<const std::uint8_t> dialog_template) {
  // Every byte offset is tried, as the template is not parsed.
  for (std::size_t i = kFixedHeaderSize; i + kFieldBytes <= dialog_template.size(); ++i) {
    if (StemAt(dialog_template, i)) return i;
  }
  return std::nullopt;
}

bool PrepareDialogTemplate(std::span<std::uint8_t> dialog_template, const std::array<char, 4>& digits) {
  const std::optional<std::size_t> field = FindDialogClassField(dialog_template);
  if (!field) return false;
  WriteU32(dialog_template, 0, ReadU32(dialog_template, 0) | kDialog3DLook);
  for (std::size_t k = 0; k < digits.size(); ++k) {
    dialog_template[*field + kStemBytes + 2 * k] = static_cast<std::uint8_t>(digits[k]);
  }
  return true;
}

}  // namespace mantle
