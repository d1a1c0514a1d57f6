#include "framework/gadget_window.h"

#include <algorithm>
#include <vector>

#include "framework/gadget_window_font.h"

// ---- TGadget ------------------------------------------------------------------

void TGadget::SetEnabled(bool enabled) {
  if (Enabled == enabled) return;
  Enabled = enabled;
  Invalidate();
}

SIZE TGadget::GetDesiredSize() {
  const int b = 2 * BorderWidth();
  return {b, b};
}

void TGadget::Paint(HDC dc) {
  PaintBorder(dc);
}

void TGadget::PaintBorder(HDC dc) {
  RECT r = Bounds;
  switch (Border) {
    case None:
      break;
    case Plain:
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      break;
    case Raised:
      DrawEdge(dc, &r, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RECT);
      break;
    case Recessed:
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      break;
    case Embossed:
      DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      break;
  }
}

void TGadget::Invalidate() {
  if (Window && Window->HWindow) Window->InvalidateRect(Bounds, true);
}

void TGadget::LButtonDown(UINT, POINT) {}
void TGadget::LButtonUp(UINT, POINT) {}
void TGadget::MouseMove(UINT, POINT) {}

// ---- TGadgetWindow --------------------------------------------------------------

// clang-format off
DEFINE_RESPONSE_TABLE1(TGadgetWindow, TWindow)
  EV_WM_MOUSEMOVE(EvMouseMove),
  EV_WM_MOUSELEAVE(EvMouseLeave),
  EV_WM_LBUTTONDOWN(EvLButtonDown),
  EV_WM_LBUTTONUP(EvLButtonUp),
  EV_WM_LBUTTONDBLCLK(EvLButtonDblClk),
  EV_WM_SIZE(EvSize),
END_RESPONSE_TABLE;
// clang-format on

TGadgetWindow::TGadgetWindow(TWindow* parent, TTileDirection, std::unique_ptr<TFont> font)
    : TWindow(parent), Font(font ? std::move(font) : std::make_unique<TGadgetWindowFont>()) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  Attr.X = Attr.Y = Attr.W = Attr.H = 0;
}

TGadgetWindow::~TGadgetWindow() = default;

void TGadgetWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

namespace {
auto Holding(const TGadget* gadget) {
  return [gadget](const std::unique_ptr<TGadget>& held) { return held.get() == gadget; };
}
}  // namespace

void TGadgetWindow::InsertGadget(std::unique_ptr<TGadget> gadget, TPlacement placement, TGadget* sibling) {
  auto at = std::find_if(Gadgets.begin(), Gadgets.end(), Holding(sibling));
  if (!sibling || at == Gadgets.end())
    at = placement == Before ? Gadgets.begin() : Gadgets.end();
  else if (placement == After)
    ++at;
  TGadget& inserted = **Gadgets.insert(at, std::move(gadget));
  inserted.Window = this;
  inserted.Inserted();
  if (HWindow) LayoutSession();
}

TGadget* TGadgetWindow::NextGadget(TGadget& gadget) const {
  auto at = std::find_if(Gadgets.begin(), Gadgets.end(), Holding(&gadget));
  return (at == Gadgets.end() || at + 1 == Gadgets.end()) ? nullptr : (at + 1)->get();
}

TGadget* TGadgetWindow::GadgetFromPoint(POINT point) const {
  for (const auto& gadget : Gadgets)
    if (PtInRect(&gadget->Bounds, point)) return gadget.get();
  return nullptr;
}

TGadget* TGadgetWindow::GadgetWithId(int id) const {
  for (const auto& gadget : Gadgets)
    if (gadget->GetId() == id) return gadget.get();
  return nullptr;
}

void TGadgetWindow::SetHintCommand(int id) {
  HWND parent = GetParentHandle();
  if (!parent) return;
  const WPARAM selection = id ? static_cast<WPARAM>(static_cast<UINT>(id) & 0xFFFF) : MAKEWPARAM(0, 0xFFFF);
  ::SendMessageA(parent, WM_MENUSELECT, selection, 0);
  ::SendMessageA(parent, WM_ENTERIDLE, MSGF_MENU, 0);
}

bool TGadgetWindow::GadgetSetCapture(TGadget& gadget) {
  if (Capture) return false;
  Capture = &gadget;
  ::SetCapture(HWindow);
  return true;
}

void TGadgetWindow::GadgetReleaseCapture(TGadget& gadget) {
  if (Capture != &gadget) return;
  Capture = nullptr;
  ::ReleaseCapture();
}

SIZE TGadgetWindow::GetDesiredSize() {
  SIZE size{2 * Margin, 0};
  for (const auto& gadget : Gadgets) {
    const SIZE g = gadget->GetDesiredSize();
    size.cx += g.cx;
    size.cy = std::max(size.cy, g.cy);
  }
  size.cy += 2 * Margin;
  return size;
}

void TGadgetWindow::LayoutSession() {
  if (!HWindow) return;
  RECT client;
  GetClientRect(client);
  const int height = std::max(0L, client.bottom - client.top - 2 * Margin);
  // Each fixed gadget is measured once: text gadgets measure their font.
  std::vector<int> widths;
  widths.reserve(Gadgets.size());
  int fixed = 0, wide = 0;
  for (const auto& gadget : Gadgets) {
    widths.push_back(gadget->WideAsPossible ? 0 : static_cast<int>(gadget->GetDesiredSize().cx));
    fixed += widths.back();
    if (gadget->WideAsPossible) ++wide;
  }
  const int spare = std::max(0, static_cast<int>(client.right - client.left) - 2 * Margin - fixed);
  int x = Margin;
  for (std::size_t i = 0; i < Gadgets.size(); ++i) {
    const int w = Gadgets[i]->WideAsPossible ? spare / wide : widths[i];
    Gadgets[i]->Bounds = {x, Margin, x + w, Margin + height};
    x += w;
  }
  Invalidate();
}

void TGadgetWindow::SetupWindow() {
  TWindow::SetupWindow();
  LayoutSession();
}

void TGadgetWindow::Paint(HDC dc, bool, RECT& rect) {
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  SetBkMode(dc, TRANSPARENT);
  for (const auto& gadget : Gadgets) {
    RECT overlap;
    if (IntersectRect(&overlap, &gadget->Bounds, &rect)) gadget->Paint(dc);
  }
  SelectObject(dc, old);
}

void TGadgetWindow::CommandEnableGadgets() {
  for (const auto& gadget : Gadgets) gadget->CommandEnable();
}

void TGadgetWindow::IdleAction(long idleCount) {
  CommandEnableGadgets();
  TWindow::IdleAction(idleCount);
}

void TGadgetWindow::TrackLeave() {
  if (TrackingLeave) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, HWindow, 0};
  TrackingLeave = TrackMouseEvent(&track);
}

void TGadgetWindow::EvMouseMove(UINT modKeys, POINT point) {
  if (Capture) {
    Capture->MouseMove(modKeys, point);
  } else if (HintMode == EnterHints) {
    TGadget* gadget = GadgetFromPoint(point);
    if (gadget && !gadget->GetId()) gadget = nullptr;  // nothing to hint
    if (gadget != AtMouse) {
      TGadget* left = AtMouse;
      AtMouse = gadget;
      if (left) SetHintCommand(0);
      if (gadget) SetHintCommand(gadget->GetId());
    }
    if (gadget) TrackLeave();
  }
}

void TGadgetWindow::EvMouseLeave() {
  TrackingLeave = false;
  if (AtMouse && !Capture) {
    AtMouse = nullptr;
    SetHintCommand(0);
  }
}

void TGadgetWindow::EvLButtonDown(UINT modKeys, POINT point) {
  TGadget* gadget = GadgetFromPoint(point);
  if (gadget && gadget->GetEnabled()) {
    if (HintMode == PressHints && gadget->GetId()) SetHintCommand(gadget->GetId());
    gadget->LButtonDown(modKeys, point);
  }
}

void TGadgetWindow::EvLButtonUp(UINT modKeys, POINT point) {
  if (TGadget* gadget = Capture) {
    gadget->LButtonUp(modKeys, point);
    if (HintMode == PressHints && gadget->GetId()) SetHintCommand(0);
  }
}

void TGadgetWindow::EvLButtonDblClk(UINT modKeys, POINT point) {
  EvLButtonDown(modKeys, point);
}

void TGadgetWindow::EvSize(UINT sizeType, int cx, int cy) {
  LayoutSession();
  TWindow::EvSize(sizeType, cx, cy);
}
