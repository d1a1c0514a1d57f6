// Calls a 32-bit WINAPI function through a thunk that records what the callee
// did to the stack and to the registers it must keep. A callee built with a
// different convention or argument list than its declaration leaves ESP
// elsewhere; with -O2 code that goes unnoticed until something faults far away.
// i686 only: the 64-bit convention has no callee cleanup to get wrong.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#if !defined(__i386__)
#error "the stack probe is 32-bit x86 code"
#endif

namespace stack_probe {

// The thunk's record; the field offsets are fixed by stdcall_probe_i686.cpp.
struct Probe {
  const void* function = nullptr;
  const std::uint32_t* args = nullptr;  // pushed last to first
  std::uint32_t count = 0;
  std::uint32_t result = 0;             // EAX after the call
  std::uint32_t left = 0;               // argument bytes the callee left on the stack
  std::uint32_t kept = 0;               // 1 when EBX, ESI, EDI and EBP came back unchanged
  std::uint32_t esp = 0;                // the thunk's own
  Probe* outer = nullptr;               // the thunk's own: a call in progress further up
};

extern "C" void abi_probe_call(Probe* probe);

// The argument bytes a declared function type takes: each argument fills a
// whole number of 32-bit stack slots. The calling convention is part of the
// type, so the WINAPI and the cdecl forms are matched one by one.
template <class... A>
struct Arguments {
  static constexpr std::uint32_t count = sizeof...(A);
  static constexpr std::uint32_t bytes = (0u + ... + static_cast<std::uint32_t>((sizeof(A) + 3) / 4 * 4));
};
template <class F>
struct Signature;
template <class R, class... A>
struct Signature<R __attribute__((stdcall))(A...)> : Arguments<A...> {};
template <class R, class... A>
struct Signature<R(A...)> : Arguments<A...> {};

// What one probed call showed.
struct Outcome {
  std::uint32_t result = 0;
  std::uint32_t popped = 0;    // argument bytes the callee took off
  std::uint32_t declared = 0;  // argument bytes the declaration says
  bool kept = false;
  bool sound() const { return popped == declared && kept; }
  // "popped 8 of 12 bytes, callee-saved registers changed" for failures.
  std::string Describe() const;
};

Outcome Run(const void* function, const std::uint32_t* args, std::uint32_t count, std::uint32_t declared);

template <class T>
std::uint32_t Word(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
  } else {
    static_assert(sizeof(T) <= 4, "one stack slot per argument");
    return static_cast<std::uint32_t>(value);
  }
}

// Calls fn (a pointer to a declared WINAPI function) with the arguments.
template <class Fn, class... A>
Outcome Call(Fn fn, A... args) {
  using Declared = std::remove_pointer_t<Fn>;
  static_assert(Signature<Declared>::count == sizeof...(A), "one argument per declared parameter");
  const std::array<std::uint32_t, sizeof...(A)> words{Word(args)...};
  return Run(reinterpret_cast<const void*>(fn), words.data(), sizeof...(A), Signature<Declared>::bytes);
}

}  // namespace stack_probe
