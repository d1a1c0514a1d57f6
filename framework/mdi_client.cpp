#include "framework/mdi_client.h"

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
  DeleteChildren();
  if (Background) DeleteObject(Background);
}

namespace {
// The popup of a frame's menu that holds the Cascade command.
HMENU CascadePopup(HWND frame) {
  HMENU bar = frame ? GetMenu(frame) : nullptr;
  if (!bar) return nullptr;
  const int count = GetMenuItemCount(bar);
  for (int pos = 0; pos < count; ++pos)
    if (HMENU popup = GetSubMenu(bar, pos))
      if (GetMenuState(popup, CM_CASCADECHILDREN, MF_BYCOMMAND) != static_cast<UINT>(-1)) return popup;
  return nullptr;
}
}  // namespace

HWND TMDIClient::PerformCreate() {
  CLIENTCREATESTRUCT ccs{WindowPopup ? WindowPopup : CascadePopup(GetParentHandle()), IDW_FIRSTMDICHILD};
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

LRESULT TMDIClient::EvEraseBkgnd(const TMessage& message) {
  if (!Background) return DefaultProcessing(message);
  RECT r;
  GetClientRect(r);
  FillRect(reinterpret_cast<HDC>(message.WParam), &r, Background);
  return 1;
}
