#include "iserver/core/streams.h"

#include <limits>

namespace iserver {

std::optional<std::int32_t> StreamTable::Add(std::unique_ptr<HostFile> file) {
  if (!file || files_.size() >= kMaxOpenFiles || next_id_ == std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  const std::int32_t id = next_id_++;
  files_.emplace(id, std::move(file));
  return id;
}

HostFile* StreamTable::Find(std::int32_t id) const {
  const auto found = files_.find(id);
  return found == files_.end() ? nullptr : found->second.get();
}

std::optional<bool> StreamTable::Close(std::int32_t id) {
  const auto found = files_.find(id);
  if (found == files_.end()) return std::nullopt;
  const bool closed = found->second->Close();
  files_.erase(found);
  return closed;
}

void StreamTable::CloseAll() {
  for (auto& [id, file] : files_) file->Close();
  files_.clear();
}

}  // namespace iserver
