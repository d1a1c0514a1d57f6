// Preparing a dialog template from a resource file for creation with the
// library's own dialog class: the template's class field reads "OWLZDialog"
// and four placeholder characters, which receive the class's four digits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace mantle {

// DS_3DLOOK, set in every library dialog's style.
inline constexpr std::uint32_t kDialog3DLook = 0x00000004;

// Offset of "OWLZDialog" in UTF-16 within the template, searched from the end
// of the fixed header on; only a match whose four placeholder characters
// also lie inside the template counts.
std::optional<std::size_t> FindDialogClassField(std::span<const std::uint8_t> dialog_template);

// Sets DS_3DLOOK in the style and writes `digits`, one per UTF-16 character,
// into the low bytes of the placeholders. False, with the template
// untouched, when it has no such class field.
bool PrepareDialogTemplate(std::span<std::uint8_t> dialog_template, const std::array<char, 4>& digits);

// True when the whole template, standard or extended, with every item and
// its creation data, ends inside `dialog_template`: the platform reads it
// without knowing its size.
bool DialogTemplateFits(std::span<const std::uint8_t> dialog_template);

}  // namespace mantle
