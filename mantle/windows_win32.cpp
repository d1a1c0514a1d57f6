// Exports that create, close and delete windows, and the thin window and
// platform wrappers.
#include <array>
#include <vector>

#include "framework/scroller.h"
#include "mantle/library_win32.h"
#include "mantle/mantle.h"
#include "mantle/zwindow_win32.h"

using namespace mantle;

namespace {

// Each library window has a class of its own (its name carries the tick
// count), and the platform keeps a class until it is unregistered: a client
// that creates and deletes windows would grow the process by a class each.
struct WindowClass {
  std::array<char, 32> name{};
  HINSTANCE module = nullptr;
};

// The library classes of an object and the objects it deletes with it.
void CollectClasses(TWindow& object, std::vector<WindowClass>& classes) {
  if (object.HWindow != nullptr && KindOfWindow(object.HWindow) != WindowKind::kOther) {
    WindowClass entry;
    if (GetClassNameA(object.HWindow, entry.name.data(), static_cast<int>(entry.name.size())) > 0) {
      entry.module = reinterpret_cast<HINSTANCE>(GetClassLongPtrA(object.HWindow, GCLP_HMODULE));
      classes.push_back(entry);
    }
  }
  for (TWindow* child : object.GetChildren()) CollectClasses(*child, classes);
}

// Refused while another window of the class lives (one made in the same
// tick shares it): that window's own deletion releases it.
void ReleaseClasses(const std::vector<WindowClass>& classes) {
  for (const WindowClass& entry : classes) UnregisterClassA(entry.name.data(), entry.module);
}

}  // namespace

extern "C" HWND WINAPI _CreateWindow(DWORD style, HWND parent, LPCSTR title, int id, UINT x, UINT y,
                                     UINT width, UINT height) {
  if (Application() == nullptr) return nullptr;
  TWindow* parentObject = ParentObject(parent);
  if (parentObject == nullptr) return nullptr;
  auto window =
      MakeOrNull<TZWindow>(parentObject, title, id, Low16(x), Low16(y), Low16(width), Low16(height));
  if (window == nullptr) return nullptr;
  if (style != 0) window->Attr.Style = (style & ~(WS_HSCROLL | WS_VSCROLL)) | WS_MAXIMIZEBOX;
  TWindow* made = AdoptAndCreate(*parentObject, std::move(window));
  return made != nullptr ? made->HWindow : nullptr;
}

extern "C" int WINAPI _ShowWindow(HWND window, int command) {
  return ShowWindow(window, command);
}

extern "C" int WINAPI _MoveWindow(HWND window, int x, int y, int width, int height, int repaint) {
  return MoveWindow(window, x, y, width, height, repaint);
}

extern "C" int WINAPI _CloseWindow(HWND window) {
  return static_cast<int>(SendMessageA(window, WM_CLOSE, 0, 0));
}

extern "C" int WINAPI _DeleteWindow(HWND window) {
  // A pixel batch may be drawing on the window's context.
  FinishPixelBatch();
  TWindow* object = TWindow::GetWindowPtr(window);
  if (object == nullptr) {
    DestroyWindow(window);
    return 1;
  }
  if (ClassNameBeginsNoCase(window, "OWLZDIALOG")) {
    if (TZDialog* dialog = ZDialogOf(window)) {
      // The very window it disabled, foreign parents included.
      if (dialog->DisabledParent != nullptr) EnableWindow(dialog->DisabledParent, TRUE);
    }
  }
  std::vector<WindowClass> classes;
  CollectClasses(*object, classes);
  object->Destroy();
  // Its parent object owns it; a dialog made without one was left to us.
  TWindow* parent = object->GetParent();
  std::unique_ptr<TWindow> owned =
      parent != nullptr ? parent->ReleaseChild(*object) : std::unique_ptr<TWindow>(object);
  owned.reset();  // the objects go before their classes
  ReleaseClasses(classes);
  return 1;
}

extern "C" int WINAPI _AssignMenu(HWND window, HMENU menu) {
  TZWindow* object = ZWindowOf(window);
  return object != nullptr ? object->SetMenuBar(menu) : 0;
}

extern "C" int WINAPI _AssignIcon(HWND window, HICON icon) {
  TZWindow* object = ZWindowOf(window);
  return object != nullptr ? object->SetClassIcon(icon) : 0;
}

extern "C" int WINAPI _AssignCursor(HWND window, HCURSOR cursor) {
  TZWindow* object = ZWindowOf(window);
  return object != nullptr ? object->SetClassCursor(cursor) : 0;
}

extern "C" int WINAPI _SetWindowText(HWND window, LPCSTR text) {
  return SetWindowTextA(window, text);
}

extern "C" int WINAPI _GetWindowText(HWND window, LPSTR buffer) {
  return GetWindowTextA(window, buffer, 128);
}

extern "C" int WINAPI _SetWindowWord(HWND window, int index, UINT value) {
  return SetWindowWord(window, index, static_cast<WORD>(Low16(value)));
}

extern "C" int WINAPI _GetWindowWord(HWND window, int index) {
  return GetWindowWord(window, index);
}

extern "C" LONG WINAPI _SetWindowLong(HWND window, int index, LONG value) {
  return SetWindowLongA(window, index, value);
}

extern "C" LONG WINAPI _GetWindowLong(HWND window, int index) {
  return GetWindowLongA(window, index);
}

extern "C" HWND WINAPI _SetFocus(HWND window) {
  return SetFocus(window);
}

extern "C" HWND WINAPI _GetFocus(void) {
  return GetFocus();
}

extern "C" HWND WINAPI _SetCapture(HWND window) {
  return SetCapture(window);
}

extern "C" int WINAPI _ReleaseCapture(void) {
  return ReleaseCapture();
}

extern "C" int WINAPI _EnableWindow(HWND window, int enable) {
  return EnableWindow(window, enable);
}

extern "C" HWND WINAPI _ChildWithId(HWND window, int id) {
  if (window == nullptr) return nullptr;
  if (HWND item = GetDlgItem(window, id)) return item;
  TWindow* object = TWindow::GetWindowPtr(window);
  TWindow* child = object != nullptr ? object->ChildWithId(id) : nullptr;
  return child != nullptr ? child->HWindow : nullptr;
}

extern "C" int WINAPI _GetWindowScrollerPos(HWND window, POINT* position) {
  if (window == nullptr) return 0;
  if (KindOfWindow(window) != WindowKind::kGraphics) return 0;
  TZGraphWindow* graphics = GraphWindowOf(window);
  if (graphics == nullptr || graphics->GetScroller() == nullptr || position == nullptr) return 0;
  position->x = graphics->GetScroller()->XPos;
  position->y = graphics->GetScroller()->YPos;
  return 1;
}

extern "C" HWND WINAPI _FindWindow(LPCSTR title) {
  return FindWindowA(nullptr, title);
}

extern "C" int WINAPI _GetCursorPos(POINT* point) {
  return GetCursorPos(point);
}

extern "C" int WINAPI _SetCursorPos(int x, int y) {
  return SetCursorPos(x, y);
}

extern "C" int WINAPI _MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  return MessageBoxExA(GetFocus(), text, caption, type, 0);
}

extern "C" int WINAPI _MessageBeep(UINT type) {
  return MessageBeep(type);
}

extern "C" HICON WINAPI _LoadIcon(UINT id) {
  return LoadIconA(nullptr, MAKEINTRESOURCEA(Low16(id)));
}

extern "C" HCURSOR WINAPI _LoadCursor(UINT id) {
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(Low16(id)));
}

extern "C" HCURSOR WINAPI _SetCursor(HCURSOR cursor) {
  return SetCursor(cursor);
}

extern "C" int WINAPI _GetSystemMetrics(int index) {
  return GetSystemMetrics(index);
}
