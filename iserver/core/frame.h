// The host protocol's framing: a 2-byte little-endian payload length, then
// the payload. Requests are read field by field with bounds checks; replies
// are built in a fixed buffer and padded the way occam and C clients expect.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace iserver {

// Request payloads the host accepts (odd lengths too: clients pad, but the
// host does not insist). 1022 is the classic server's transaction buffer.
constexpr std::size_t kMinPayload = 6;
constexpr std::size_t kMaxPayload = 1022;
// Replies stay within what an occam client's receive buffer holds, unless
// the request itself asked for more.
constexpr std::size_t kUsualReplyPayload = 510;

// Collects one frame from bytes as they arrive, in any pieces.
class FrameAssembler {
 public:
  enum class State { kNeedMore, kComplete, kBadLength };

  // Where the next bytes go and how many the frame still needs (never 0
  // unless the frame is complete or refused).
  std::span<std::uint8_t> Wanted();
  // Accounts for bytes stored into Wanted().
  State Received(std::size_t count);
  State state() const { return state_; }
  bool AtBoundary() const { return have_ == 0; }
  std::size_t declared_length() const { return length_; }
  std::span<const std::uint8_t> payload() const { return {buffer_.data() + 2, length_}; }
  void Clear();

 private:
  std::array<std::uint8_t, 2 + kMaxPayload> buffer_{};
  std::size_t have_ = 0;
  std::size_t length_ = 0;
  State state_ = State::kNeedMore;
};

// Reads a request's fields in order. Any read past the payload makes ok()
// false and yields zeros; the handler checks ok() before acting.
class RequestReader {
 public:
  explicit RequestReader(std::span<const std::uint8_t> payload) : payload_(payload) {}
  std::uint8_t Byte();
  std::uint16_t Int16();
  std::int32_t Int32();
  std::span<const std::uint8_t> Slice();  // INT16 length, then the bytes
  std::string Text() {
    const auto bytes = Slice();
    return {bytes.begin(), bytes.end()};
  }
  bool ok() const { return ok_; }

 private:
  bool Take(std::size_t count);
  std::span<const std::uint8_t> payload_;
  std::size_t at_ = 1;  // past the tag
  std::size_t taken_at_ = 0;
  bool ok_ = true;
};

// Builds one reply frame. Appends never write past the buffer: what does not
// fit is dropped and ok() turns false (handlers size their data first).
class ReplyWriter {
 public:
  ReplyWriter() = default;
  explicit ReplyWriter(std::uint8_t result) { Byte(result); }
  ReplyWriter& Byte(std::uint8_t value);
  ReplyWriter& Int16(std::uint16_t value);
  ReplyWriter& Int32(std::int32_t value);
  ReplyWriter& Slice(std::span<const std::uint8_t> bytes);
  ReplyWriter& Slice(const std::string& text) {
    return Slice(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  // Space left for a slice's bytes after its count.
  std::size_t SliceRoom() const { return kMaxPayload - length_ > 2 ? kMaxPayload - length_ - 2 : 0; }
  bool ok() const { return ok_; }
  std::size_t payload_length() const { return length_; }
  // The whole frame: payload padded with zeros to an even length of at
  // least 6, behind its length.
  std::span<const std::uint8_t> Frame();

 private:
  bool Room(std::size_t count);
  std::array<std::uint8_t, 2 + kMaxPayload> buffer_{};
  std::size_t length_ = 0;
  bool ok_ = true;
};

}  // namespace iserver
