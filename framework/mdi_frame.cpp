#include "framework/mdi_frame.h"

#include "framework/mdi_child.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TMDIFrame, TFrameWindow)
  EV_MESSAGE(WM_SIZE, EvSize),
END_RESPONSE_TABLE;
// clang-format on

TMDIFrame::TMDIFrame(const char* title, TResId menu, TMDIClient& client, bool trackMenuSelection)
    : TFrameWindow(nullptr, title, &client, trackMenuSelection) {
  if (menu.IsSet()) AssignMenu(std::move(menu));
}

LRESULT TMDIFrame::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = ClientWnd ? ClientWnd->HWindow : nullptr;
  return DefFrameProcA(HWindow, client, msg, wParam, lParam);
}

bool TMDIFrame::PreProcessMsg(MSG& msg) {
  return ClientWnd && ClientWnd->HWindow && TranslateMDISysAccel(ClientWnd->HWindow, &msg);
}

TWindow* TMDIFrame::GetCommandTarget() {
  if (TMDIChild* child = GetClientWindow()->GetActiveMDIChild()) return child->GetCommandTarget();
  return ClientWnd;
}

void TMDIFrame::InstallMenu(HMENU menu) {
  if (!ClientWnd || !ClientWnd->HWindow) {
    TFrameWindow::InstallMenu(menu);
    return;
  }
  // The client keeps the children's entries in the Window popup and the
  // maximized child's system menu on the bar, so the menu goes through it.
  HMENU popup = nullptr;
  if (MenuDescr)
    if (int pos = MenuDescr->WindowPopupPosition(); pos >= 0) popup = GetSubMenu(menu, pos);
  HMENU old = reinterpret_cast<HMENU>(
      ClientWnd->SendMessage(WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), reinterpret_cast<LPARAM>(popup)));
  if (old && old != menu) DestroyMenu(old);
  DrawMenuBar(HWindow);
}

LRESULT TMDIFrame::EvSize(WPARAM wParam, LPARAM) {
  // The platform's frame procedure would stretch the client over the
  // decorations (and make it show scroll bars for a moment); the layout
  // places it instead.
  if (wParam != SIZE_MINIMIZED) Layout();
  return 0;
}
