// The program's open streams: 0, 1 and 2 are the console; every file the
// program opens gets a new id that is never handed out again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "iserver/core/host_system.h"

namespace iserver {

class StreamTable {
 public:
  static constexpr std::int32_t kStdin = 0;
  static constexpr std::int32_t kStdout = 1;
  static constexpr std::int32_t kStderr = 2;
  // Bounds the host files one program can hold open.
  static constexpr std::size_t kMaxOpenFiles = 128;

  static bool IsConsole(std::int32_t id) { return id >= kStdin && id <= kStderr; }

  // The new stream's id; nullopt when the table is full or ids have run out.
  std::optional<std::int32_t> Add(std::unique_ptr<HostFile> file);
  // The open file behind an id; null for the console and for ids never issued.
  HostFile* Find(std::int32_t id) const;
  // Closes a file stream: nullopt for an id that is not open, else whether
  // the host closed it cleanly. Its id is not reused.
  std::optional<bool> Close(std::int32_t id);
  void CloseAll();
  std::size_t open_files() const { return files_.size(); }

 private:
  std::map<std::int32_t, std::unique_ptr<HostFile>> files_;
  std::int32_t next_id_ = kStderr + 1;
};

}  // namespace iserver
