#include "boards/link/link_adapter.h"

#include "boards/include/link_interface.h"
#include "boards/include/link_name.h"
#include "boards/link/c012_registers.h"

namespace board {

using link_interface::kBadHandle;
using link_interface::kBadLength;
using link_interface::kFailed;
using link_interface::kLinkHandle;

std::int32_t LinkAdapter::OpenLink(const char* link_name, std::uint32_t link_timeout) {
  const auto base = link_interface::ParsePortBase(link_name, link_interface::kPortIoFormats);
  if (!base) return kFailed;
  port_base_ = *base;
  link_timeout_ = link_timeout;
  open_ = true;
  return kLinkHandle;
}

// Closing changes nothing: handle 1 keeps addressing the same ports. Before any
// OpenLink there is nothing to close, as with the driver library.
std::int32_t LinkAdapter::CloseLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return open_ ? kLinkHandle : kFailed;
}

bool LinkAdapter::WaitReady(std::uint32_t status_offset) {
  for (std::uint32_t polls = 0;; ++polls) {
    if (ReadBit0(status_offset)) return true;
    if (polls == link_timeout_) return false;
  }
}

std::int32_t LinkAdapter::ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) {
  if (handle != kLinkHandle) return kBadHandle;
  if (length < 1) return kBadLength;
  if (!open_) return 0;
  for (std::int32_t count = 0; count < length; ++count) {
    if (!WaitReady(c012::kInputStatus)) return count;
    buffer[count] = Read(c012::kInputData);
  }
  return length;
}

std::int32_t LinkAdapter::WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) {
  if (handle != kLinkHandle) return kBadHandle;
  if (length < 1) return kBadLength;
  if (!open_) return 0;
  std::int32_t count = 0;
  while (count < length && WaitReady(c012::kOutputStatus)) Write(c012::kOutputData, buffer[count++]);
  // Every byte the call took is on its way when it returns: the last reply
  // before a caller stops reading must not wait for a read that never comes.
  ports_.Flush();
  return count;
}

void LinkAdapter::Pause() const {
  // Empty rounds that the optimiser must keep: the pause is the loop itself.
  for (std::uint32_t round = 0; round < link_timeout_; ++round) {
    __asm__ __volatile__("" ::: "memory");
  }
}

std::int32_t LinkAdapter::ResetLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  if (!open_) return kFailed;
  Write(c012::kAnalyse, 0); Pause();
  Write(c012::kReset, 0); Pause();
  Write(c012::kReset, 1); Pause();
  Write(c012::kReset, 0); Pause();
  ports_.Flush();
  return kLinkHandle;
}

std::int32_t LinkAdapter::AnalyseLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  if (!open_) return kFailed;
  Write(c012::kAnalyse, 0); Pause();
  Write(c012::kAnalyse, 1); Pause();
  Write(c012::kReset, 1); Pause();
  Write(c012::kReset, 0); Pause();
  Write(c012::kAnalyse, 0); Pause();
  ports_.Flush();
  return kLinkHandle;
}

std::int32_t LinkAdapter::TestError(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  if (!open_) return 0;
  return ReadBit0(c012::kError) ? 0 : 1;
}

// 1 when a byte waits / the output can take one: the sense ReadLink and
// WriteLink give bit 0.
std::int32_t LinkAdapter::TestRead(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  if (!open_) return 0;
  return ReadBit0(c012::kInputStatus) ? 1 : 0;
}

std::int32_t LinkAdapter::TestWrite(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  if (!open_) return 0;
  return ReadBit0(c012::kOutputStatus) ? 1 : 0;
}

}  // namespace board
