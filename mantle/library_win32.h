// What the library's Win32 parts share: the module, the event queue's entry
// for window procedures, window-handle bits, and the resource-file loader.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "framework/window.h"
#include "mantle/message_retrieval.h"

class TApplication;

namespace mantle {

// Records carry window handles as 32 bits; 64-bit Windows keeps window
// handles within 32 bits and widens them by sign extension.
inline std::uint32_t HandleBits(HWND window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}
inline HWND WindowFromBits(std::uint32_t bits) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(bits)));
}

// The module instance recorded when the library was attached to the process.
HINSTANCE ModuleInstance();

// The application context that _EnableMantle creates, named "dummy
// application"; the window, dialog and control objects take their module and
// instance from it. Null while the library is not enabled.
TApplication* Application();

// Appends a library window's event {window, message, wParam, lParam, 0} to
// the queue. Dropped while the library is not enabled, or when no node can
// be allocated.
void QueueEvent(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Queues the message being dispatched to a library window.
inline void QueueEvent(HWND window, const TMessage& message) {
  QueueEvent(window, message.Msg, message.WParam, message.LParam);
}

// Runs the class library's handling of the message being dispatched, then
// queues it. The window's handle is taken first: the handling may destroy
// the window.
template <class Handling>
LRESULT HandleThenQueue(TWindow& window, const TMessage& message, Handling handling) {
  const HWND handle = window.HWindow;
  const LRESULT result = handling();
  QueueEvent(handle, message);
  return result;
}

// Waits for a running pixel batch and lets go of its worker's handle.
void FinishPixelBatch();
// Lets go of the worker's handle without waiting: for the library's unload,
// which may run on the worker itself as it lets go of the library.
void ForgetPixelWorker();

// The kind of a window, from the first five characters of its class name.
WindowKind KindOfWindow(HWND window);
// Whether a window's class name, upper-cased, begins with `upperPrefix`.
bool ClassNameBeginsNoCase(HWND window, std::string_view upperPrefix);

// Turns record handles back into library windows and their ids.
const WindowDirectory& LibraryWindows();

// A private copy of one resource's data from a compiled resource file, in a
// movable global block the caller owns and frees; null when the file cannot
// be read or holds no such resource. `name` is a string or MAKEINTRESOURCEA(id).
HGLOBAL LoadResourceFromFile(LPCSTR file, LPCSTR name, int type);

}  // namespace mantle
