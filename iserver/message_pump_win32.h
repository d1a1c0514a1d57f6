// The thread's pending window messages, dispatched without waiting, so the
// server's windows stay alive while the program computes or polls keys.
#pragma once

#include "iserver/core/server_task.h"

namespace iserver {

// Dispatches what is queued; false when a quit message came (it is posted
// again, so the server's own loop still ends).
bool DispatchPendingMessages();
// True when a quit message waits, without taking it.
bool QuitPending();

class WindowsTaskHost final : public TaskHost {
 public:
  bool DispatchPending() override { return DispatchPendingMessages(); }
  std::uint32_t NowMs() override;
};

}  // namespace iserver
