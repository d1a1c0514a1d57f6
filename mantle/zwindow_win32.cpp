// TZWindow and TZGraphWindow: which events they queue and in which order
// relative to the class library's handling, their window class, and the
// graphics window's backing bitmap.
#include "mantle/zwindow_win32.h"

#include <algorithm>
#include <new>
#include <unordered_map>

#include "framework/command_enabler.h"
#include "framework/scroller.h"
#include "mantle/library_win32.h"

namespace mantle {

// ---- TZWindow -----------------------------------------------------------------

// clang-format off
DEFINE_RESPONSE_TABLE1(TZWindow, TWindow)
  EV_MESSAGE(WM_HSCROLL, EvScrollThenQueue),
  EV_MESSAGE(WM_VSCROLL, EvScrollThenQueue),
  EV_MESSAGE(WM_KEYDOWN, EvQueueThenDefault),
  EV_MESSAGE(WM_KEYUP, EvQueueThenDefault),
  EV_MESSAGE(WM_CHAR, EvQueueThenDefault),
  EV_MESSAGE(WM_SYSKEYDOWN, EvQueueThenDefault),
  EV_MESSAGE(WM_SYSKEYUP, EvQueueThenDefault),
  EV_MESSAGE(WM_SYSCOMMAND, EvQueueThenDefault),
  EV_MESSAGE(WM_TIMER, EvQueueThenDefault),
  EV_MESSAGE(WM_TIMECHANGE, EvQueueThenDefault),
  EV_MESSAGE(WM_QUERYOPEN, EvQueueOnly),
  EV_MESSAGE(0x03E0, EvQueueThenDefault),
  EV_MESSAGE(0x03E1, EvQueueThenDefault),
  EV_MESSAGE(0x03E2, EvQueueThenDefault),
  EV_MESSAGE(0x03E3, EvQueueThenDefault),
  EV_MESSAGE(0x03E4, EvQueueThenDefault),
  EV_MESSAGE(0x03E5, EvQueueThenDefault),
  EV_MESSAGE(0x03E6, EvQueueThenDefault),
  EV_MESSAGE(0x03E7, EvQueueThenDefault),
  EV_MESSAGE(0x03E8, EvQueueThenDefault),
  EV_MESSAGE(WM_USER + 0, EvQueueOnly),
  EV_MESSAGE(WM_USER + 1, EvQueueOnly),
  EV_MESSAGE(WM_USER + 2, EvQueueOnly),
  EV_MESSAGE(WM_USER + 3, EvQueueOnly),
  EV_MESSAGE(WM_USER + 4, EvQueueOnly),
  EV_MESSAGE(WM_USER + 5, EvQueueOnly),
  EV_MESSAGE(WM_USER + 6, EvQueueOnly),
  EV_MESSAGE(WM_USER + 7, EvQueueOnly),
  EV_MESSAGE(WM_USER + 8, EvQueueOnly),
  EV_MESSAGE(WM_USER + 9, EvQueueOnly),
END_RESPONSE_TABLE;
// clang-format on

TZWindow::TZWindow(TWindow* parent, const char* title, std::int32_t id, int x, int y, int w, int h)
    : TWindow(parent, title), Id(id) {
  Attr.Id = id;
  Attr.X = x;
  Attr.Y = y;
  Attr.W = w;
  Attr.H = h;
}

int TZWindow::AssignMenuResource(LPCSTR menu) {
  const HMENU loaded = LoadMenuA(GetInstance(), menu);
  return loaded != nullptr ? SetMenuBar(loaded) : 0;
}

int TZWindow::SetMenuBar(HMENU menu) {
  return ::SetMenu(HWindow, menu) ? 1 : 0;
}

int TZWindow::SetClassIcon(HICON icon) {
  if (icon == nullptr) return 0;
  SetClassLongPtrA(HWindow, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  return GetClassLongPtrA(HWindow, GCLP_HICON) == reinterpret_cast<ULONG_PTR>(icon) ? 1 : 0;
}

int TZWindow::SetClassCursor(HCURSOR cursor) {
  if (cursor == nullptr) return 0;
  SetClassLongPtrA(HWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  return GetClassLongPtrA(HWindow, GCLP_HCURSOR) == reinterpret_cast<ULONG_PTR>(cursor) ? 1 : 0;
}

LRESULT TZWindow::EvCommand(const TMessage& message) {
  return HandleThenQueue(*this, message, [&] { return TWindow::EvCommand(message); });
}

void TZWindow::EvCommandEnable(TCommandEnabler& enabler) {
  // The client decides what its commands do; the framework never greys them.
  enabler.Enable(true);
}

void TZWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.style = CS_DBLCLKS | CS_NOCLOSE;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 22;  // _SetWindowWord up to offset 20, _SetWindowLong up to 18
  wc.hIcon = nullptr;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = nullptr;
}

const char* TZWindow::GetClassName() {
  if (ClassName[0] == '\0') ClassName = KindClassName(Kind(), static_cast<std::uint16_t>(GetTickCount()));
  return ClassName.data();
}

LRESULT TZWindow::EvQueueThenDefault(const TMessage& message) {
  QueueEvent(HWindow, message);
  return DefaultProcessing(message);
}

LRESULT TZWindow::EvQueueOnly(const TMessage& message) {
  QueueEvent(HWindow, message);
  // A minimized window refusing WM_QUERYOPEN could never be restored.
  return message.Msg == WM_QUERYOPEN ? TRUE : 0;
}

LRESULT TZWindow::EvScrollThenQueue(const TMessage& message) {
  return HandleThenQueue(*this, message, [&] {
    const UINT code = LOWORD(message.WParam);
    const int position = static_cast<short>(HIWORD(message.WParam));
    const HWND bar = reinterpret_cast<HWND>(message.LParam);
    if (message.Msg == WM_HSCROLL)
      TWindow::EvHScroll(code, position, bar);
    else
      TWindow::EvVScroll(code, position, bar);
    return LRESULT{0};
  });
}

// ---- TZGraphWindow ------------------------------------------------------------

// clang-format off
DEFINE_RESPONSE_TABLE1(TZGraphWindow, TZWindow)
  EV_MESSAGE(WM_LBUTTONDOWN, EvQueueThenDefault),
  EV_MESSAGE(WM_LBUTTONUP, EvQueueThenDefault),
  EV_MESSAGE(WM_LBUTTONDBLCLK, EvQueueThenDefault),
  EV_MESSAGE(WM_RBUTTONDOWN, EvQueueThenDefault),
  EV_MESSAGE(WM_MOUSEMOVE, EvMouseMoveThenDefault),
  EV_WM_SIZE(EvSize),
END_RESPONSE_TABLE;
// clang-format on

TZGraphWindow::TZGraphWindow(TWindow* parent, const char* title, std::int32_t id, int w, int h,
                             int bitmapWidth, int bitmapHeight)
    : TZWindow(parent, title, id, 0, 0, w, h), BitmapWidth(bitmapWidth), BitmapHeight(bitmapHeight) {
  ClipRegion = CreateRectRgn(0, 0, bitmapWidth, bitmapHeight);
  TScroller& scroller = SetScroller(std::make_unique<TScroller>(this, 1, 1, 0, 0));
  scroller.XPage = 10;
  scroller.YPage = 10;
  scroller.AutoMode = false;
  scroller.TrackMode = false;
  scroller.AutoOrg = true;
}

TZGraphWindow::~TZGraphWindow() {
  // A pixel batch may still be drawing into the memory context.
  FinishPixelBatch();
  if (MemoryDC != nullptr) {
    SelectObject(MemoryDC, OldBitmap);
    DeleteDC(MemoryDC);
  }
  if (ClipRegion != nullptr) DeleteObject(ClipRegion);
  if (Bitmap != nullptr) DeleteObject(Bitmap);
}

void TZGraphWindow::CreateBacking() {
  const HDC dc = ::GetDC(HWindow);
  if (dc == nullptr) return;
  MemoryDC = CreateCompatibleDC(dc);
  Bitmap = CreateCompatibleBitmap(dc, BitmapWidth, BitmapHeight);
  if (MemoryDC != nullptr && Bitmap != nullptr) OldBitmap = SelectObject(MemoryDC, Bitmap);
  SelectClipRgn(dc, ClipRegion);
  PatBlt(dc, 0, 0, Attr.W, Attr.H, WHITENESS);
  if (MemoryDC != nullptr) PatBlt(MemoryDC, 0, 0, BitmapWidth, BitmapHeight, WHITENESS);
  ::ReleaseDC(HWindow, dc);
}

void TZGraphWindow::Paint(HDC dc, bool, RECT&) {
  // The paint context is already offset by the scroll position.
  if (MemoryDC != nullptr) BitBlt(dc, 0, 0, BitmapWidth, BitmapHeight, MemoryDC, 0, 0, SRCCOPY);
}

LRESULT TZGraphWindow::EvMouseMoveThenDefault(const TMessage& message) {
  QueueEvent(HWindow, message);
  TWindow::EvMouseMove(static_cast<UINT>(message.WParam), POINT{static_cast<short>(LOWORD(message.LParam)),
                                                                static_cast<short>(HIWORD(message.LParam))});
  return 0;
}

void TZGraphWindow::EvSize(UINT sizeType, int cx, int cy) {
  if (sizeType == SIZE_RESTORED) {
    RECT outer;
    GetWindowRect(outer);
    Attr.W = outer.right - outer.left;
    Attr.H = outer.bottom - outer.top;
  }
  DefWindowProc(WM_SIZE, sizeType, MAKELPARAM(cx, cy));
  if (sizeType != SIZE_MINIMIZED && Scroller != nullptr) {
    RECT client;
    GetClientRect(client);
    Scroller->SetRange(std::max(0L, static_cast<long>(BitmapWidth - client.right)),
                       std::max(0L, static_cast<long>(BitmapHeight - client.bottom)));
    // The platform drops a scroll bar's style bit while its range is empty,
    // so the bars the window was made with are set here by themselves.
    if (Attr.Style & WS_HSCROLL) ShowRange(SB_HORZ, Scroller->XRange, Scroller->XPos);
    if (Attr.Style & WS_VSCROLL) ShowRange(SB_VERT, Scroller->YRange, Scroller->YPos);
  }
}

void TZGraphWindow::ShowRange(int bar, long range, long position) {
  SetScrollRange(HWindow, bar, 0, static_cast<int>(std::min(range, 32767L)), FALSE);
  SetScrollPos(HWindow, bar, static_cast<int>(position), TRUE);
}

// ---- lookups ------------------------------------------------------------------

TZWindow* ZWindowOf(HWND window) {
  return dynamic_cast<TZWindow*>(TWindow::GetWindowPtr(window));
}

TZGraphWindow* GraphWindowOf(HWND window) {
  return dynamic_cast<TZGraphWindow*>(TWindow::GetWindowPtr(window));
}

TZDialog* ZDialogOf(HWND window) {
  return dynamic_cast<TZDialog*>(TWindow::GetWindowPtr(window));
}

TWindow* AdoptAndCreate(TWindow& parent, std::unique_ptr<TWindow> object) {
  if (object == nullptr) return nullptr;
  TWindow& child = parent.InsertChild(std::move(object));
  if (child.Create()) return &child;
  parent.ReleaseChild(child);
  return nullptr;
}

TWindow* ParentObject(HWND parent) {
  if (TWindow* object = TWindow::GetWindowPtr(parent)) return object;
  // One alias per foreign handle rather than one per call; they are never
  // freed, since windows created under them may outlive any point we know of.
  static auto* aliases = new std::unordered_map<HWND, TWindow*>;
  TWindow*& alias = (*aliases)[parent];
  if (alias == nullptr) alias = new (std::nothrow) TWindow(parent);
  return alias;
}

}  // namespace mantle
