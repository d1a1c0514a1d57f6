// Owning and locking movable global memory blocks, so that every path out of
// the resource code frees and unlocks what it took.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>

namespace mantle {

class GlobalBlock {
 public:
  explicit GlobalBlock(HGLOBAL handle = nullptr) : handle_(handle) {}
  ~GlobalBlock() {
    if (handle_ != nullptr) GlobalFree(handle_);
  }
  GlobalBlock(GlobalBlock&& other) noexcept : handle_(other.release()) {}
  GlobalBlock& operator=(GlobalBlock&& other) noexcept {
    GlobalBlock gone(std::exchange(handle_, other.release()));
    return *this;
  }

  HGLOBAL get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the block to the caller.
  HGLOBAL release() { return std::exchange(handle_, nullptr); }

 private:
  HGLOBAL handle_;
};

// A block locked for the lifetime of this object, seen as its size or, when
// given, as its first `size` bytes. A block of size 0 locks to no address and
// reads as empty.
class LockedBlock {
 public:
  explicit LockedBlock(HGLOBAL handle, std::size_t size = SIZE_MAX)
      : handle_(handle),
        data_(handle != nullptr ? static_cast<std::uint8_t*>(GlobalLock(handle)) : nullptr),
        size_(data_ != nullptr ? std::min<std::size_t>(GlobalSize(handle), size) : 0) {}
  ~LockedBlock() {
    if (data_ != nullptr) GlobalUnlock(handle_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  std::uint8_t* data() const { return data_; }
  std::span<std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  HGLOBAL handle_;
  std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace mantle
