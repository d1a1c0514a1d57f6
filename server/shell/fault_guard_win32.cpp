#include "server/shell/fault_guard_win32.h"

#include <windows.h>

namespace server {

bool IsGuardedFault(std::uint32_t code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

namespace {

// The site of the innermost guarded call; the libraries are called from the
// GUI thread only.
FaultSite current_site = FaultSite::kBinding;

LONG CALLBACK ReportFaultAndExit(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!IsGuardedFault(code)) return EXCEPTION_CONTINUE_SEARCH;
  MessageBuffer text;
  FormatFaultMessage(text, current_site, code);
  MessageBoxA(GetFocus(), text.data(), "Error...", MB_OK | MB_ICONSTOP);
  ExitProcess(0);
}

}  // namespace

bool VectoredFaultGuard::Run(FaultSite site, const std::function<bool()>& call) {
  const FaultSite outer = current_site;
  current_site = site;
  const VectoredHandlerScope scope(ReportFaultAndExit);
  const bool result = call();
  current_site = outer;
  return result;
}

}  // namespace server
