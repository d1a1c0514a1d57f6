// An export of a module as a typed function pointer; null when it is missing.
#pragma once

#include <windows.h>

namespace iserver {

template <typename Fn>
Fn ResolveExport(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace iserver
