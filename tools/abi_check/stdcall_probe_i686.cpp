// The thunk behind stack_probe::Run. It keeps the stack pointer from before the
// arguments in the Probe, chained to any probe further up the same thread (a
// callee may pump messages into code that probes again), loads marker values
// into the callee-saved registers, and afterwards restores the stack whatever
// the callee did, so a mismatch is reported instead of corrupting the caller.
#include "tools/abi_check/stdcall_probe.h"

#include <cstddef>

static_assert(sizeof(void*) == 4, "the thunk is 32-bit x86 code");
static_assert(offsetof(stack_probe::Probe, function) == 0 && offsetof(stack_probe::Probe, args) == 4 &&
              offsetof(stack_probe::Probe, count) == 8 && offsetof(stack_probe::Probe, result) == 12 &&
              offsetof(stack_probe::Probe, left) == 16 && offsetof(stack_probe::Probe, kept) == 20 &&
              offsetof(stack_probe::Probe, esp) == 24 && offsetof(stack_probe::Probe, outer) == 28);

asm(R"(
  .text
  .globl _abi_probe_call
_abi_probe_call:
  pushl %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 20(%esp), %eax
  movl _abi_probe_innermost, %edx
  movl %edx, 28(%eax)
  movl %eax, _abi_probe_innermost
  movl %esp, 24(%eax)
  movl 8(%eax), %ecx
  movl 4(%eax), %edx
1:
  testl %ecx, %ecx
  jz 2f
  pushl -4(%edx,%ecx,4)
  decl %ecx
  jmp 1b
2:
  movl (%eax), %eax
  movl $0x5EB1B1B1, %ebx
  movl $0x5E51E51E, %esi
  movl $0x5ED1ED1E, %edi
  movl $0x5EBB0BB0, %ebp
  call *%eax
  movl _abi_probe_innermost, %ecx
  movl %eax, 12(%ecx)
  movl 24(%ecx), %edx
  subl %esp, %edx
  movl %edx, 16(%ecx)
  xorl %edx, %edx
  cmpl $0x5EB1B1B1, %ebx
  jne 3f
  cmpl $0x5E51E51E, %esi
  jne 3f
  cmpl $0x5ED1ED1E, %edi
  jne 3f
  cmpl $0x5EBB0BB0, %ebp
  jne 3f
  incl %edx
3:
  movl %edx, 20(%ecx)
  movl 28(%ecx), %edx
  movl %edx, _abi_probe_innermost
  movl 24(%ecx), %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret

  .bss
  .balign 4
_abi_probe_innermost:
  .space 4
  .text
)");

namespace stack_probe {

Outcome Run(const void* function, const std::uint32_t* args, std::uint32_t count, std::uint32_t declared) {
  Probe probe;
  probe.function = function;
  probe.args = args;
  probe.count = count;
  abi_probe_call(&probe);
  Outcome outcome;
  outcome.result = probe.result;
  outcome.popped = count * 4 - probe.left;
  outcome.declared = declared;
  outcome.kept = probe.kept == 1;
  return outcome;
}

std::string Outcome::Describe() const {
  std::string text = "popped " + std::to_string(static_cast<std::int32_t>(popped)) + " of " +
                     std::to_string(declared) + " bytes";
  if (!kept) text += ", callee-saved registers changed";
  return text;
}

}  // namespace stack_probe
