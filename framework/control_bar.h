// TControlBar: a tool bar, a gadget window of buttons and separators placed
// at the top of a decorated frame.
#pragma once
#include "framework/gadget_window.h"

class TControlBar : public TGadgetWindow {
 public:
  explicit TControlBar(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                       std::unique_ptr<TFont> font = nullptr)
      : TGadgetWindow(parent, direction, std::move(font)) {
    Margin = 3;
  }
  const char* GetClassName() override { return "TControlBar"; }
};
