// Graphics windows and drawing: calls on a graphics window's context are
// drawn at the scroll position on the screen and again into the backing
// bitmap; pixel batches are drawn by a worker thread.
#include <cstring>
#include <new>

#include "framework/scroller.h"
#include "mantle/global_block_win32.h"
#include "mantle/library_win32.h"
#include "mantle/mantle.h"
#include "mantle/zwindow_win32.h"

using namespace mantle;

namespace {

// ---- finding the window of a context ---------------------------------------------

struct DCSearch {
  HDC dc;
  TZGraphWindow* found;
};

BOOL CALLBACK MatchGraphWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DCSearch*>(param);
  if (KindOfWindow(window) != WindowKind::kGraphics) return TRUE;
  TZGraphWindow* graphics = GraphWindowOf(window);
  if (graphics != nullptr && graphics->CurrentDC != nullptr && graphics->CurrentDC == search->dc) {
    search->found = graphics;
    return FALSE;
  }
  return TRUE;
}

// The top-level graphics window of this thread whose current context is `dc`.
TZGraphWindow* FindGraphWindowForDC(HDC dc) {
  if (dc == nullptr) return nullptr;
  DCSearch search{dc, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchGraphWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Client coordinates become bitmap coordinates, clipped to the bitmap.
void EnterBitmapView(HDC dc, const TZGraphWindow& window) {
  const TScroller* scroller = window.GetScroller();
  const int x = scroller != nullptr ? static_cast<int>(scroller->XPos) : 0;
  const int y = scroller != nullptr ? static_cast<int>(scroller->YPos) : 0;
  SetWindowOrgEx(dc, x, y, nullptr);
  SelectClipRgn(dc, window.ClipRegion);
}

// Waits for a running pixel batch (a context is never used from two threads),
// then enters the bitmap view of the graphics window whose context `dc` is.
TZGraphWindow* EnterDrawing(HDC dc) {
  FinishPixelBatch();
  TZGraphWindow* window = FindGraphWindowForDC(dc);
  if (window != nullptr) EnterBitmapView(dc, *window);
  return window;
}

// One drawing call on `dc` and, for a graphics window's context, the same
// call on its backing bitmap; the result is the first call's.
template <class Draw>
auto Mirrored(HDC dc, Draw draw) {
  TZGraphWindow* window = EnterDrawing(dc);
  const auto result = draw(dc);
  if (window != nullptr && window->MemoryDC != nullptr) draw(window->MemoryDC);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  return result;
}

// ---- pixel batches ---------------------------------------------------------------

struct PixelBatch {
  HDC target = nullptr;
  HDC memory = nullptr;
  unsigned count = 0;
  HGLOBAL pixels = nullptr;
};

PixelBatch batch;
HANDLE worker = nullptr;

DWORD WINAPI DrawPixelBatch(LPVOID module) {
  {
    const GlobalBlock block(batch.pixels);
    const LockedBlock bytes(block.get());
    const auto* pixels = reinterpret_cast<const tagBPixel*>(bytes.data());
    if (pixels != nullptr) {
      for (unsigned i = 0; i < batch.count; ++i)
        SetPixel(batch.target, pixels[i].x, pixels[i].y, pixels[i].color);
      if (batch.memory != nullptr) {
        for (unsigned i = 0; i < batch.count; ++i)
          SetPixel(batch.memory, pixels[i].x, pixels[i].y, pixels[i].color);
      }
    }
  }
  batch.pixels = nullptr;
  SetWindowOrgEx(batch.target, 0, 0, nullptr);
  // The worker's own reference keeps the library loaded until here.
  FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

}  // namespace

namespace mantle {

void FinishPixelBatch() {
  if (worker == nullptr) return;
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  worker = nullptr;
}

void ForgetPixelWorker() {
  if (worker != nullptr) CloseHandle(worker);
  worker = nullptr;
}

}  // namespace mantle

extern "C" HWND WINAPI _CreateGraphWindow(LPCSTR title, int id, DWORD style, UINT, UINT, UINT width,
                                          UINT height, UINT bitmapWidth, UINT bitmapHeight, HWND parent) {
  if (Application() == nullptr) return nullptr;
  TWindow* parentObject = ParentObject(parent);
  if (parentObject == nullptr) return nullptr;
  auto made = MakeOrNull<TZGraphWindow>(parentObject, title, id, Low16(width), Low16(height),
                                        Low16(bitmapWidth), Low16(bitmapHeight));
  if (made == nullptr) return nullptr;
  if (style != 0) made->Attr.Style = style;
  TZGraphWindow& window = *made;
  if (AdoptAndCreate(*parentObject, std::move(made)) == nullptr) return nullptr;
  window.CreateBacking();
  return window.HWindow;
}

extern "C" HDC WINAPI _GetDC(HWND window) {
  TZGraphWindow* graphics = GraphWindowOf(window);
  if (graphics == nullptr) return nullptr;
  graphics->CurrentDC = GetDC(window);
  return graphics->CurrentDC;
}

extern "C" int WINAPI _ReleaseDC(HWND window, HDC dc) {
  if (GraphWindowOf(window) == nullptr || dc == nullptr) return 0;
  FinishPixelBatch();  // a batch may still draw on it
  return ReleaseDC(window, dc);
}

extern "C" int WINAPI _MoveTo(HDC dc, int x, int y) {
  return Mirrored(dc, [&](HDC target) { return MoveToEx(target, x, y, nullptr); });
}

extern "C" int WINAPI _LineTo(HDC dc, int x, int y) {
  return Mirrored(dc, [&](HDC target) { return LineTo(target, x, y); });
}

extern "C" int WINAPI _Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return Mirrored(dc, [&](HDC target) { return Rectangle(target, left, top, right, bottom); });
}

extern "C" int WINAPI _Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return Mirrored(dc, [&](HDC target) { return Ellipse(target, left, top, right, bottom); });
}

extern "C" int WINAPI _TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  return Mirrored(dc, [&](HDC target) { return TextOutA(target, x, y, text, length); });
}

extern "C" COLORREF WINAPI _SetPixel(HDC dc, int x, int y, COLORREF colour) {
  return Mirrored(dc, [&](HDC target) { return SetPixel(target, x, y, colour); });
}

extern "C" HGDIOBJ WINAPI _SelectObject(HDC dc, HGDIOBJ object) {
  return Mirrored(dc, [&](HDC target) { return SelectObject(target, object); });
}

void WINAPI _SetPixels(HDC dc, unsigned short count, tagBPixel* pixels) {
  const TZGraphWindow* window = EnterDrawing(dc);
  batch.memory = window != nullptr ? window->MemoryDC : nullptr;
  batch.target = dc;
  batch.count = count;
  // The caller may reuse its array as soon as this returns.
  GlobalBlock copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::size_t(count) * sizeof(tagBPixel)));
  if (copy && count != 0 && pixels != nullptr) {
    const LockedBlock bytes(copy.get());
    if (bytes.data() != nullptr) std::memcpy(bytes.data(), pixels, std::size_t(count) * sizeof(tagBPixel));
  } else if (count != 0) {
    batch.count = 0;  // nothing to draw from
  }
  batch.pixels = copy.get();
  // The worker runs code of this library: it holds a reference of its own so
  // that FreeLibrary by the client cannot unload the library under it.
  HMODULE self = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&DrawPixelBatch),
                         &self)) {
    worker = CreateThread(nullptr, 0, &DrawPixelBatch, self, 0, nullptr);
    if (worker != nullptr) {
      copy.release();  // the worker frees it
      return;
    }
    FreeLibrary(self);
  }
  batch.pixels = nullptr;  // the block goes with `copy`
  SetWindowOrgEx(dc, 0, 0, nullptr);
}

extern "C" COLORREF WINAPI _GetPixel(HDC dc, int x, int y) {
  FinishPixelBatch();
  return GetPixel(dc, x, y);
}

extern "C" int WINAPI _GetCurrentPosition(HDC dc, POINT* point) {
  return GetCurrentPositionEx(dc, point);
}

extern "C" int WINAPI _DeleteDC(HDC dc) {
  FinishPixelBatch();  // a batch may still draw on it
  return DeleteDC(dc);
}

extern "C" int WINAPI _GetDeviceCaps(HDC dc, int index) {
  return GetDeviceCaps(dc, index);
}

extern "C" HPEN WINAPI _CreatePen(int style, int width, COLORREF colour) {
  return CreatePen(style, width, colour);
}

extern "C" HGDIOBJ WINAPI _GetStockObject(int index) {
  return GetStockObject(index);
}

extern "C" int WINAPI _DeleteObject(HGDIOBJ object) {
  return DeleteObject(object);
}
