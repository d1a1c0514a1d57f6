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
  link_interface::TestReadFn test_read = nullptr;

  static BoardFunctions Resolve(HMODULE board);
  bool complete() const { return read && write && reset && test_error && test_read; }
};

class BoardLink final : public LinkPort {
 public:
  // A board that takes no byte for this long has stopped taking bytes.
  static constexpr DWORD kWritePatienceMs = 2000;
  // A read of a quiet link returns after this long, whatever the link
  // timeout: the caller looks at suspend and terminate requests in between.
  static constexpr DWORD kQuietMs = 20;
  // It polls without yielding this long first: the next request usually
  // follows a reply closely.
  static constexpr double kSpinMs = 2.0;

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
