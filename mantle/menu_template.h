// Checking a menu template from a resource file before the platform builds a
// menu from it: the platform reads the template without knowing its size, so
// a template cut short or missing its last-item marks would be read past the
// block that holds it.
#pragma once

#include <cstdint>
#include <span>

namespace mantle {

// True when the whole menu, standard (version 0) or extended (version 1),
// ends inside `menu_template`. Other versions, which the platform refuses,
// are false as well.
bool MenuTemplateFits(std::span<const std::uint8_t> menu_template);

}  // namespace mantle
