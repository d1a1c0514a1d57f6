#include "framework/button_gadget.h"

#include "framework/gadget_window.h"

namespace {
constexpr int ButtonPadding = 3;  // border and space around the glyph
}

TButtonGadget::TButtonGadget(TResId glyph, int id, TType type, bool enabled, TState state, bool repeat)
    : TGadget(id, Raised), GlyphResource(std::move(glyph)), Type(type), State(state), Repeat(repeat) {
  Enabled = enabled;
}

TButtonGadget::~TButtonGadget() {
  if (Glyph) DeleteObject(Glyph);
}

void TButtonGadget::Inserted() {
  if (Glyph || !Window) return;
  Glyph = LoadBitmapA(Window->GetInstance(), GlyphResource.Get());
  BITMAP bm{};
  if (Glyph && GetObjectA(Glyph, sizeof bm, &bm)) GlyphSize = {bm.bmWidth, bm.bmHeight};
}

SIZE TButtonGadget::GetDesiredSize() {
  return {GlyphSize.cx + 2 * ButtonPadding, GlyphSize.cy + 2 * ButtonPadding};
}

void TButtonGadget::SetButtonState(TState state) {
  if (State == state) return;
  State = state;
  Invalidate();
}

void TButtonGadget::Paint(HDC dc) {
  RECT r = Bounds;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool down = Pressed || State == Down;
  DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (!Glyph) return;
  const int shift = down ? 1 : 0;
  const int x = r.left + (r.right - r.left - GlyphSize.cx) / 2 + shift;
  const int y = r.top + (r.bottom - r.top - GlyphSize.cy) / 2 + shift;
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(Glyph), 0, x, y, GlyphSize.cx, GlyphSize.cy,
             DST_BITMAP | (Enabled ? DSS_NORMAL : DSS_DISABLED));
}

void TButtonGadget::LButtonDown(UINT, POINT) {
  if (!Enabled || !Window->GadgetSetCapture(*this)) return;
  Pressed = true;
  Invalidate();
}

void TButtonGadget::MouseMove(UINT, POINT point) {
  const bool on = PtInRect(&Bounds, point);
  if (on == Pressed) return;
  Pressed = on;
  Invalidate();
}

void TButtonGadget::LButtonUp(UINT, POINT point) {
  const bool click = Pressed && PtInRect(&Bounds, point);
  Pressed = false;
  Window->GadgetReleaseCapture(*this);
  Invalidate();
  if (click && Enabled) Activate();
}

void TButtonGadget::Activate() {
  if (Type == NonExclusive)
    SetButtonState(State == Down ? Up : Down);
  else if (Type == Exclusive)
    SetButtonState(Down);
  // Posted: the command may run for long (and pump messages) and must not
  // run inside the gadget window's mouse handling.
  if (HWND target = Window->GetParentHandle())
    PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(Id) & 0xFFFF), 0);
}

void TButtonGadget::CommandEnable() {
  if (!Window || !Window->GetParent()) return;
  TButtonGadgetEnabler enabler(*this);
  Window->GetParent()->RouteCommandEnable(enabler);
}
