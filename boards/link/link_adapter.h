// The port-I/O board library's logic: the link interface over the C012's
// registers, with busy polling bounded per byte by the link timeout.
#pragma once

#include <cstdint>

#include "boards/include/link_functions.h"

#include "boards/link/port_access.h"

namespace board {

class LinkAdapter final : public LinkFunctions {
 public:
  explicit LinkAdapter(PortAccess& ports) : ports_(ports) {}

  std::int32_t OpenLink(const char* link_name, std::uint32_t link_timeout) override;
  std::int32_t CloseLink(std::int32_t handle) override;
  std::int32_t ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) override;
  std::int32_t WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) override;
  std::int32_t ResetLink(std::int32_t handle) override;
  std::int32_t AnalyseLink(std::int32_t handle) override;
  std::int32_t TestError(std::int32_t handle) override;
  std::int32_t TestRead(std::int32_t handle) override;
  std::int32_t TestWrite(std::int32_t handle) override;

  std::uint32_t port_base() const { return port_base_; }
  std::uint32_t link_timeout() const { return link_timeout_; }

 private:
  // A register's port: the base is 32 bits wide and only the low 16 bits of
  // base + offset reach the bus.
  std::uint16_t Port(std::uint32_t offset) const { return static_cast<std::uint16_t>(port_base_ + offset); }
  std::uint8_t Read(std::uint32_t offset) { return ports_.In(Port(offset)); }
  bool ReadBit0(std::uint32_t offset) { return (Read(offset) & 1) != 0; }
  void Write(std::uint32_t offset, std::uint8_t value) { ports_.Out(Port(offset), value); }
  void Pause() const;
  // Waits for bit 0 of a status register, at most link timeout + 1 reads.
  bool WaitReady(std::uint32_t status_offset);

  PortAccess& ports_;
  bool open_ = false;  // no port base until the first OpenLink
  std::uint32_t port_base_ = 0;
  std::uint32_t link_timeout_ = 0;
};

}  // namespace board
