#include "iserver/core/frame.h"

#include <algorithm>
#include <cstring>

namespace iserver {

std::span<std::uint8_t> FrameAssembler::Wanted() {
  if (state_ != State::kNeedMore) return {};
  const std::size_t total = have_ < 2 ? 2 : 2 + length_;
  return {buffer_.data() + have_, total - have_};
}

FrameAssembler::State FrameAssembler::Received(std::size_t count) {
  if (state_ != State::kNeedMore) return state_;
  have_ += std::min(count, Wanted().size());
  if (have_ == 2) {
    length_ = static_cast<std::size_t>(buffer_[0]) | static_cast<std::size_t>(buffer_[1]) << 8;
    if (length_ < kMinPayload || length_ > kMaxPayload) state_ = State::kBadLength;
  } else if (have_ > 2 && have_ == 2 + length_) {
    state_ = State::kComplete;
  }
  return state_;
}

void FrameAssembler::Clear() {
  have_ = 0;
  length_ = 0;
  state_ = State::kNeedMore;
}

bool RequestReader::Take(std::size_t count) {
  if (!ok_ || count > payload_.size() - std::min(at_, payload_.size())) {
    ok_ = false;
    return false;
  }
  taken_at_ = at_;
  at_ += count;
  return true;
}

std::uint8_t RequestReader::Byte() { return Take(1) ? payload_[taken_at_] : 0; }

std::uint16_t RequestReader::Int16() {
  if (!Take(2)) return 0;
  return static_cast<std::uint16_t>(payload_[taken_at_] | payload_[taken_at_ + 1] << 8);
}

std::int32_t RequestReader::Int32() {
  if (!Take(4)) return 0;
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | payload_[taken_at_ + static_cast<std::size_t>(i)];
  return static_cast<std::int32_t>(value);
}

std::span<const std::uint8_t> RequestReader::Slice() {
  const std::uint16_t length = Int16();
  if (!Take(length)) return {};
  return payload_.subspan(taken_at_, length);
}

bool ReplyWriter::Room(std::size_t count) {
  if (!ok_ || count > kMaxPayload - length_) {
    ok_ = false;
    return false;
  }
  return true;
}

ReplyWriter& ReplyWriter::Byte(std::uint8_t value) {
  if (Room(1)) buffer_[2 + length_++] = value;
  return *this;
}

ReplyWriter& ReplyWriter::Int16(std::uint16_t value) {
  if (Room(2)) {
    buffer_[2 + length_++] = static_cast<std::uint8_t>(value);
    buffer_[2 + length_++] = static_cast<std::uint8_t>(value >> 8);
  }
  return *this;
}

ReplyWriter& ReplyWriter::Int32(std::int32_t value) {
  if (Room(4)) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) buffer_[2 + length_++] = static_cast<std::uint8_t>(bits >> shift);
  }
  return *this;
}

ReplyWriter& ReplyWriter::Slice(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > 0xFFFF || !Room(2 + bytes.size())) {
    ok_ = false;
    return *this;
  }
  Int16(static_cast<std::uint16_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(buffer_.data() + 2 + length_, bytes.data(), bytes.size());
  length_ += bytes.size();
  return *this;
}

std::span<const std::uint8_t> ReplyWriter::Frame() {
  std::size_t padded = std::max(length_, kMinPayload);
  padded += padded % 2;
  // kMaxPayload is even, so padding never leaves the buffer.
  std::fill(buffer_.begin() + 2 + static_cast<std::ptrdiff_t>(length_),
            buffer_.begin() + 2 + static_cast<std::ptrdiff_t>(padded), std::uint8_t{0});
  buffer_[0] = static_cast<std::uint8_t>(padded);
  buffer_[1] = static_cast<std::uint8_t>(padded >> 8);
  return {buffer_.data(), 2 + padded};
}

}  // namespace iserver
