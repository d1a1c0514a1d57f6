#include "framework/mdi_child.h"

#include "framework/mdi_client.h"

TMDIChild::TMDIChild(TMDIClient& parent, const char* title) : TFrameWindow(&parent, title) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
  Attr.X = Attr.Y = Attr.W = Attr.H = CW_USEDEFAULT;
}

TMDIChild::~TMDIChild() {
  Destroy();
}

HWND TMDIChild::PerformCreate() {
  MDICREATESTRUCTA cs{};
  cs.szClass = GetClassName();
  cs.szTitle = Title.c_str();
  cs.hOwner = GetInstance();
  cs.x = Attr.X;
  cs.y = Attr.Y;
  cs.cx = Attr.W;
  cs.cy = Attr.H;
  cs.style = Attr.Style;
  cs.lParam = reinterpret_cast<LPARAM>(Attr.Param);
  if (!Parent || !Parent->HWindow) return nullptr;
  return reinterpret_cast<HWND>(Parent->SendMessage(WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
}

void TMDIChild::Destroy(int) {
  if (HWindow && Parent && Parent->HWindow)
    Parent->SendMessage(WM_MDIDESTROY, reinterpret_cast<WPARAM>(HWindow));
  else
    TFrameWindow::Destroy();
}

LRESULT TMDIChild::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcA(HWindow, msg, wParam, lParam);
}
