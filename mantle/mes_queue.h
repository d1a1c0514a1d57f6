// The library's event queue: window procedures append the events of library
// windows, the client drains them between its platform messages. One thread
// fills and drains it, so it has no lock.
#pragma once

#include <cstdint>

#include "mantle/mantle_records.h"

namespace mantle {

// Peek's window filter value that matches records of any window (0 matches
// only records whose window handle is 0).
inline constexpr std::uint32_t kAnyWindow = 0xFFFF;

// One queued record and the link to the next (null in the last node).
struct MessageItem {
  QueuedMessage record;
  MessageItem* next;
};

// True when `head` passes _PeekMessage's filters: the window matches (or is
// kAnyWindow) and the message lies in first..last, where 0..0 means any.
bool PassesPeekFilter(const QueuedMessage& head, std::uint32_t window, std::uint32_t first,
                      std::uint32_t last);

// Singly linked FIFO without a capacity limit: it grows until memory runs out.
class MesQueue {
 public:
  MesQueue() = default;
  ~MesQueue() { Clear(); }
  MesQueue(const MesQueue&) = delete;
  MesQueue& operator=(const MesQueue&) = delete;

  // Copies the record into a new tail node: 1, or 0 when no node could be
  // allocated (the record is then dropped).
  int Append(const QueuedMessage& record) noexcept;
  // Copies the head into `out` and frees it: 1, or 0 when empty (out untouched).
  int Take(QueuedMessage& out) noexcept;
  // Copies the head into `out` when it passes the filters, taking it out of
  // the queue when `remove` is set: 1, else 0 (out untouched). Never looks
  // past the head.
  int PeekHead(QueuedMessage& out, std::uint32_t window, std::uint32_t first, std::uint32_t last,
               bool remove) noexcept;
  void Clear() noexcept;

  bool Empty() const noexcept { return head_ == nullptr; }

 private:
  void DropHead() noexcept;

  MessageItem* head_ = nullptr;
  MessageItem* tail_ = nullptr;
};

}  // namespace mantle
