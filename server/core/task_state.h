// The task state that run control writes and the console reads: the one value
// both sides share, owned by whoever owns them both.
#pragma once

#include <cstdint>

namespace server {

enum : std::int32_t { kNoTask = 0, kTaskRunning = 1, kTaskSuspended = 2 };

struct TaskState {
  std::int32_t value = kNoTask;

  bool active() const { return value != kNoTask; }
};

}  // namespace server
