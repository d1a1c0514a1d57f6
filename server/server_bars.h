// The bars the main window uses: the tooltip tool bar and status bar.
#pragma once

#include "framework/control_bar.h"
#include "framework/status_bar.h"

// Until the tooltip bars are in, the plain bars with the status half of each hint.
class TServerControlBar : public TControlBar {
 public:
  using TControlBar::TControlBar;
};

class TServerStatusBar : public TStatusBar {
 public:
  using TStatusBar::TStatusBar;
  // Hints are "status text\ntooltip"; the status bar shows the first part.
  void SetHintText(const char* text) override;
};
