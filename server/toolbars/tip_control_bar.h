// TBasicTipControlBar and TTipControlBar: the tool bar with tooltips. In the
// hint mode "enter" it reports the button under the mouse to its frame,
// whose hint comes back through TTipStatusBar; while the bar handles a mouse
// move, the tip text of that hint goes to the tooltip. Leaving the buttons,
// a press on the bar or on a control on it hides the tooltip.
#pragma once
#include "framework/control_bar.h"
#include "server/toolbars/tool_tip.h"

class TBasicTipControlBar : public TControlBar {
 public:
  // The tooltip is not owned and must outlive the bar's window.
  explicit TBasicTipControlBar(TToolTip& tip, TWindow* parent = nullptr,
                               TTileDirection direction = Horizontal, std::unique_ptr<TFont> font = nullptr);

  void EvMouseMove(UINT modKeys, POINT point);
  LRESULT EvSetCursor(const TMessage& message);
  void EvLButtonDown(UINT modKeys, POINT point);
  LRESULT EvParentNotify(const TMessage& message);

  DECLARE_RESPONSE_TABLE(TBasicTipControlBar);

 protected:
  // The mouse-move rule at a point in client coordinates.
  void TrackMouse(UINT modKeys, POINT point);

  TToolTip& ToolTip;
};

// The tool bar of the server's main window. A double click counts as a
// second press, so a quick second click on a button works like the first.
class TTipControlBar : public TBasicTipControlBar {
 public:
  explicit TTipControlBar(TToolTip& tip, TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                          std::unique_ptr<TFont> font = nullptr)
      : TBasicTipControlBar(tip, parent, direction, std::move(font)) {}

  void EvLButtonDblClk(UINT modKeys, POINT point);

  DECLARE_RESPONSE_TABLE(TTipControlBar);
};
