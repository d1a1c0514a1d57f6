// Library start and stop, and the queue's exports.
#include "mantle/library_win32.h"

#include <memory>
#include <new>

#include "framework/application.h"
#include "framework/window.h"
#include "mantle/mantle.h"

namespace mantle {
namespace {

HINSTANCE module_instance = nullptr;
// One of each per process, both absent while the library is not enabled.
std::unique_ptr<TApplication> application;
std::unique_ptr<MesQueue> queue;

}  // namespace

HINSTANCE ModuleInstance() {
  return module_instance;
}

TApplication* Application() {
  return application.get();
}

void QueueEvent(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!queue) return;
  queue->Append(QueuedMessage{HandleBits(window), message, static_cast<std::uint32_t>(wparam),
                              static_cast<std::int32_t>(lparam), 0});
}

}  // namespace mantle

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    mantle::module_instance = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // A pixel worker holds its own reference on the module, so no other
    // thread's worker runs now; only its handle may be left.
    mantle::ForgetPixelWorker();
  }
  return TRUE;
}

extern "C" void WINAPI _EnableMantle(int enable) {
  using namespace mantle;
  FinishPixelBatch();
  // The old context goes first: a new one would otherwise be current only
  // until the old one's destructor restored its predecessor.
  application.reset();
  if (enable != 0) {
    application.reset(new (std::nothrow) TApplication("dummy application", module_instance));
    // A fresh queue: whatever was pending is discarded.
    queue.reset(new (std::nothrow) MesQueue);
  } else {
    queue.reset();
  }
}

extern "C" int WINAPI _RetrieveMessage(QueuedMessage* record) {
  if (record == nullptr) return 0;  // nowhere to put a record: leave the queue as it is
  return mantle::RetrieveQueuedMessage(mantle::queue.get(), *record, mantle::LibraryWindows());
}

extern "C" int WINAPI _PeekMessage(QueuedMessage* record, HWND window, UINT first, UINT last, int remove) {
  if (record == nullptr) return 0;
  return mantle::PeekQueuedMessage(mantle::queue.get(), *record, mantle::HandleBits(window), first, last,
                                   remove != 0, mantle::LibraryWindows());
}
