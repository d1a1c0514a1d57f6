#include "mantle/mes_queue.h"

#include <new>

namespace mantle {

bool PassesPeekFilter(const QueuedMessage& head, std::uint32_t window, std::uint32_t first,
                      std::uint32_t last) {
  if (window != kAnyWindow && window != head.hwnd) return false;
  if (first <= head.message && head.message <= last) return true;
  return first == 0 && last == 0;
}

int MesQueue::Append(const QueuedMessage& record) noexcept {
  auto* item = new (std::nothrow) MessageItem{record, nullptr};
  if (item == nullptr) return 0;
  if (tail_ != nullptr) {
    tail_->next = item;
  } else {
    head_ = item;
  }
  tail_ = item;
  return 1;
}

int MesQueue::Take(QueuedMessage& out) noexcept {
  if (head_ == nullptr) return 0;
  out = head_->record;
  DropHead();
  return 1;
}

int MesQueue::PeekHead(QueuedMessage& out, std::uint32_t window, std::uint32_t first, std::uint32_t last,
                       bool remove) noexcept {
  if (head_ == nullptr || !PassesPeekFilter(head_->record, window, first, last)) return 0;
  out = head_->record;
  if (remove) DropHead();
  return 1;
}

void MesQueue::Clear() noexcept {
  while (head_ != nullptr) DropHead();
}

void MesQueue::DropHead() noexcept {
  MessageItem* old = head_;
  head_ = old->next;
  if (head_ == nullptr) tail_ = nullptr;
  delete old;
}

}  // namespace mantle
