// TWindow: a library window. It holds the platform handle, the creation
// attributes, the title, the parent and child objects and the scroller slot;
// it receives its messages through its response table (own entries first,
// then the base class's) and falls back on default processing.
//
// Every window the library creates or subclasses is entered in a per-process
// handle-to-object map; GetWindowPtr looks a handle up and answers null for a
// foreign window (nothing stored in the window itself is trusted). An alias
// (TWindow(HWND)) wraps an existing handle without owning it and is not in
// the map. Child objects are deleted with their parent object.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/event.h"

class TApplication;
class TScroller;
class TCommandEnabler;

// The first-message window procedure of every class the library registers:
// it attaches the window being created to its object, then hands over.
LRESULT CALLBACK InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The window procedure of attached windows: looks up the object and dispatches.
LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The dialog procedure of library dialogs (see TDialog).
INT_PTR CALLBACK StdDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

struct TWindowAttr {
  DWORD Style = WS_CHILD | WS_VISIBLE;
  DWORD ExStyle = 0;
  int X = CW_USEDEFAULT, Y = 0, W = CW_USEDEFAULT, H = 0;
  int Id = 0;              // child id (the menu argument of child windows)
  LPCSTR Menu = nullptr;   // menu resource of a top-level window (name or MAKEINTRESOURCE)
  LPVOID Param = nullptr;  // creation parameter
};

class TWindow {
 public:
  TWindow(TWindow* parent, const char* title = nullptr);
  // Alias: wraps an existing handle (0 stands for "no parent"); never owns it.
  explicit TWindow(HWND handle);
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // Looks up the library object of a handle; null for foreign windows.
  static TWindow* GetWindowPtr(HWND handle);
  // The message currently being dispatched (any library window).
  static const TCurrentEvent& GetCurrentEvent();
  // The window whose system window is being created; the first-message
  // procedures attach it. Exposed for windows that create themselves.
  static void SetCreationWindow(TWindow* window);
  static TWindow* GetCreationWindow();

  HWND GetHandle() const { return HWindow; }
  operator HWND() const { return HWindow; }
  bool IsAlias() const { return Alias; }
  TWindow* GetParent() const { return Parent; }
  HWND GetParentHandle() const { return Parent ? Parent->HWindow : nullptr; }
  void SetParent(TWindow* parent);
  const std::vector<TWindow*>& GetChildren() const { return Children; }
  TWindow* ChildWithId(int id) const;
  int GetId() const { return Attr.Id; }
  const char* GetTitle() const { return Title.c_str(); }
  HINSTANCE GetInstance() const;
  TApplication* GetApplication() const;

  // Creation: registers the class if needed, creates the system window (its
  // set-up step runs inside) and attaches it.
  virtual bool Create();
  // Destroys the system window (its children go with it); the object stays.
  virtual void Destroy(int retVal = 0);
  // Attaches a window created elsewhere (a dialog item) and subclasses it.
  void AttachSubclass(HWND handle);
  // Binds this object to the dialog item with this id once the parent exists.
  void SetResourceId(int id);

  // Window class: registered under GetClassName with the settings of GetWindowClass.
  virtual const char* GetClassName();
  virtual void GetWindowClass(WNDCLASSA& wc);
  virtual bool Register();

  // Steps and queries that derived classes override.
  virtual void SetupWindow();
  virtual void CleanupWindow() {}
  virtual bool CanClose();
  virtual void Paint(HDC dc, bool erase, RECT& rect);
  virtual bool PreProcessMsg(MSG& msg);
  virtual void IdleAction(long idleCount);

  // Dispatch.
  virtual const TWindowResponseTable& GetResponseTable() const { return ResponseTable(); }
  static const TWindowResponseTable& ResponseTable();
  LRESULT ReceiveMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The platform's default for this kind of window.
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Default processing of the message being dispatched to this window.
  LRESULT DefaultProcessing();
  // Command routing: own table, then up the parent chain (menu commands start
  // at the command target).
  virtual LRESULT EvCommand(UINT id, HWND control, UINT notifyCode);
  virtual TWindow* GetCommandTarget() { return this; }
  // Presents an enabler to this window's own enabler entries.
  virtual void EvCommandEnable(TCommandEnabler& enabler);
  // Presents an enabler along the command route until one handles it.
  void RouteCommandEnable(TCommandEnabler& enabler);
  const TEventEntry* FindEntry(UINT msg, UINT id = 0) const;

  // Thin wrappers named after the platform calls.
  bool ShowWindow(int cmdShow) { return ::ShowWindow(HWindow, cmdShow); }
  bool MoveWindow(int x, int y, int w, int h, bool repaint = true) {
    return ::MoveWindow(HWindow, x, y, w, h, repaint);
  }
  void Invalidate(bool erase = true) { ::InvalidateRect(HWindow, nullptr, erase); }
  void InvalidateRect(const RECT& rect, bool erase = true) { ::InvalidateRect(HWindow, &rect, erase); }
  void UpdateWindow() { ::UpdateWindow(HWindow); }
  UINT_PTR SetTimer(UINT_PTR id, UINT ms) { return ::SetTimer(HWindow, id, ms, nullptr); }
  bool KillTimer(UINT_PTR id) { return ::KillTimer(HWindow, id); }
  void SetWindowText(const char* text);
  int GetWindowText(char* buffer, int size) const { return ::GetWindowTextA(HWindow, buffer, size); }
  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::SendMessageA(HWindow, msg, wp, lp); }
  bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::PostMessageA(HWindow, msg, wp, lp); }
  void GetClientRect(RECT& rect) const { ::GetClientRect(HWindow, &rect); }
  void GetWindowRect(RECT& rect) const { ::GetWindowRect(HWindow, &rect); }
  bool EnableWindow(bool enable) { return ::EnableWindow(HWindow, enable); }
  bool IsWindowVisible() const { return ::IsWindowVisible(HWindow); }
  bool IsIconic() const { return ::IsIconic(HWindow); }
  void SetFocus() { ::SetFocus(HWindow); }
  int MessageBox(const char* text, const char* caption, UINT type = MB_OK) {
    return ::MessageBoxA(HWindow, text, caption, type);
  }
  // Icon from a module's resources, shown now or once the window exists.
  bool SetIcon(HINSTANCE module, LPCSTR resName);
  // Takes ownership of the scroller (the previous one is deleted).
  void SetScroller(TScroller* scroller);
  TScroller* GetScroller() const { return Scroller; }

  // The library's own handling, bound in TWindow's table; a derived handler
  // may call these explicitly.
  LRESULT EvCreate(WPARAM, LPARAM);
  LRESULT EvClose(WPARAM, LPARAM);
  LRESULT EvDestroy(WPARAM, LPARAM);
  LRESULT EvPaint(WPARAM, LPARAM);
  LRESULT EvSize(WPARAM, LPARAM);
  LRESULT EvHScroll(WPARAM, LPARAM);
  LRESULT EvVScroll(WPARAM, LPARAM);
  LRESULT EvMouseMove(WPARAM, LPARAM);
  LRESULT EvInitMenuPopup(WPARAM, LPARAM);

  HWND HWindow = nullptr;
  TWindowAttr Attr;
  std::string Title;

 protected:
  // Creates the system window; derived kinds (MDI child, dialog) override.
  virtual HWND PerformCreate();
  void CreateChildren();

  TWindow* Parent = nullptr;
  std::vector<TWindow*> Children;
  TScroller* Scroller = nullptr;
  WNDPROC DefaultProc = nullptr;  // the previous procedure of a subclassed window
  HICON Icon = nullptr;
  bool FromResource = false;  // bound to a dialog item by id

 private:
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);
  friend INT_PTR CALLBACK StdDlgProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND handle);
  void Detach();
  void Subclass();
  bool Alias = false;
  TCurrentEvent* Event = nullptr;  // this window's message being dispatched
};

// Names `window` as the creation window for the scope's lifetime; a window
// the first-message procedure has not claimed is let go when it ends.
class TCreationScope {
 public:
  explicit TCreationScope(TWindow* window) : Window(window) { TWindow::SetCreationWindow(window); }
  ~TCreationScope() {
    if (TWindow::GetCreationWindow() == Window) TWindow::SetCreationWindow(nullptr);
  }
  TCreationScope(const TCreationScope&) = delete;
  TCreationScope& operator=(const TCreationScope&) = delete;

 private:
  TWindow* Window;
};
