#include "mantle/message_retrieval.h"

namespace mantle {

bool FillClientId(QueuedMessage& record, const WindowDirectory& windows) {
  record.id = 0;
  const WindowKind kind = WindowKindOf(windows.ClassName(record.hwnd));
  if (kind == WindowKind::kOther) return false;
  const std::optional<std::int32_t> id = windows.ClientId(record.hwnd, kind);
  if (!id) return false;
  record.id = *id;
  return true;
}

std::int32_t RetrieveQueuedMessage(MesQueue* queue, QueuedMessage& record, const WindowDirectory& windows) {
  if (queue == nullptr || queue->Take(record) == 0) {
    record.id = 0;
    return 0;
  }
  FillClientId(record, windows);
  return record.id;
}

int PeekQueuedMessage(MesQueue* queue, QueuedMessage& record, std::uint32_t window, std::uint32_t first,
                      std::uint32_t last, bool remove, const WindowDirectory& windows) {
  if (queue == nullptr || queue->PeekHead(record, window, first, last, remove) == 0) return 0;
  return FillClientId(record, windows) ? 1 : 0;
}

}  // namespace mantle
