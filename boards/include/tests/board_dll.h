// Loads a board library by file name and resolves the nine link functions,
// as the server and the protocol libraries do. Unloads it when it goes.
#pragma once

#include <windows.h>

#include "boards/include/link_functions.h"
#include "boards/include/link_interface.h"

namespace board::testing {

class BoardDll final : public LinkFunctions {
 public:
  explicit BoardDll(const char* file) : module_(LoadLibraryA(file)) {
    Resolve(open_, "OpenLink");
    Resolve(close_, "CloseLink");
    Resolve(read_, "ReadLink");
    Resolve(write_, "WriteLink");
    Resolve(reset_, "ResetLink");
    Resolve(analyse_, "AnalyseLink");
    Resolve(test_error_, "TestError");
    Resolve(test_read_, "TestRead");
    Resolve(test_write_, "TestWrite");
  }
  ~BoardDll() override {
    if (module_) FreeLibrary(module_);
  }
  BoardDll(const BoardDll&) = delete;
  BoardDll& operator=(const BoardDll&) = delete;

  bool complete() const {
    return module_ && open_ && close_ && read_ && write_ && reset_ && analyse_ && test_error_ && test_read_ &&
           test_write_;
  }

  std::int32_t OpenLink(const char* name, std::uint32_t timeout) override { return open_(name, timeout); }
  std::int32_t CloseLink(std::int32_t handle) override { return close_(handle); }
  std::int32_t ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) override {
    return read_(handle, buffer, length);
  }
  std::int32_t WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) override {
    return write_(handle, buffer, length);
  }
  std::int32_t ResetLink(std::int32_t handle) override { return reset_(handle); }
  std::int32_t AnalyseLink(std::int32_t handle) override { return analyse_(handle); }
  std::int32_t TestError(std::int32_t handle) override { return test_error_(handle); }
  std::int32_t TestRead(std::int32_t handle) override { return test_read_(handle); }
  std::int32_t TestWrite(std::int32_t handle) override { return test_write_(handle); }

 private:
  template <typename Fn>
  void Resolve(Fn& fn, const char* name) {
    if (module_) fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
  link_interface::OpenLinkFn open_ = nullptr;
  link_interface::CloseLinkFn close_ = nullptr;
  link_interface::ReadLinkFn read_ = nullptr;
  link_interface::WriteLinkFn write_ = nullptr;
  link_interface::ResetLinkFn reset_ = nullptr;
  link_interface::AnalyseLinkFn analyse_ = nullptr;
  link_interface::TestErrorFn test_error_ = nullptr;
  link_interface::TestReadFn test_read_ = nullptr;
  link_interface::TestWriteFn test_write_ = nullptr;
};

}  // namespace board::testing
