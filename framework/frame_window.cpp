#include "framework/frame_window.h"

#include <algorithm>

// clang-format off
DEFINE_RESPONSE_TABLE1(TFrameWindow, TWindow)
  EV_WM_SIZE(EvSize),
  EV_WM_MENUSELECT(EvMenuSelect),
  EV_WM_ENTERIDLE(EvEnterIdle),
END_RESPONSE_TABLE;
// clang-format on

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, std::unique_ptr<TWindow> clientWnd,
                           bool trackMenuSelection)
    : TWindow(parent, title),
      ClientWnd(clientWnd ? &InsertChild(std::move(clientWnd)) : nullptr),
      TrackMenuSelection(trackMenuSelection) {
  Attr.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  Attr.X = Attr.W = CW_USEDEFAULT;
}

TFrameWindow::~TFrameWindow() = default;

bool TFrameWindow::AssignMenu(TResId menu) {
  if (!HWindow) {
    // Loaded at creation; keep the name alive with the descriptor-less form.
    MenuDescr = std::make_unique<TMenuDescr>(std::move(menu), 0, 0, 0, 0, 0, 0);
    return true;
  }
  HMENU loaded = LoadMenuA(GetInstance(), menu.Get());
  if (!loaded) return false;
  InstallMenu(loaded);
  return true;
}

void TFrameWindow::SetMenuDescr(const TMenuDescr& descr) {
  MenuDescr = std::make_unique<TMenuDescr>(descr);
  if (HWindow)
    if (HMENU menu = MenuDescr->Load(GetInstance())) InstallMenu(menu);
}

void TFrameWindow::InstallMenu(HMENU menu) {
  HMENU old = GetMenu(HWindow);
  ::SetMenu(HWindow, menu);
  if (old && old != menu) DestroyMenu(old);
  DrawMenuBar(HWindow);
}

void TFrameWindow::SetupWindow() {
  // A descriptor set before creation gives the menu bar, before the client
  // (an MDI client looks for its Window popup) is created.
  if (MenuDescr && !(Attr.Style & WS_CHILD))
    if (HMENU menu = MenuDescr->Load(GetInstance())) InstallMenu(menu);
  TWindow::SetupWindow();
  Layout();
}

void TFrameWindow::InsertDecoration(std::unique_ptr<TWindow> window, TDecoration* bar, TLocation location) {
  TWindow& decoration = InsertChild(std::move(window));
  Decorations.push_back({&decoration, bar, location});
  if (HWindow) {
    decoration.Create();
    Layout();
  }
}

void TFrameWindow::Layout() {
  if (!HWindow) return;
  // Drop decorations whose objects have gone.
  std::erase_if(Decorations, [this](const TPlacedDecoration& d) {
    return std::find(Children.begin(), Children.end(), d.Window) == Children.end();
  });
  RECT free;
  GetClientRect(free);
  const int width = free.right - free.left;
  auto height = [](const TPlacedDecoration& d) {
    if (d.Bar) return d.Bar->GetDecorationHeight();
    RECT r;
    d.Window->GetWindowRect(r);
    return static_cast<int>(r.bottom - r.top);
  };
  for (const TPlacedDecoration& d : Decorations) {
    if (!d.Window->HWindow) continue;
    const int h = height(d);
    if (d.Location == Top) {
      d.Window->MoveWindow(0, free.top, width, h);
      free.top += h;
    } else {
      free.bottom -= h;
      d.Window->MoveWindow(0, free.bottom, width, h);
    }
  }
  if (ClientWnd && ClientWnd->HWindow)
    ClientWnd->MoveWindow(free.left, free.top, free.right - free.left, std::max(0L, free.bottom - free.top));
}

void TFrameWindow::SetHintText(const char* text) {
  for (const TPlacedDecoration& d : Decorations)
    if (d.Bar && d.Bar->ShowHint(text)) return;
}

TWindow* TFrameWindow::GetCommandTarget() {
  // The window with the focus, if it lies in this frame, else the client.
  HWND focus = GetFocus();
  if (focus && (focus == HWindow || IsChild(HWindow, focus)))
    for (HWND h = focus; h && h != HWindow; h = ::GetParent(h))
      if (TWindow* w = GetWindowPtr(h)) return w;
  return ClientWnd && ClientWnd->HWindow ? ClientWnd : this;
}

void TFrameWindow::EvSize(UINT sizeType, int cx, int cy) {
  TWindow::EvSize(sizeType, cx, cy);
  if (sizeType != SIZE_MINIMIZED) Layout();
}

void TFrameWindow::EvMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (TrackMenuSelection) {
    if (flags == 0xFFFF && !menu) {  // menu closed, or a gadget left
      MenuItemId = 0;
      SetHintText(nullptr);
    } else if (flags & (MF_POPUP | MF_SEPARATOR)) {
      MenuItemId = 0;
      SetHintText("");
    } else {
      MenuItemId = item;
    }
  }
  DefWindowProc(WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(menu));
}

void TFrameWindow::EvEnterIdle(UINT source, HWND window) {
  if (TrackMenuSelection && source == MSGF_MENU && MenuItemId) {
    char hint[128];
    if (LoadStringA(GetInstance(), MenuItemId, hint, sizeof hint) <= 0) hint[0] = '\0';
    MenuItemId = 0;
    SetHintText(hint);
  }
  DefWindowProc(WM_ENTERIDLE, source, reinterpret_cast<LPARAM>(window));
}
