// Reads a compiled dialog template (the 32-bit DLGTEMPLATE layout) so tests
// can compare every control of a dialog resource with what the program expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessel::resources::testing {

struct DialogItem {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t id = 0;
  std::string className;  // predefined classes by name: "BUTTON", "EDIT", ...
  std::string text;       // "#n" for an ordinal
};

struct DialogTemplate {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string menu;
  std::string className;
  std::string caption;
  uint16_t pointSize = 0;
  std::string face;
  std::vector<DialogItem> items;
};

// Throws std::runtime_error when the data ends early or is an extended template.
DialogTemplate ReadDialogTemplate(const void* data, std::size_t size);

}  // namespace tessel::resources::testing
