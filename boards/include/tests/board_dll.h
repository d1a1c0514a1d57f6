// Loads a board library by file name and resolves the nine link functions,
// as the server and the protocol libraries do. Unloads it when it goes.
#pragma once

#include <windows.h>

#include "boards/include/link_interface.h"

namespace board::testing {

class BoardDll {
 public:
  explicit BoardDll(const char* file) : module_(LoadLibraryA(file)) {
    Resolve(open, "OpenLink");
    Resolve(close, "CloseLink");
    Resolve(read, "ReadLink");
    Resolve(write, "WriteLink");
    Resolve(reset, "ResetLink");
    Resolve(analyse, "AnalyseLink");
    Resolve(test_error, "TestError");
    Resolve(test_read, "TestRead");
    Resolve(test_write, "TestWrite");
  }
  ~BoardDll() {
    if (module_) FreeLibrary(module_);
  }
  BoardDll(const BoardDll&) = delete;
  BoardDll& operator=(const BoardDll&) = delete;

  HMODULE module() const { return module_; }
  bool complete() const {
    return module_ && open && close && read && write && reset && analyse && test_error && test_read && test_write;
  }

  link_interface::OpenLinkFn open = nullptr;
  link_interface::CloseLinkFn close = nullptr;
  link_interface::ReadLinkFn read = nullptr;
  link_interface::WriteLinkFn write = nullptr;
  link_interface::ResetLinkFn reset = nullptr;
  link_interface::AnalyseLinkFn analyse = nullptr;
  link_interface::TestErrorFn test_error = nullptr;
  link_interface::TestReadFn test_read = nullptr;
  link_interface::TestWriteFn test_write = nullptr;

 private:
  template <typename Fn>
  void Resolve(Fn& fn, const char* name) {
    if (module_) fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
};

}  // namespace board::testing
