// TGadgetWindow: a window that lays out gadgets in a row, left to right,
// paints them and passes them the mouse: the gadget under a point, mouse
// capture by a gadget, command enabling of its gadgets at idle. As a frame
// decoration it asks for the height of its tallest gadget.
//
// In the hint mode "enter" it reports the gadget under the mouse to its
// parent whenever that gadget changes: entering sends WM_MENUSELECT with
// wParam = the gadget's id and lParam = 0, leaving sends WM_MENUSELECT with
// 0xFFFF0000 and 0; each is followed by WM_ENTERIDLE with MSGF_MENU. All are
// sent, so they are handled before the mouse-move processing returns.
#pragma once
#include <memory>
#include <vector>

#include "framework/decoration.h"
#include "framework/font.h"
#include "framework/gadget.h"
#include "framework/window.h"

class TGadgetWindow : public TWindow, public TDecoration {
 public:
  enum TTileDirection { Horizontal };
  enum THintMode { PressHints, NoHints, EnterHints };
  enum TPlacement { Before, After };

  // The window owns its font (a default gadget-window font if null).
  explicit TGadgetWindow(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                         std::unique_ptr<TFont> font = nullptr);
  ~TGadgetWindow() override;

  // The window owns inserted gadgets. Without a sibling, Before inserts at the
  // front and After at the end.
  template <class T>
  T& Insert(std::unique_ptr<T> gadget, TPlacement placement = After, TGadget* sibling = nullptr) {
    T& inserted = *gadget;
    InsertGadget(std::move(gadget), placement, sibling);
    return inserted;
  }
  TGadget* FirstGadget() const { return Gadgets.empty() ? nullptr : Gadgets.front().get(); }
  TGadget* NextGadget(TGadget& gadget) const;
  const std::vector<std::unique_ptr<TGadget>>& GetGadgets() const { return Gadgets; }
  TGadget* GadgetFromPoint(POINT point) const;
  TGadget* GadgetWithId(int id) const;
  // Runs every gadget's command enabler now, as the idle pass does.
  void CommandEnableGadgets();

  void SetHintMode(THintMode mode) { HintMode = mode; }
  // Reports a gadget (id) or the leaving of one (0) to the parent.
  void SetHintCommand(int id);

  bool GadgetSetCapture(TGadget& gadget);
  void GadgetReleaseCapture(TGadget& gadget);
  TGadget* GetCapture() const { return Capture; }

  // Positions the gadgets and repaints; call after changing a gadget's size.
  virtual void LayoutSession();
  virtual SIZE GetDesiredSize();
  int GetDecorationHeight() override { return static_cast<int>(GetDesiredSize().cy); }
  TFont& GetFont() const { return *Font; }

  const char* GetClassName() override { return "TGadgetWindow"; }
  void GetWindowClass(WNDCLASSA& wc) override;
  void SetupWindow() override;
  void Paint(HDC dc, bool erase, RECT& rect) override;
  void IdleAction(long idleCount) override;

  void EvMouseMove(UINT modKeys, POINT point);
  void EvMouseLeave();
  void EvLButtonDown(UINT modKeys, POINT point);
  void EvLButtonUp(UINT modKeys, POINT point);
  void EvLButtonDblClk(UINT modKeys, POINT point);
  void EvSize(UINT sizeType, int cx, int cy);

  DECLARE_RESPONSE_TABLE(TGadgetWindow);

 protected:
  // Space around the gadgets.
  int Margin = 2;

 private:
  void InsertGadget(std::unique_ptr<TGadget> gadget, TPlacement placement, TGadget* sibling);
  void TrackLeave();
  std::vector<std::unique_ptr<TGadget>> Gadgets;
  std::unique_ptr<TFont> Font;
  THintMode HintMode = PressHints;
  TGadget* Capture = nullptr;
  TGadget* AtMouse = nullptr;  // the gadget last reported in the "enter" hint mode
  bool TrackingLeave = false;
};
