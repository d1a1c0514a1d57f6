// The link through the board library's exported link functions, resolved by
// name from the module the server hands to SetupServer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "boards/include/link_interface.h"
#include "iserver/core/link_port.h"

namespace iserver {

struct BoardFunctions {
  link_interface::ReadLinkFn read = nullptr;
  link_interface::WriteLinkFn write = nullptr;
  link_interface::ResetLinkFn reset = nullptr;
  link_interface::TestErrorFn test_error = nullptr;

  static BoardFunctions Resolve(HMODULE board);
  bool complete() const { return read && write && reset && test_error; }
};

class BoardLink final : public LinkPort {
 public:
  // A board that takes no byte for this long has stopped taking bytes.
  static constexpr DWORD kWritePatienceMs = 2000;

  explicit BoardLink(const BoardFunctions& functions) : board_(functions) {}
  void SetHandle(std::int32_t handle) { handle_ = handle; }

  std::int32_t Read(std::uint8_t* buffer, std::int32_t count) override;
  std::int32_t Write(const std::uint8_t* data, std::int32_t count) override;
  bool ErrorRaised() override;
  bool Reset() override;

 private:
  BoardFunctions board_;
  std::int32_t handle_ = -1;
};

}  // namespace iserver
