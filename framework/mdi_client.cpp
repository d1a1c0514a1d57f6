#include "framework/mdi_client.h"

#include "framework/frame_window.h"
#include "framework/mdi_child.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TMDIClient, TWindow)
  EV_COMMAND(CM_CASCADECHILDREN, CmCascadeChildren),
  EV_COMMAND(CM_TILECHILDREN, CmTileChildren),
  EV_COMMAND(CM_TILECHILDRENHORIZ, CmTileChildrenHoriz),
  EV_COMMAND(CM_ARRANGEICONS, CmArrangeIcons),
  EV_COMMAND(CM_CLOSECHILDREN, CmCloseChildren),
  EV_MESSAGE(WM_ERASEBKGND, EvEraseBkgnd),
END_RESPONSE_TABLE;
// clang-format on

TMDIClient::TMDIClient() : TWindow(static_cast<TWindow*>(nullptr)) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
  Attr.ExStyle = WS_EX_CLIENTEDGE;
  Attr.X = Attr.Y = Attr.W = Attr.H = 0;
}

TMDIClient::~TMDIClient() {
  // The children go first, through WM_MDIDESTROY, while the client exists.
  while (!Children.empty()) delete Children.back();
  if (Background) DeleteObject(Background);
}

namespace {
// The popup that lists the children: from the frame's menu descriptor, else
// the popup that holds the Cascade command.
HMENU WindowPopup(TWindow* frame) {
  if (!frame || !frame->HWindow) return nullptr;
  HMENU bar = GetMenu(frame->HWindow);
  if (!bar) return nullptr;
  if (auto* f = dynamic_cast<TFrameWindow*>(frame))
    if (const TMenuDescr* descr = f->GetMenuDescr())
      if (int pos = descr->WindowPopupPosition(); pos >= 0)
        if (HMENU popup = GetSubMenu(bar, pos)) return popup;
  const int count = GetMenuItemCount(bar);
  for (int pos = 0; pos < count; ++pos)
    if (HMENU popup = GetSubMenu(bar, pos))
      if (GetMenuState(popup, CM_CASCADECHILDREN, MF_BYCOMMAND) != static_cast<UINT>(-1)) return popup;
  return nullptr;
}
}  // namespace

HWND TMDIClient::PerformCreate() {
  CLIENTCREATESTRUCT ccs{WindowPopup(Parent), IDW_FIRSTMDICHILD};
  return CreateWindowExA(Attr.ExStyle, GetClassName(), nullptr, Attr.Style, Attr.X, Attr.Y, Attr.W, Attr.H,
                         GetParentHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.Id)),
                         GetInstance(), &ccs);
}

void TMDIClient::SetupWindow() {
  TWindow::SetupWindow();
  // The scroll bars start hidden; the client shows them when children reach
  // beyond it (under Wine they would otherwise stay, even beside a maximized
  // child).
  ShowScrollBar(HWindow, SB_BOTH, FALSE);
}

void TMDIClient::SetBkgndColor(COLORREF color) {
  if (Background) DeleteObject(Background);
  Background = CreateSolidBrush(color);
  if (HWindow) Invalidate();
}

TMDIChild* TMDIClient::GetActiveMDIChild() {
  if (!HWindow) return nullptr;
  return dynamic_cast<TMDIChild*>(GetWindowPtr(reinterpret_cast<HWND>(SendMessage(WM_MDIGETACTIVE))));
}

bool TMDIClient::CloseChildren() {
  // Asked as a window asks its children, whatever a derived client decides.
  if (!TWindow::CanClose()) return false;
  std::vector<TWindow*> children = Children;
  for (TWindow* child : children) child->Destroy();
  return true;
}

LRESULT TMDIClient::EvEraseBkgnd(WPARAM wParam, LPARAM) {
  if (!Background) return DefaultProcessing();
  RECT r;
  GetClientRect(r);
  FillRect(reinterpret_cast<HDC>(wParam), &r, Background);
  return 1;
}
