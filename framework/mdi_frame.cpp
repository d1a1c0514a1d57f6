#include "framework/mdi_frame.h"

#include "framework/mdi_child.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TMDIFrame, TFrameWindow)
  EV_WM_SIZE(EvSize),
END_RESPONSE_TABLE;
// clang-format on

TMDIFrame::TMDIFrame(const char* title, TResId menu, std::unique_ptr<TMDIClient> client,
                     bool trackMenuSelection)
    : TFrameWindow(nullptr, title, nullptr, trackMenuSelection), Client(&InsertChild(std::move(client))) {
  ClientWnd = Client;
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
  if (TMDIChild* child = Client->GetActiveMDIChild()) return child->GetCommandTarget();
  return ClientWnd;
}

void TMDIFrame::InstallMenu(HMENU menu) {
  HMENU popup = nullptr;
  if (MenuDescr)
    if (int pos = MenuDescr->WindowPopupPosition(); pos >= 0) popup = GetSubMenu(menu, pos);
  if (!Client->HWindow) {
    // The client, created later, lists the children in this popup.
    Client->SetWindowPopup(popup);
    TFrameWindow::InstallMenu(menu);
    return;
  }
  // The client keeps the children's entries in the Window popup and the
  // maximized child's system menu on the bar, so the menu goes through it.
  HMENU old = reinterpret_cast<HMENU>(
      ClientWnd->SendMessage(WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), reinterpret_cast<LPARAM>(popup)));
  if (old && old != menu) DestroyMenu(old);
  DrawMenuBar(HWindow);
}

void TMDIFrame::EvSize(UINT sizeType, int, int) {
  // The platform's frame procedure would stretch the client over the
  // decorations (and make it show scroll bars for a moment); the layout
  // places it instead.
  if (sizeType != SIZE_MINIMIZED) Layout();
}
