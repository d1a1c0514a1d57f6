#include "boards/link/direct_ports_win32.h"

#include <windows.h>

namespace board {
namespace {

constexpr std::uint8_t kInFromDx = 0xEC;   // in al, dx
constexpr std::uint8_t kOutToDx = 0xEE;    // out dx, al

volatile LONG g_probing = 0;
volatile LONG g_refused = 0;

inline std::uint8_t PortIn(std::uint16_t port) {
  std::uint8_t value;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "d"(port));
  return value;
}

inline void PortOut(std::uint16_t port, std::uint8_t value) {
  __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "d"(port));
}

// Skips a refused port instruction of ours while probing; everything else
// goes on to the handlers behind this one.
LONG CALLBACK OnPrivilegedInstruction(EXCEPTION_POINTERS* info) {
  if (!g_probing || info->ExceptionRecord->ExceptionCode != STATUS_PRIVILEGED_INSTRUCTION)
    return EXCEPTION_CONTINUE_SEARCH;
  const auto* at = static_cast<const std::uint8_t*>(info->ExceptionRecord->ExceptionAddress);
  if (*at != kInFromDx && *at != kOutToDx) return EXCEPTION_CONTINUE_SEARCH;
  g_refused = 1;
  CONTEXT* context = info->ContextRecord;
#if defined(_WIN64)
  if (*at == kInFromDx) context->Rax &= ~DWORD64{0xFF};
  context->Rip += 1;
#else
  if (*at == kInFromDx) context->Eax &= ~DWORD{0xFF};
  context->Eip += 1;
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

using AddHandlerFn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFn = ULONG(WINAPI*)(PVOID);

}  // namespace

void DirectPorts::Probe(std::uint16_t port, std::uint8_t* in_value, const std::uint8_t* out_value) {
  // The Windows 95 family lets every program use the ports; the NT family
  // faults unless the process was granted them, so there the access runs
  // under a handler that skips a refused instruction.
  const bool nt_family = (GetVersion() & 0x80000000u) == 0;
  RemoveHandlerFn remove = nullptr;
  PVOID handler = nullptr;
  if (nt_family) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto add = reinterpret_cast<AddHandlerFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "AddVectoredExceptionHandler")));
    remove = reinterpret_cast<RemoveHandlerFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "RemoveVectoredExceptionHandler")));
    if (add && remove) handler = add(1, OnPrivilegedInstruction);
    if (!handler) {
      // Without a way to survive the fault, do not risk the instruction.
      state_ = State::kRefused;
      if (in_value) *in_value = 0;
      return;
    }
  }
  g_refused = 0;
  g_probing = 1;
  if (in_value) *in_value = PortIn(port);
  if (out_value) PortOut(port, *out_value);
  g_probing = 0;
  if (handler) remove(handler);
  state_ = g_refused ? State::kRefused : State::kAllowed;
  if (state_ == State::kRefused && in_value) *in_value = 0;
}

std::uint8_t DirectPorts::In(std::uint16_t port) {
  if (state_ == State::kAllowed) return PortIn(port);
  if (state_ == State::kRefused) return 0;
  std::uint8_t value = 0;
  Probe(port, &value, nullptr);
  return value;
}

void DirectPorts::Out(std::uint16_t port, std::uint8_t value) {
  if (state_ == State::kAllowed) return PortOut(port, value);
  if (state_ == State::kRefused) return;
  Probe(port, nullptr, &value);
}

}  // namespace board
