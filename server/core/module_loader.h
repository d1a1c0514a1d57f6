// Loading libraries by file name and resolving entry points by plain name:
// the platform behind the library binding.
#pragma once

#include <cstdint>

namespace server {

// A loaded module as an integer; 0 means none.
using ModuleHandle = std::uintptr_t;
// A resolved entry point before it is cast to its real type; null when missing.
using EntryPoint = void (*)();

class ModuleLoader {
 public:
  virtual ~ModuleLoader() = default;
  // Ordinary library search; 0 on failure.
  virtual ModuleHandle Load(const char* name) = 0;
  virtual EntryPoint Resolve(ModuleHandle module, const char* name) = 0;
  virtual void Release(ModuleHandle module) = 0;
  // The system's last-error code, for the failure message.
  virtual std::uint32_t LastError() = 0;
};

}  // namespace server
