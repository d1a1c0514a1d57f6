// TMDIClient: the client window of an MDI frame (the platform's MDICLIENT,
// subclassed). It keeps the MDI children, handles the Window commands (tile,
// cascade, arrange icons) and paints its background in a chosen colour.
#pragma once
#include "framework/mdi_commands.h"
#include "framework/window.h"

class TMDIChild;

// Ids the platform gives the children's entries in the Window popup.
constexpr UINT IDW_FIRSTMDICHILD = 0xFF00;

class TMDIClient : public TWindow {
 public:
  TMDIClient();
  ~TMDIClient() override;

  void SetBkgndColor(COLORREF color);
  // The popup that lists the children, for a client not yet created (none:
  // the popup of the frame's menu that holds the Cascade command).
  void SetWindowPopup(HMENU popup) { WindowPopup = popup; }
  TMDIChild* GetActiveMDIChild();
  void CascadeChildren() { SendMessage(WM_MDICASCADE); }
  void TileChildren(int tile = MDITILE_VERTICAL) { SendMessage(WM_MDITILE, static_cast<WPARAM>(tile)); }
  void ArrangeIcons() { SendMessage(WM_MDIICONARRANGE); }
  bool CloseChildren();

  const char* GetClassName() override { return "MDICLIENT"; }
  bool Register() override { return true; }
  void SetupWindow() override;

  void CmCascadeChildren() { CascadeChildren(); }
  void CmTileChildren() { TileChildren(); }
  void CmTileChildrenHoriz() { TileChildren(MDITILE_HORIZONTAL); }
  void CmArrangeIcons() { ArrangeIcons(); }
  void CmCloseChildren() { CloseChildren(); }
  LRESULT EvEraseBkgnd(const TMessage& message);

  DECLARE_RESPONSE_TABLE(TMDIClient);

 protected:
  HWND PerformCreate() override;

 private:
  HBRUSH Background = nullptr;
  HMENU WindowPopup = nullptr;
};
