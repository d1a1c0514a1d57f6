#include "mantle/window_kind.h"

#include <cstdio>

namespace mantle {

WindowKind WindowKindOf(std::string_view class_name) {
  const std::string_view prefix = class_name.substr(0, 5);
  if (prefix == "OWLZW") return WindowKind::kPlain;
  if (prefix == "OWLZG") return WindowKind::kGraphics;
  if (prefix == "OWLZD") return WindowKind::kDialog;
  return WindowKind::kOther;
}

ClassNameField KindClassName(WindowKind kind, std::uint16_t tick) {
  ClassNameField name{};
  const char* stem = nullptr;
  switch (kind) {
    case WindowKind::kPlain:
      stem = "OWLZWindow:";
      break;
    case WindowKind::kGraphics:
      stem = "OWLZGraph:";
      break;
    case WindowKind::kDialog:
      stem = "OWLZDialog";
      break;
    case WindowKind::kOther:
      return name;
  }
  std::snprintf(name.data(), name.size(), "%s%04X", stem, static_cast<unsigned>(tick));
  return name;
}

}  // namespace mantle
