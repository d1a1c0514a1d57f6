// TGadgetWindow: a window that lays out gadgets in a row (left to right;
// the direction is kept for callers but the layout is always horizontal),
// paints them and passes them the mouse: the gadget under a point, mouse
// capture by a gadget, command enabling of its gadgets at idle.
//
// In the hint mode "enter" it reports the gadget under the mouse to its
// parent whenever that gadget changes: entering sends WM_MENUSELECT with
// wParam = the gadget's id and lParam = 0, leaving sends WM_MENUSELECT with
// 0xFFFF0000 and 0; each is followed by WM_ENTERIDLE with MSGF_MENU. All are
// sent, so they are handled before the mouse-move processing returns.
#pragma once
#include <memory>
#include <vector>

#include "framework/font.h"
#include "framework/gadget.h"
#include "framework/window.h"

class TGadgetWindow : public TWindow {
 public:
  enum TTileDirection { Horizontal, Vertical };
  enum THintMode { PressHints, NoHints, EnterHints };
  enum TPlacement { Before, After };

  // Takes ownership of the font (a default gadget-window font if null).
  TGadgetWindow(TWindow* parent = nullptr, TTileDirection direction = Horizontal, TFont* font = nullptr);
  ~TGadgetWindow() override;

  // The window owns inserted gadgets. Without a sibling, Before inserts at the
  // front and After at the end.
  void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr);
  TGadget* Remove(TGadget& gadget);
  TGadget* FirstGadget() const { return Gadgets.empty() ? nullptr : Gadgets.front(); }
  TGadget* NextGadget(TGadget& gadget) const;
  const std::vector<TGadget*>& GetGadgets() const { return Gadgets; }
  TGadget* GadgetFromPoint(POINT point) const;
  TGadget* GadgetWithId(int id) const;
  // Runs every gadget's command enabler now, as the idle pass does.
  void CommandEnableGadgets();

  void SetHintMode(THintMode mode) { HintMode = mode; }
  THintMode GetHintMode() const { return HintMode; }
  // Reports a gadget (id) or the leaving of one (0) to the parent.
  void SetHintCommand(int id);

  bool GadgetSetCapture(TGadget& gadget);
  void GadgetReleaseCapture(TGadget& gadget);
  TGadget* GetCapture() const { return Capture; }

  // Positions the gadgets and repaints; call after changing a gadget's size.
  virtual void LayoutSession();
  virtual SIZE GetDesiredSize();
  TFont& GetFont() const { return *Font; }
  TTileDirection GetDirection() const { return Direction; }

  const char* GetClassName() override { return "TGadgetWindow"; }
  void GetWindowClass(WNDCLASSA& wc) override;
  void SetupWindow() override;
  void Paint(HDC dc, bool erase, RECT& rect) override;
  void IdleAction(long idleCount) override;

  LRESULT EvMouseMove(WPARAM, LPARAM);
  LRESULT EvMouseLeave(WPARAM, LPARAM);
  LRESULT EvLButtonDown(WPARAM, LPARAM);
  LRESULT EvLButtonUp(WPARAM, LPARAM);
  LRESULT EvLButtonDblClk(WPARAM, LPARAM);
  LRESULT EvSize(WPARAM, LPARAM);

  DECLARE_RESPONSE_TABLE(TGadgetWindow);

 protected:
  // Space around the gadgets.
  int Margin = 2;
  std::vector<TGadget*> Gadgets;

 private:
  void TrackLeave();
  TTileDirection Direction;
  std::unique_ptr<TFont> Font;
  THintMode HintMode = PressHints;
  TGadget* Capture = nullptr;
  TGadget* AtMouse = nullptr;  // the gadget last reported in the "enter" hint mode
  bool TrackingLeave = false;
};
