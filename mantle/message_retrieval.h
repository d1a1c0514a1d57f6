// _RetrieveMessage and _PeekMessage over the queue: which record comes back,
// and which id it carries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "mantle/mes_queue.h"
#include "mantle/window_kind.h"

namespace mantle {

// What retrieval needs to know about the window of a record.
class WindowDirectory {
 public:
  virtual ~WindowDirectory() = default;
  // The window's platform class name, or at least its first five characters,
  // which tell the kind; empty when the handle names no window.
  virtual std::string ClassName(std::uint32_t hwnd) const = 0;
  // The client's id of the library object behind `hwnd`, when there is one
  // and it really is of `kind`; nothing for foreign windows.
  virtual std::optional<std::int32_t> ClientId(std::uint32_t hwnd, WindowKind kind) const = 0;
};

// Sets record.id from the record's window: the window's or dialog's id for a
// library window, else 0. True when the window is a library window.
bool FillClientId(QueuedMessage& record, const WindowDirectory& windows);

// Takes the head into `record` and returns its id (0 for an empty queue, a
// foreign window or a window of id 0). An empty or absent queue sets only
// record.id.
std::int32_t RetrieveQueuedMessage(MesQueue* queue, QueuedMessage& record, const WindowDirectory& windows);

// Copies the head into `record` when it passes the filters (taking it out
// with `remove`) and fills its id: 1 when the record's window is a library
// window, else 0. An empty, absent or filtered-out queue leaves `record` alone.
int PeekQueuedMessage(MesQueue* queue, QueuedMessage& record, std::uint32_t window, std::uint32_t first,
                      std::uint32_t last, bool remove, const WindowDirectory& windows);

}  // namespace mantle
