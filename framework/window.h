// TWindow: a library window. It holds the platform handle, the creation
// attributes, the title, the parent and child objects and the scroller slot;
// it receives its messages through its response table (own entries first,
// then the base class's) and falls back on default processing.
//
// Every window the library creates or subclasses is entered in a per-process
// handle-to-object map; GetWindowPtr looks a handle up and answers null for a
// foreign window (nothing stored in the window itself is trusted). An alias
// (TWindow(HWND)) wraps an existing handle without owning it and is not in
// the map. A parent owns only the children handed to it with InsertChild;
// children that are members of their parent's object (dialog controls) are
// merely linked. All library windows live on one thread (see README.md).
#pragma once
#include <windows.h>

#include <memory>
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
  // The window whose system window is being created; the first-message
  // procedures attach it. Exposed for windows that create themselves.
  static void SetCreationWindow(TWindow* window);
  static TWindow* GetCreationWindow();

  HWND GetHandle() const { return HWindow; }
  bool IsAlias() const { return Alias; }
  TWindow* GetParent() const { return Parent; }
  HWND GetParentHandle() const { return Parent ? Parent->HWindow : nullptr; }
  // Takes ownership of a child object: it becomes this window's child and is
  // deleted with this object. Create it yourself, or let this window's
  // creation create it.
  template <class T>
  T& InsertChild(std::unique_ptr<T> child) {
    T& inserted = *child;
    AdoptChild(std::move(child));
    return inserted;
  }
  // Gives up an owned child object (null if this window does not own it).
  std::unique_ptr<TWindow> ReleaseChild(TWindow& child);
  // Every child object, owned or only linked.
  const std::vector<TWindow*>& GetChildren() const { return Children; }
  TWindow* ChildWithId(int id) const;
  int GetId() const { return Attr.Id; }
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
  virtual bool CanClose();
  virtual void Paint(HDC dc, bool erase, RECT& rect);
  virtual bool PreProcessMsg(MSG& msg);
  virtual void IdleAction(long idleCount);

  // Dispatch.
  virtual const TWindowResponseTable& GetResponseTable() const { return ResponseTable(); }
  static const TWindowResponseTable& ResponseTable();
  // The platform's default for this kind of window.
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Default processing of a message (normally the one being handled).
  LRESULT DefaultProcessing(const TMessage& message) {
    return DefWindowProc(message.Msg, message.WParam, message.LParam);
  }
  // WM_COMMAND. A control's notification goes to this window's own entries
  // (EV_CHILD_NOTIFY for its code, else EV_COMMAND for its id); any other
  // command starts at the command target and goes up the parent chain.
  virtual LRESULT EvCommand(const TMessage& message);
  virtual TWindow* GetCommandTarget() { return this; }
  // Presents an enabler to this window's own enabler entries.
  virtual void EvCommandEnable(TCommandEnabler& enabler);
  // Presents an enabler along the command route until one handles it.
  void RouteCommandEnable(TCommandEnabler& enabler);

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
  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::SendMessageA(HWindow, msg, wp, lp); }
  bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::PostMessageA(HWindow, msg, wp, lp); }
  void GetClientRect(RECT& rect) const { ::GetClientRect(HWindow, &rect); }
  void GetWindowRect(RECT& rect) const { ::GetWindowRect(HWindow, &rect); }
  bool IsWindowVisible() const { return ::IsWindowVisible(HWindow); }
  void SetFocus() { ::SetFocus(HWindow); }
  // Icon from a module's resources, shown now or once the window exists.
  bool SetIcon(HINSTANCE module, LPCSTR resName);
  // Takes ownership of the scroller (the previous one is deleted).
  template <class T>
  T& SetScroller(std::unique_ptr<T> scroller) {
    T& set = *scroller;
    Scroller = std::move(scroller);
    return set;
  }
  TScroller* GetScroller() const { return Scroller.get(); }

  // The library's own handling, bound in TWindow's table; a derived handler
  // may call these explicitly.
  void EvClose();
  void EvSize(UINT sizeType, int cx, int cy);
  void EvHScroll(UINT scrollCode, int thumbPos, HWND scrollBar);
  void EvVScroll(UINT scrollCode, int thumbPos, HWND scrollBar);
  void EvMouseMove(UINT modKeys, POINT point);

  HWND HWindow = nullptr;
  TWindowAttr Attr;
  std::string Title;

 protected:
  // Creates the system window; derived kinds (MDI child, dialog) override.
  virtual HWND PerformCreate();
  void CreateChildren();
  // Deletes the owned child objects, last inserted first, and unlinks the rest.
  void DeleteChildren();
  void SetParent(TWindow* parent);

  TWindow* Parent = nullptr;
  std::vector<TWindow*> Children;  // every child object, owned or not
  std::unique_ptr<TScroller> Scroller;
  WNDPROC DefaultProc = nullptr;  // the previous procedure of a subclassed window
  HICON Icon = nullptr;
  bool FromResource = false;  // bound to a dialog item by id

 private:
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);
  friend INT_PTR CALLBACK StdDlgProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT ReceiveMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  const TEventEntry* FindEntry(UINT msg, UINT id = 0, UINT code = TEventEntry::AnyCode) const;
  void AdoptChild(std::unique_ptr<TWindow> child);
  void Attach(HWND handle);
  void Detach();
  void Subclass();
  // TWindow's own handling of messages that have no typed binding.
  LRESULT EvCreate(const TMessage& message);
  LRESULT EvDestroy(const TMessage& message);
  LRESULT EvPaint(const TMessage& message);
  LRESULT EvInitMenuPopup(const TMessage& message);

  std::vector<std::unique_ptr<TWindow>> Owned;  // the children this object deletes
  bool Alias = false;
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
