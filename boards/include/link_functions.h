// The nine link functions as a C++ interface: both board libraries implement
// it, the exports forward to it, and tests hold either library behind it.
#pragma once

#include <cstdint>

namespace board {

class LinkFunctions {
 public:
  virtual ~LinkFunctions() = default;
  virtual std::int32_t OpenLink(const char* link_name, std::uint32_t link_timeout) = 0;
  virtual std::int32_t CloseLink(std::int32_t handle) = 0;
  virtual std::int32_t ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) = 0;
  virtual std::int32_t WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) = 0;
  virtual std::int32_t ResetLink(std::int32_t handle) = 0;
  virtual std::int32_t AnalyseLink(std::int32_t handle) = 0;
  virtual std::int32_t TestError(std::int32_t handle) = 0;
  virtual std::int32_t TestRead(std::int32_t handle) = 0;
  virtual std::int32_t TestWrite(std::int32_t handle) = 0;
};

}  // namespace board
