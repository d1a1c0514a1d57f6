#include "server/shell/module_loader_win32.h"

#include <windows.h>

namespace server {

namespace {

HMODULE AsModule(ModuleHandle module) {
  return reinterpret_cast<HMODULE>(module);
}

}  // namespace

ModuleHandle Win32ModuleLoader::Load(const char* name) {
  return reinterpret_cast<ModuleHandle>(LoadLibraryA(name));
}

EntryPoint Win32ModuleLoader::Resolve(ModuleHandle module, const char* name) {
  // FARPROC to the generic function pointer: the binding casts it to its real type.
  return reinterpret_cast<EntryPoint>(GetProcAddress(AsModule(module), name));
}

void Win32ModuleLoader::Release(ModuleHandle module) {
  FreeLibrary(AsModule(module));
}

std::uint32_t Win32ModuleLoader::LastError() {
  return GetLastError();
}

}  // namespace server
