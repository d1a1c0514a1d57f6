#include "framework/window.h"

#include <algorithm>
#include <unordered_map>

#include "framework/application.h"
#include "framework/command_enabler.h"
#include "framework/scroller.h"

namespace {

// The handle-to-object association and the window being created. All library
// windows live on one thread (README.md), so neither is locked.
std::unordered_map<HWND, TWindow*>& Handles() {
  static std::unordered_map<HWND, TWindow*> map;
  return map;
}

TWindow* CreationWindow = nullptr;

}  // namespace

// ---- lookup and attachment --------------------------------------------------

TWindow* TWindow::GetWindowPtr(HWND handle) {
  if (!handle) return nullptr;
  auto& map = Handles();
  auto it = map.find(handle);
  return it == map.end() ? nullptr : it->second;
}

void TWindow::SetCreationWindow(TWindow* window) {
  CreationWindow = window;
}
TWindow* TWindow::GetCreationWindow() {
  return CreationWindow;
}

void TWindow::Attach(HWND handle) {
  HWindow = handle;
  Handles()[handle] = this;
}

void TWindow::Detach() {
  if (!HWindow) return;
  auto& map = Handles();
  auto it = map.find(HWindow);
  if (it != map.end() && it->second == this) map.erase(it);
  HWindow = nullptr;
}

void TWindow::Subclass() {
  DefaultProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc)));
}

void TWindow::AttachSubclass(HWND handle) {
  Attach(handle);
  Subclass();
}

LRESULT CALLBACK InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* window = CreationWindow;
  if (!window || window->HWindow) {
    // A window of a library class created outside the library: no object.
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  CreationWindow = nullptr;
  window->Attach(hwnd);
  // From now on the window goes straight to StdWndProc; its default is the
  // platform's (DefaultProc stays null).
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
  return window->ReceiveMessage(msg, wParam, lParam);
}

LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TWindow* window = TWindow::GetWindowPtr(hwnd)) return window->ReceiveMessage(msg, wParam, lParam);
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- construction -----------------------------------------------------------

TWindow::TWindow(TWindow* parent, const char* title) : Title(title ? title : "") {
  SetParent(parent);
}

TWindow::TWindow(HWND handle) : HWindow(handle), Alias(true) {}

TWindow::~TWindow() {
  if (HWindow && !Alias) {
    // Messages sent while destroying reach TWindow's handling only, since the
    // derived parts of this object are already gone.
    HWND handle = HWindow;
    Destroy();
    if (HWindow == handle) Detach();  // destroyed elsewhere, or refused
  }
  DeleteChildren();
  SetParent(nullptr);
  if (CreationWindow == this) CreationWindow = nullptr;
}

void TWindow::DeleteChildren() {
  // Each owned child unlinks itself as it goes.
  while (!Owned.empty()) {
    std::unique_ptr<TWindow> child = std::move(Owned.back());
    Owned.pop_back();
  }
  for (TWindow* child : Children) child->Parent = nullptr;
  Children.clear();
}

void TWindow::AdoptChild(std::unique_ptr<TWindow> child) {
  child->SetParent(this);
  Owned.push_back(std::move(child));
}

std::unique_ptr<TWindow> TWindow::ReleaseChild(TWindow& child) {
  auto it =
      std::find_if(Owned.begin(), Owned.end(), [&](const auto& owned) { return owned.get() == &child; });
  if (it == Owned.end()) return nullptr;
  std::unique_ptr<TWindow> released = std::move(*it);
  Owned.erase(it);
  return released;
}

void TWindow::SetParent(TWindow* parent) {
  if (Parent == parent) return;
  if (Parent) {
    auto& siblings = Parent->Children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  Parent = parent;
  if (Parent) Parent->Children.push_back(this);
}

TWindow* TWindow::ChildWithId(int id) const {
  for (TWindow* child : Children)
    if (child->Attr.Id == id) return child;
  return nullptr;
}

TApplication* TWindow::GetApplication() const {
  return TApplication::Current();
}

HINSTANCE TWindow::GetInstance() const {
  TApplication* app = GetApplication();
  return app ? app->GetInstance() : GetModuleHandleA(nullptr);
}

void TWindow::SetResourceId(int id) {
  Attr.Id = id;
  FromResource = true;
}

// ---- registration and creation ----------------------------------------------

const char* TWindow::GetClassName() {
  return "TWindow";
}

void TWindow::GetWindowClass(WNDCLASSA& wc) {
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &InitWndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = GetInstance();
  wc.hIcon = nullptr;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = GetClassName();
}

bool TWindow::Register() {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetInstance(), GetClassName(), &wc)) return true;
  wc = WNDCLASSA{};
  GetWindowClass(wc);
  return RegisterClassA(&wc) != 0;
}

HWND TWindow::PerformCreate() {
  HMENU menu = nullptr;
  if (Attr.Style & WS_CHILD)
    menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.Id));
  else if (Attr.Menu)
    menu = LoadMenuA(GetInstance(), Attr.Menu);
  return CreateWindowExA(Attr.ExStyle, GetClassName(), Title.c_str(), Attr.Style, Attr.X, Attr.Y, Attr.W,
                         Attr.H, GetParentHandle(), menu, GetInstance(), Attr.Param);
}

bool TWindow::Create() {
  if (HWindow) return true;
  if (!Register()) return false;
  HWND handle;
  {
    const TCreationScope creating(this);
    handle = PerformCreate();
  }
  if (!handle) {
    Detach();
    return false;
  }
  if (!HWindow) {
    // A predefined class (a control, the MDI client): its procedure is the
    // platform's, so the window is attached and subclassed after the fact.
    AttachSubclass(handle);
    SetupWindow();
  }
  return true;
}

void TWindow::Destroy(int) {
  if (HWindow && !Alias) ::DestroyWindow(HWindow);
}

void TWindow::CreateChildren() {
  // Copy: a child's creation may add windows to the list.
  std::vector<TWindow*> children = Children;
  for (TWindow* child : children) {
    if (child->HWindow) continue;
    if (child->FromResource) {
      if (HWND item = GetDlgItem(HWindow, child->Attr.Id)) {
        child->AttachSubclass(item);
        child->SetupWindow();
      }
    } else {
      child->Create();
    }
  }
}

void TWindow::SetupWindow() {
  CreateChildren();
  if (Icon) ::SendMessageA(HWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
  // Page steps follow the window's size at WM_SIZE (which creation sends);
  // a window that handles WM_SIZE itself keeps the steps it chose.
  if (Scroller) Scroller->SetSBarRange();
}

bool TWindow::CanClose() {
  return std::all_of(Children.begin(), Children.end(),
                     [](TWindow* child) { return !child->HWindow || child->CanClose(); });
}

void TWindow::Paint(HDC, bool, RECT&) {}

bool TWindow::PreProcessMsg(MSG&) {
  return false;
}

void TWindow::IdleAction(long idleCount) {
  std::vector<TWindow*> children = Children;
  for (TWindow* child : children)
    if (child->HWindow) child->IdleAction(idleCount);
}

void TWindow::SetWindowText(const char* text) {
  Title = text ? text : "";
  if (HWindow) ::SetWindowTextA(HWindow, Title.c_str());
}

bool TWindow::SetIcon(HINSTANCE module, LPCSTR resName) {
  Icon = LoadIconA(module, resName);
  if (Icon && HWindow) ::SendMessageA(HWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
  return Icon != nullptr;
}

// ---- dispatch ---------------------------------------------------------------

LRESULT TWindow::ReceiveMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const TMessage message{msg, wParam, lParam};
  LRESULT result;
  if (msg == WM_COMMAND)
    result = EvCommand(message);
  else if (const TEventEntry* entry = FindEntry(msg))
    result = entry->Dispatch(*this, message);
  else
    result = DefaultProcessing(message);
  // After the last message the handle no longer leads here.
  if (msg == WM_NCDESTROY) Detach();
  return result;
}

const TEventEntry* TWindow::FindEntry(UINT msg, UINT id, UINT code) const {
  if (msg != WM_COMMAND && msg != WM_COMMAND_ENABLE)
    return GetResponseTable().Find([&](const TEventEntry& e) { return e.Msg == msg; });
  // A notification entry answers only its own code; command entries any.
  return GetResponseTable().Find([&](const TEventEntry& e) {
    return e.Msg == msg && e.Id == id && (e.Code == TEventEntry::AnyCode || e.Code == code);
  });
}

LRESULT TWindow::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (DefaultProc) return CallWindowProcA(DefaultProc, HWindow, msg, wParam, lParam);
  return ::DefWindowProcA(HWindow, msg, wParam, lParam);
}

LRESULT TWindow::EvCommand(const TMessage& message) {
  const UINT id = LOWORD(message.WParam);
  // A control's notification belongs to the control's parent: this window.
  if (message.LParam) {
    if (const TEventEntry* entry = FindEntry(WM_COMMAND, id, HIWORD(message.WParam)))
      return entry->Dispatch(*this, message);
    return DefaultProcessing(message);
  }
  // Menu, accelerator and posted commands: from the command target up.
  for (TWindow* window = GetCommandTarget(); window; window = window->Parent)
    if (const TEventEntry* entry = window->FindEntry(WM_COMMAND, id))
      return entry->Dispatch(*window, message);
  return DefaultProcessing(message);
}

void TWindow::EvCommandEnable(TCommandEnabler& enabler) {
  if (const TEventEntry* entry = FindEntry(WM_COMMAND_ENABLE, enabler.GetId())) {
    enabler.SetHandled();
    entry->Dispatch(*this, TMessage{WM_COMMAND_ENABLE, 0, reinterpret_cast<LPARAM>(&enabler)});
  }
}

void TWindow::RouteCommandEnable(TCommandEnabler& enabler) {
  for (TWindow* window = GetCommandTarget(); window && !enabler.GetHandled(); window = window->Parent)
    window->EvCommandEnable(enabler);
}

// ---- TWindow's own handling -------------------------------------------------

// The root table: written out, since it has no base to chain to.
const TWindowResponseTable& TWindow::ResponseTable() {
  using TThisClass = TWindow;
  // clang-format off
  static const TEventEntry entries[] = {
      EV_MESSAGE(WM_CREATE, EvCreate),
      EV_WM_CLOSE(EvClose),
      EV_MESSAGE(WM_DESTROY, EvDestroy),
      EV_MESSAGE(WM_PAINT, EvPaint),
      EV_WM_SIZE(EvSize),
      EV_WM_HSCROLL(EvHScroll),
      EV_WM_VSCROLL(EvVScroll),
      EV_WM_MOUSEMOVE(EvMouseMove),
      EV_MESSAGE(WM_INITMENUPOPUP, EvInitMenuPopup),
      {0, 0, 0, nullptr}};
  // clang-format on
  static const TWindowResponseTable table{entries, nullptr};
  return table;
}

LRESULT TWindow::EvCreate(const TMessage& message) {
  SetupWindow();
  return DefaultProcessing(message);
}

void TWindow::EvClose() {
  if (CanClose()) Destroy();
}

LRESULT TWindow::EvDestroy(const TMessage& message) {
  TApplication* app = GetApplication();
  if (app && app->IsMainWindow(*this)) PostQuitMessage(0);
  return DefaultProcessing(message);
}

LRESULT TWindow::EvPaint(const TMessage& message) {
  // Windows of predefined classes paint themselves.
  if (DefaultProc) return DefaultProcessing(message);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(HWindow, &ps);
  if (Scroller) Scroller->BeginView(dc, ps.rcPaint);
  Paint(dc, ps.fErase, ps.rcPaint);
  if (Scroller) Scroller->EndView(dc);
  EndPaint(HWindow, &ps);
  return 0;
}

void TWindow::EvSize(UINT sizeType, int cx, int cy) {
  if (Scroller && sizeType != SIZE_MINIMIZED) {
    Scroller->SetPageSize();
    Scroller->SetSBarRange();
  }
  DefWindowProc(WM_SIZE, sizeType, MAKELPARAM(cx, cy));
}

void TWindow::EvHScroll(UINT scrollCode, int thumbPos, HWND scrollBar) {
  if (Scroller && !scrollBar)
    Scroller->HScroll(scrollCode, thumbPos);
  else  // a scroll-bar control's own
    DefWindowProc(WM_HSCROLL, MAKEWPARAM(scrollCode, thumbPos), reinterpret_cast<LPARAM>(scrollBar));
}

void TWindow::EvVScroll(UINT scrollCode, int thumbPos, HWND scrollBar) {
  if (Scroller && !scrollBar)
    Scroller->VScroll(scrollCode, thumbPos);
  else
    DefWindowProc(WM_VSCROLL, MAKEWPARAM(scrollCode, thumbPos), reinterpret_cast<LPARAM>(scrollBar));
}

void TWindow::EvMouseMove(UINT modKeys, POINT point) {
  if (Scroller && GetCapture() == HWindow) Scroller->AutoScroll();
  DefWindowProc(WM_MOUSEMOVE, modKeys, MAKELPARAM(point.x, point.y));
}

LRESULT TWindow::EvInitMenuPopup(const TMessage& message) {
  HMENU menu = reinterpret_cast<HMENU>(message.WParam);
  if (!HIWORD(message.LParam)) {  // not the system menu
    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
      const UINT id = GetMenuItemID(menu, pos);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or popup
      TMenuItemEnabler enabler(menu, id, static_cast<UINT>(pos));
      RouteCommandEnable(enabler);
    }
  }
  return DefaultProcessing(message);
}
