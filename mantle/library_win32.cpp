// Library start and stop, and the queue's exports.
#include "mantle/library_win32.h"

#include <memory>
#include <new>

#include "mantle/mantle.h"

namespace mantle {
namespace {

HINSTANCE module_instance = nullptr;
// One of each per process, both absent while the library is not enabled.
std::unique_ptr<ApplicationContext> application;
std::unique_ptr<MesQueue> queue;

}  // namespace

HINSTANCE ModuleInstance() {
  return module_instance;
}

ApplicationContext* Application() {
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
  }
  return TRUE;
}

extern "C" void WINAPI _EnableMantle(int enable) {
  using namespace mantle;
  if (enable != 0) {
    application =
        std::make_unique<ApplicationContext>(ApplicationContext{"dummy application", module_instance});
    // A fresh queue: whatever was pending is discarded.
    queue.reset(new (std::nothrow) MesQueue);
  } else {
    application.reset();
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
