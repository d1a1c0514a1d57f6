// Command hints shared by the status bar and the tooltip: "status text\ntip text".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "server/toolbars/tip_timing.h"

namespace tessel::toolbars {

// A hint is loaded into a 128-byte buffer, so it has at most 127 characters.
inline constexpr std::size_t kHintCapacity = 127;

struct SplitHint {
  std::string status;
  std::string tip;
  bool operator==(const SplitHint&) const = default;
};

// Splits at the first newline; later newlines stay in the tip text. Without a
// newline the whole hint is the status text and the tip text is empty. A hint
// longer than kHintCapacity is cut there first.
SplitHint SplitHintText(std::string_view hint);

// TTipStatusBar's SetHintText: hands the tip text to the tooltip, but only
// while a tip tool bar is handling a mouse move, so hints of menu selections
// never raise a tooltip. One router serves all bars of the application.
class HintRouter {
 public:
  explicit HintRouter(TipTiming& tip) : tip_(tip) {}

  // Returns the text for the status bar; empty for a null hint, which the
  // status bar passes on as null.
  std::optional<std::string> SetHintText(const char* hint);

  bool toolBarHint() const { return toolBarHint_; }

  // A tip tool bar's WM_MOUSEMOVE: over a stretch of the bar with no gadget
  // (and no gadget holding the mouse capture) the tip goes; then the gadget
  // window processes the move with the flag raised, so that the hint of a
  // gadget it enters reaches the tooltip.
  template <typename ProcessMove>
  void OnToolBarMouseMove(bool gadgetAtPoint, bool captureHeld, ProcessMove&& processMove);

  // Raises the tool-bar hint flag while a tip tool bar lets the gadget window
  // process a mouse move; lowered again even if that processing throws.
  class ToolBarMouseMove {
   public:
    explicit ToolBarMouseMove(HintRouter& router) : router_(router) { router_.toolBarHint_ = true; }
    ~ToolBarMouseMove() { router_.toolBarHint_ = false; }
    ToolBarMouseMove(const ToolBarMouseMove&) = delete;
    ToolBarMouseMove& operator=(const ToolBarMouseMove&) = delete;

   private:
    HintRouter& router_;
  };

 private:
  TipTiming& tip_;
  bool toolBarHint_ = false;
};

template <typename ProcessMove>
void HintRouter::OnToolBarMouseMove(bool gadgetAtPoint, bool captureHeld, ProcessMove&& processMove) {
  if (!gadgetAtPoint && !captureHeld) tip_.HideTip();
  ToolBarMouseMove move(*this);
  processMove();
}

}  // namespace tessel::toolbars
