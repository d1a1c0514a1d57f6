#include "iserver/core/server_task.h"

#include <span>

namespace iserver {

std::int32_t ServerTask::Call(const char* boot_file, const char* parameters) {
  // The host's handlers run nested in a call; a second call there would
  // step the same session from two places.
  if (in_call_) return kRunning;
  in_call_ = true;
  terminate_ = suspend_ = false;
  std::int32_t result = kEnded;
  if (boot_file != nullptr) {
    session_.reset();
    const std::string file = boot_file;
    if (auto image = ReadWholeFile(host_, file)) {
      session_ = std::make_unique<Session>(link_, host_, console_,
                                           ParseParameters(file, parameters ? parameters : ""), std::move(*image));
    } else {
      const std::string message = "Cannot read the boot file " + file + "\n";
      console_.Write(ConsoleStream::kError, std::span(reinterpret_cast<const std::uint8_t*>(message.data()),
                                                      message.size()));
    }
  }
  if (session_) result = Serve();
  in_call_ = false;
  return result;
}

std::int32_t ServerTask::Serve() {
  std::uint32_t dispatched_at = task_host_.NowMs();
  for (;;) {
    if (terminate_) break;
    const Session::Progress progress = session_->Step();
    if (progress == Session::Progress::kEnded || terminate_) break;
    const bool waiting = progress == Session::Progress::kWaiting;
    if (suspend_ && (waiting || session_->AtFrameBoundary() || session_->booting())) {
      suspend_ = false;
      return kSuspended;
    }
    const std::uint32_t now = task_host_.NowMs();
    if (waiting || now - dispatched_at >= kDispatchEveryMs) {
      dispatched_at = now;
      if (!task_host_.DispatchPending()) break;  // the host is quitting
    }
  }
  session_.reset();
  terminate_ = false;
  return kEnded;
}

void ServerTask::RequestTerminate() {
  if (in_call_) {
    terminate_ = true;
  } else {
    session_.reset();
  }
}

void ServerTask::RequestSuspend() {
  if (in_call_) suspend_ = true;
}

}  // namespace iserver
