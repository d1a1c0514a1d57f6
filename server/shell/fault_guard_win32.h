// The exception guard around calls into the loaded libraries: a fault raised
// inside their code (start-up code and SetupServer during binding, CallServer
// and the board functions later) is reported in a message box naming its site
// and ends the process with exit code 0. g++ has no __try, so a vectored
// exception handler is installed for the duration of each guarded call.
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

// Guarded calls nest (a Terminate handled inside a pending CallServer): the
// innermost site is the one reported.
class VectoredFaultGuard : public FaultGuard {
 public:
  bool Run(FaultSite site, const std::function<bool()>& call) override;
};

// The hardware faults the guard reports; everything else (C++ throws,
// debug output, guard pages) passes on untouched.
bool IsGuardedFault(std::uint32_t code);

}  // namespace server
