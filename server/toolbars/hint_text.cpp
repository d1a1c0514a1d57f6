#include "server/toolbars/hint_text.h"

namespace tessel::toolbars {

SplitHint SplitHintText(std::string_view hint) {
  hint = hint.substr(0, kHintCapacity);
  const auto newline = hint.find('\n');
  if (newline == std::string_view::npos) return {std::string(hint), {}};
  return {std::string(hint.substr(0, newline)), std::string(hint.substr(newline + 1))};
}

std::optional<std::string> HintRouter::SetHintText(const char* hint) {
  // The gadget window's "left the gadget" and a closed menu both arrive as
  // null: whatever raised the tip is gone.
  if (hint == nullptr) {
    tip_.HideTip();
    return std::nullopt;
  }
  SplitHint split = SplitHintText(hint);
  if (toolBarHint_) tip_.SetTipText(split.tip);
  return std::move(split.status);
}

}  // namespace tessel::toolbars
