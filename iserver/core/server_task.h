// The run-control contract of a protocol library over a Session: CallServer
// boots a program and serves it until it ends (0) or is suspended (2); a
// second call without a boot file resumes it; terminate and suspend requests
// arrive from inside the call (the host's message handlers run nested in it)
// or between calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "iserver/core/console_io.h"
#include "iserver/core/host_system.h"
#include "iserver/core/link_port.h"
#include "iserver/core/session.h"

namespace iserver {

// What a task needs of the program that runs it.
class TaskHost {
 public:
  virtual ~TaskHost() = default;
  // Handles the host's pending events (window messages) without waiting;
  // false when the host is quitting.
  virtual bool DispatchPending() = 0;
  // A millisecond clock.
  virtual std::uint32_t NowMs() = 0;
};

class ServerTask {
 public:
  static constexpr std::int32_t kEnded = 0;
  static constexpr std::int32_t kRunning = 1;
  static constexpr std::int32_t kSuspended = 2;
  // While busy the host still gets its events this often.
  static constexpr std::uint32_t kDispatchEveryMs = 50;

  ServerTask(LinkPort& link, HostSystem& host, ConsoleIo& console, TaskHost& task_host)
      : link_(link), host_(host), console_(console), task_host_(task_host) {}

  // With a boot file: ends any program there was and boots this one. With
  // none (null): resumes the suspended program; 0 when there is none.
  std::int32_t Call(const char* boot_file, const char* parameters);
  // The program ends: at once between calls, else at the pending call's next
  // step (or when its console wait gives up).
  void RequestTerminate();
  // The pending call returns 2 once no request is partly received; between
  // calls it does nothing.
  void RequestSuspend();

  bool in_call() const { return in_call_; }
  bool has_program() const { return session_ != nullptr; }
  bool terminating() const { return terminate_; }

 private:
  std::int32_t Serve();

  LinkPort& link_;
  HostSystem& host_;
  ConsoleIo& console_;
  TaskHost& task_host_;
  std::unique_ptr<Session> session_;
  bool in_call_ = false;
  bool terminate_ = false;
  bool suspend_ = false;
};

}  // namespace iserver
