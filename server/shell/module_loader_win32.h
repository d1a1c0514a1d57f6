// The module loader over LoadLibraryA, GetProcAddress and FreeLibrary.
#pragma once

#include "server/core/module_loader.h"

namespace server {

class Win32ModuleLoader : public ModuleLoader {
 public:
  ModuleHandle Load(const char* name) override;
  EntryPoint Resolve(ModuleHandle module, const char* name) override;
  void Release(ModuleHandle module) override;
  std::uint32_t LastError() override;
};

}  // namespace server
