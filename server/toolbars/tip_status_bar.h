// TTipStatusBar: the status bar that shares each command hint with the
// tooltip. "Run program\nRun" shows "Run program" here and, when the hint
// came from a tip tool bar, "Run" in the tooltip; hints of menu selections
// never touch the tooltip.
#pragma once
#include "framework/status_bar.h"
#include "server/toolbars/tool_tip.h"

class TTipStatusBar : public TStatusBar {
 public:
  // The tooltip is not owned and must outlive the bar's window.
  explicit TTipStatusBar(TToolTip& tip, TWindow* parent = nullptr,
                         TGadget::TBorderStyle borderStyle = TGadget::Recessed, UINT modeIndicators = 0,
                         std::unique_ptr<TFont> font = nullptr)
      : TStatusBar(parent, borderStyle, modeIndicators, std::move(font)), ToolTip(tip) {}

  // Null: hint off and tooltip hidden. Otherwise the text before the first
  // newline is the status text, the rest the tip text.
  void SetHintText(const char* text) override;

 private:
  TToolTip& ToolTip;
};
