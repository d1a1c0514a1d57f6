#include "mantle/dialog_template.h"

#include <algorithm>
#include <string_view>

#include "framework/dialog_template.h"
#include "mantle/resource_image.h"

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

}  // namespace

bool DialogTemplateFits(std::span<const std::uint8_t> dialog_template) {
  return ReadDialogTemplate(dialog_template).has_value();
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
