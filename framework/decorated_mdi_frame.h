// TDecoratedMDIFrame: an MDI frame with decorations (tool bar at the top,
// status bar at the bottom) and optional menu-selection tracking.
#pragma once
#include "framework/mdi_frame.h"

class TDecoratedMDIFrame : public TMDIFrame {
 public:
  TDecoratedMDIFrame(const char* title, TResId menu, TMDIClient& client, bool trackMenuSelection = false)
      : TMDIFrame(title, std::move(menu), client, trackMenuSelection) {}
  const char* GetClassName() override { return "TDecoratedMDIFrame"; }
};
