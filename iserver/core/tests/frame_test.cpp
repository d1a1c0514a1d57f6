// The framing: lengths in any pieces, the limits, reply padding, bounds.
#include <gtest/gtest.h>

#include "iserver/core/frame.h"
#include "iserver/core/tests/fakes.h"

namespace iserver::testing {
namespace {

using State = FrameAssembler::State;

// Feeds a whole frame in pieces of `piece` bytes; the final state.
State Feed(FrameAssembler& frame, const Bytes& bytes, std::size_t piece) {
  std::size_t at = 0;
  State state = State::kNeedMore;
  while (state == State::kNeedMore && at < bytes.size()) {
    const auto wanted = frame.Wanted();
    const std::size_t n = std::min({piece, wanted.size(), bytes.size() - at});
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), n, wanted.begin());
    at += n;
    state = frame.Received(n);
  }
  return state;
}

TEST(Frame, RequestLengthsAreAcceptedFrom6To1022InAnyPieces) {
  const struct {
    std::size_t length;
    State state;
  } cases[] = {{0, State::kBadLength}, {5, State::kBadLength}, {6, State::kComplete}, {7, State::kComplete},
               {510, State::kComplete}, {1022, State::kComplete}, {1023, State::kBadLength},
               {0xFFFF, State::kBadLength}};
  for (const auto& c : cases) {
    for (std::size_t piece : {1u, 3u, 4096u}) {
      FrameAssembler frame;
      Bytes payload(std::min<std::size_t>(c.length, 2000), 0x5A);
      Bytes bytes = Request::Raw(payload);
      bytes[0] = static_cast<std::uint8_t>(c.length);
      bytes[1] = static_cast<std::uint8_t>(c.length >> 8);
      ASSERT_EQ(Feed(frame, bytes, piece), c.state) << c.length << " in pieces of " << piece;
      if (c.state == State::kComplete) {
        EXPECT_EQ(frame.payload().size(), c.length);
        EXPECT_TRUE(frame.Wanted().empty());
      }
      EXPECT_FALSE(frame.AtBoundary());
      frame.Clear();
      EXPECT_TRUE(frame.AtBoundary());
    }
  }
}

TEST(Frame, RepliesArePaddedToAnEvenLengthOfAtLeastSix) {
  const struct {
    std::size_t data;
    std::size_t padded;
  } cases[] = {{1, 6}, {4, 6}, {5, 6}, {6, 6}, {7, 8}, {506, 506}, {507, 508}};
  for (const auto& c : cases) {
    ReplyWriter reply(0);
    for (std::size_t i = 1; i < c.data; ++i) reply.Byte(0xAA);
    const auto frame = reply.Frame();
    EXPECT_EQ(frame.size(), 2 + c.padded) << c.data;
    EXPECT_EQ(frame[0] | frame[1] << 8, static_cast<int>(c.padded));
    for (std::size_t i = 2 + reply.payload_length(); i < frame.size(); ++i) EXPECT_EQ(frame[i], 0);
  }
}

TEST(Frame, FieldsAreLittleEndianAndNeverReadPastThePayload) {
  const Bytes payload({12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 3, 0, 'a', 'b'});
  RequestReader in(payload);
  EXPECT_EQ(in.Int32(), 0x12345678);
  EXPECT_EQ(in.Int16(), 0xFFFE);
  EXPECT_EQ(in.Slice().size(), 0u);  // 3 bytes declared, 2 present
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.Byte(), 0);  // once failed, nothing more is read
}

TEST(Frame, AReplyNeverOutgrowsItsBuffer) {
  ReplyWriter reply(0);
  reply.Slice(Bytes(kMaxPayload - 3, 'x'));
  EXPECT_TRUE(reply.ok());
  reply.Byte(1);
  EXPECT_FALSE(reply.ok());
  EXPECT_EQ(reply.payload_length(), kMaxPayload);
  EXPECT_EQ(reply.Frame().size(), 2 + kMaxPayload);
}

}  // namespace
}  // namespace iserver::testing
