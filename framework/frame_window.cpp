#include "framework/frame_window.h"

#include <algorithm>

#include "framework/gadget_window.h"
#include "framework/status_bar.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TFrameWindow, TWindow)
  EV_MESSAGE(WM_SIZE, EvSize),
  EV_MESSAGE(WM_MENUSELECT, EvMenuSelect),
  EV_MESSAGE(WM_ENTERIDLE, EvEnterIdle),
END_RESPONSE_TABLE;
// clang-format on

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool trackMenuSelection)
    : TWindow(parent, title), ClientWnd(clientWnd), TrackMenuSelection(trackMenuSelection) {
  Attr.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  Attr.X = Attr.W = CW_USEDEFAULT;
  if (ClientWnd) ClientWnd->SetParent(this);
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

void TFrameWindow::Insert(TWindow& decoration, TLocation location) {
  decoration.SetParent(this);
  Decorations.push_back({&decoration, location});
  if (HWindow) {
    decoration.Create();
    Layout();
  }
}

void TFrameWindow::Layout() {
  if (!HWindow) return;
  // Drop decorations whose objects have gone.
  std::erase_if(Decorations, [this](const TDecoration& d) {
    return std::find(Children.begin(), Children.end(), d.Window) == Children.end();
  });
  RECT free;
  GetClientRect(free);
  const int width = free.right - free.left;
  auto height = [](TWindow* w) {
    if (auto* gadgets = dynamic_cast<TGadgetWindow*>(w))
      return static_cast<int>(gadgets->GetDesiredSize().cy);
    RECT r;
    w->GetWindowRect(r);
    return static_cast<int>(r.bottom - r.top);
  };
  for (const TDecoration& d : Decorations) {
    if (!d.Window->HWindow) continue;
    const int h = height(d.Window);
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

TStatusBar* TFrameWindow::GetStatusBar() const {
  for (const TDecoration& d : Decorations)
    if (auto* bar = dynamic_cast<TStatusBar*>(d.Window)) return bar;
  return nullptr;
}

void TFrameWindow::SetHintText(const char* text) {
  if (TStatusBar* bar = GetStatusBar()) bar->SetHintText(text);
}

TWindow* TFrameWindow::GetCommandTarget() {
  // The window with the focus, if it lies in this frame, else the client.
  HWND focus = GetFocus();
  if (focus && (focus == HWindow || IsChild(HWindow, focus)))
    for (HWND h = focus; h && h != HWindow; h = ::GetParent(h))
      if (TWindow* w = GetWindowPtr(h)) return w;
  return ClientWnd && ClientWnd->HWindow ? ClientWnd : this;
}

LRESULT TFrameWindow::EvSize(WPARAM wParam, LPARAM lParam) {
  LRESULT result = TWindow::EvSize(wParam, lParam);
  if (wParam != SIZE_MINIMIZED) Layout();
  return result;
}

LRESULT TFrameWindow::EvMenuSelect(WPARAM wParam, LPARAM lParam) {
  if (TrackMenuSelection) {
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && !lParam) {  // menu closed, or a gadget left
      MenuItemId = 0;
      SetHintText(nullptr);
    } else if (flags & (MF_POPUP | MF_SEPARATOR)) {
      MenuItemId = 0;
      SetHintText("");
    } else {
      MenuItemId = LOWORD(wParam);
    }
  }
  return DefaultProcessing();
}

LRESULT TFrameWindow::EvEnterIdle(WPARAM wParam, LPARAM lParam) {
  if (TrackMenuSelection && wParam == MSGF_MENU && MenuItemId) {
    char hint[128];
    if (LoadStringA(GetInstance(), MenuItemId, hint, sizeof hint) <= 0) hint[0] = '\0';
    MenuItemId = 0;
    SetHintText(hint);
  }
  (void)lParam;
  return DefaultProcessing();
}
