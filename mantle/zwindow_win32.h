// The library's window classes on the class library: TZWindow (plain),
// TZGraphWindow (with a backing bitmap) and TZDialog (from a resource file).
// Each queues its events for the client and carries the client's id.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "framework/dialog.h"
#include "framework/window.h"
#include "mantle/window_kind.h"

namespace mantle {

class TZWindow : public TWindow {
 public:
  TZWindow(TWindow* parent, const char* title, std::int32_t id, int x, int y, int w, int h);

  // Added after TWindow's operations, in this order.
  virtual int AssignMenuResource(LPCSTR menu);
  virtual int SetMenuBar(HMENU menu);
  virtual int SetClassIcon(HICON icon);
  virtual int SetClassCursor(HCURSOR cursor);

  bool CanClose() override { return true; }
  LRESULT EvCommand(const TMessage& message) override;
  void EvCommandEnable(TCommandEnabler& enabler) override;
  void GetWindowClass(WNDCLASSA& wc) override;
  const char* GetClassName() override;

  std::int32_t ClientId() const { return Id; }

  // Handlers of the events the client sees.
  LRESULT EvQueueThenDefault(const TMessage& message);
  LRESULT EvQueueOnly(const TMessage& message);
  LRESULT EvScrollThenQueue(const TMessage& message);

  DECLARE_RESPONSE_TABLE(TZWindow);

 protected:
  // The kind that names the class; formed once, when first needed.
  virtual WindowKind Kind() const { return WindowKind::kPlain; }

 private:
  std::int32_t Id;
  ClassNameField ClassName{};
};

class TZGraphWindow : public TZWindow {
 public:
  TZGraphWindow(TWindow* parent, const char* title, std::int32_t id, int w, int h, int bitmapWidth,
                int bitmapHeight);
  ~TZGraphWindow() override;

  // The backing bitmap and its memory context, made once the window exists.
  void CreateBacking();
  void Paint(HDC dc, bool erase, RECT& rect) override;

  LRESULT EvMouseMoveThenDefault(const TMessage& message);
  void EvSize(UINT sizeType, int cx, int cy);

  HDC CurrentDC = nullptr;
  HDC MemoryDC = nullptr;
  HBITMAP Bitmap = nullptr;
  HRGN ClipRegion = nullptr;
  int BitmapWidth;
  int BitmapHeight;

  DECLARE_RESPONSE_TABLE(TZGraphWindow);

 protected:
  WindowKind Kind() const override { return WindowKind::kGraphics; }

 private:
  void ShowRange(int bar, long range, long position);
  HGDIOBJ OldBitmap = nullptr;
};

class TZDialog : public TDialog {
 public:
  // `file` is a string, or null when the argument's high 16 bits were zero.
  TZDialog(TWindow* parent, LPCSTR name, const char* file, std::int32_t id, int disableParent);

  INT_PTR DialogFunction(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT EvCommand(const TMessage& message) override;
  void EvCommandEnable(TCommandEnabler& enabler) override;
  const char* GetClassName() override;
  // OK and Cancel tell the client; the dialog stays until _DeleteWindow.
  void CmOk() override;
  void CmCancel() override;

  LRESULT EvQueueThenDefault(const TMessage& message);
  void EvClose() {}  // the client closes its dialogs with _DeleteWindow

  std::int32_t ClientId() const { return Id; }
  // -5 when the template could not be loaded or the window not made.
  int CreationError() const { return Error; }

  // The window this dialog disabled, enabled again by _DeleteWindow.
  HWND DisabledParent = nullptr;

  DECLARE_RESPONSE_TABLE(TZDialog);

 protected:
  HWND DoCreate() override;

 private:
  void QueueButton(int id);

  std::int32_t Id;
  std::optional<std::string> File;
  int DisableParent;
  std::uint16_t Tick;
  ClassNameField ClassName;
  int Error = 0;
};

// The library object of a handle, when it is one of these kinds.
TZWindow* ZWindowOf(HWND window);
TZGraphWindow* GraphWindowOf(HWND window);
TZDialog* ZDialogOf(HWND window);

// The parent object for a new window: the library or class-library object
// of the handle, else one shared alias per foreign handle (0: no parent).
TWindow* ParentObject(HWND parent);

// A new object, or null when memory runs out: the exports fail softly.
template <class T, class... Args>
std::unique_ptr<T> MakeOrNull(Args&&... args) {
  return std::unique_ptr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

// Hands a new object to the parent object, which owns it from then on, and
// creates its window; when that fails the object goes again. The object, or
// null.
TWindow* AdoptAndCreate(TWindow& parent, std::unique_ptr<TWindow> object);

// A 16-bit argument: the low 16 bits of its stack word, zero-extended.
inline int Low16(UINT value) {
  return static_cast<int>(value & 0xFFFFu);
}

}  // namespace mantle
