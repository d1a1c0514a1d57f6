// The exception guard around binding: a fault raised inside a loaded
// library's code (its start-up code, SetupServer) is reported in a message
// box and ends the process with exit code 0. g++ has no __try, so a vectored
// exception handler is installed for the duration of the binding.
#pragma once

#include <windows.h>

#include "server/core/binding.h"

namespace server {

// Installs a first-in-line vectored exception handler for its lifetime and
// removes it however the scope is left.
class VectoredHandlerScope {
 public:
  explicit VectoredHandlerScope(PVECTORED_EXCEPTION_HANDLER handler)
      : handle_(AddVectoredExceptionHandler(1, handler)) {}
  ~VectoredHandlerScope() {
    if (handle_ != nullptr) RemoveVectoredExceptionHandler(handle_);
  }
  VectoredHandlerScope(const VectoredHandlerScope&) = delete;
  VectoredHandlerScope& operator=(const VectoredHandlerScope&) = delete;

 private:
  PVOID handle_;
};

class VectoredBindGuard : public BindGuard {
 public:
  bool Run(const std::function<bool()>& bind) override;
};

// The hardware faults the guard reports; everything else (C++ throws,
// debug output, guard pages) passes on untouched.
bool IsGuardedFault(std::uint32_t code);

}  // namespace server
