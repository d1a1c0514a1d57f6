#include "boards/kestrel/kestrel_link.h"

#include "boards/include/link_interface.h"
#include "boards/include/link_name.h"
#include "boards/kestrel/b004_driver.h"

namespace board {

using link_interface::kBadHandle;
using link_interface::kBadLength;
using link_interface::kFailed;
using link_interface::kLinkHandle;

bool KestrelLink::ForgetDevice() {
  const bool closed = device_ && driver_.Close(*device_);
  device_.reset();
  return closed;
}

std::int32_t KestrelLink::OpenLink(const char* link_name, std::uint32_t link_timeout) {
  // Every OpenLink opens the device anew; the handle it replaces would
  // otherwise leak with each run and board reset.
  const std::optional<DeviceHandle> opened = driver_.Open();
  ForgetDevice();
  if (!opened) return kFailed;
  device_ = opened;

  const auto base = link_interface::ParsePortBase(link_name, link_interface::kDriverFormats);
  if (!base) {
    ForgetDevice();
    return kFailed;
  }

  // The driver reads the port base from the registry when the open arrives.
  if (const auto key = registry_.CreateKey(b004::kParametersKey)) {
    registry_.SetDword(*key, b004::kPortAddressValue, *base);
    registry_.Flush(*key);
    registry_.CloseKey(*key);
  }

  std::uint32_t returned = 0;
  const std::uint32_t timeout = link_timeout;  // little-endian on every target
  if (!driver_.Control(*device_, b004::kOpen, nullptr, 0, nullptr, 0, &returned) ||
      !driver_.Control(*device_, b004::kSetTimeout, &timeout, sizeof timeout, nullptr, 0, &returned)) {
    ForgetDevice();
    return kFailed;
  }
  return kLinkHandle;
}

// Only the link's own handle is ever closed, and only once.
std::int32_t KestrelLink::CloseLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return ForgetDevice() ? kLinkHandle : kFailed;
}

bool KestrelLink::Request(std::uint32_t base, std::int32_t handle) {
  if (!device_) return false;
  std::uint32_t returned = 0;
  return driver_.Control(*device_, b004::LinkControlCode(base, handle), nullptr, 0, nullptr, 0, &returned);
}

std::int32_t KestrelLink::Transfer(std::uint32_t base, std::int32_t handle, const void* input,
                                   void* output, std::int32_t length) {
  if (!device_) return 0;
  const auto size = static_cast<std::uint32_t>(length);
  std::uint32_t returned = 0;
  const bool ok = driver_.Control(*device_, b004::LinkControlCode(base, handle), input,
                                  input ? size : 0, output, output ? size : 0, &returned);
  if (!ok) return 0;
  // A driver that claims more than it was asked for cannot have done it.
  return returned > size ? length : static_cast<std::int32_t>(returned);
}

std::int32_t KestrelLink::ReadLink(std::int32_t handle, std::uint8_t* buffer, std::int32_t length) {
  if (handle != kLinkHandle) return kBadHandle;
  if (length < 1) return kBadLength;
  return Transfer(b004::kReadBase, handle, nullptr, buffer, length);
}

std::int32_t KestrelLink::WriteLink(std::int32_t handle, const std::uint8_t* buffer, std::int32_t length) {
  if (handle != kLinkHandle) return kBadHandle;
  if (length < 1) return kBadLength;
  return Transfer(b004::kWriteBase, handle, buffer, nullptr, length);
}

std::int32_t KestrelLink::ResetLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return Request(b004::kResetBase, handle) ? kLinkHandle : kFailed;
}

std::int32_t KestrelLink::AnalyseLink(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return Request(b004::kAnalyseBase, handle) ? kLinkHandle : kFailed;
}

std::int32_t KestrelLink::TestError(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return Request(b004::kTestErrorBase, handle) ? 1 : 0;
}

std::int32_t KestrelLink::TestRead(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return Request(b004::kTestReadBase, handle) ? 1 : 0;
}

std::int32_t KestrelLink::TestWrite(std::int32_t handle) {
  if (handle != kLinkHandle) return kBadHandle;
  return Request(b004::kTestWriteBase, handle) ? 1 : 0;
}

void KestrelLink::Shutdown() { ForgetDevice(); }

}  // namespace board
