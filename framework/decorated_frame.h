// TDecoratedFrame: a frame with decorations (tool bars, status bar) and,
// usually, menu-selection tracking that shows command hints in the status bar.
#pragma once
#include "framework/frame_window.h"

class TDecoratedFrame : public TFrameWindow {
 public:
  TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd, bool trackMenuSelection = false)
      : TFrameWindow(parent, title, clientWnd, trackMenuSelection) {}
  const char* GetClassName() override { return "TDecoratedFrame"; }
};
