// Answers every board library gives alike, checked on either library through
// the same code: in-process cores and DLLs loaded by file name.
#pragma once

#include <gtest/gtest.h>

#include "boards/include/link_functions.h"

namespace board::testing {

// Handles other than 1 give -1 and lengths below 1 give -2 (with handle 1).
inline void ExpectBadHandlesAndLengthsRefused(LinkFunctions& link) {
  std::uint8_t buffer[4] = {};
  for (std::int32_t handle : {0, 2, -1}) {
    SCOPED_TRACE(handle);
    EXPECT_EQ(link.CloseLink(handle), -1);
    EXPECT_EQ(link.ReadLink(handle, buffer, 4), -1);
    EXPECT_EQ(link.WriteLink(handle, buffer, 4), -1);
    EXPECT_EQ(link.ResetLink(handle), -1);
    EXPECT_EQ(link.AnalyseLink(handle), -1);
    EXPECT_EQ(link.TestError(handle), -1);
    EXPECT_EQ(link.TestRead(handle), -1);
    EXPECT_EQ(link.TestWrite(handle), -1);
  }
  for (std::int32_t length : {0, -1, -100}) {
    EXPECT_EQ(link.ReadLink(1, buffer, length), -2);
    EXPECT_EQ(link.WriteLink(1, buffer, length), -2);
  }
}

// Before the first OpenLink (or with no device open) nothing moves.
inline void ExpectAnswersWithNothingOpen(LinkFunctions& link) {
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(link.ReadLink(1, buffer, 4), 0);
  EXPECT_EQ(link.WriteLink(1, buffer, 4), 0);
  EXPECT_EQ(link.ResetLink(1), -1);
  EXPECT_EQ(link.AnalyseLink(1), -1);
  EXPECT_EQ(link.TestError(1), 0);
  EXPECT_EQ(link.TestRead(1), 0);
  EXPECT_EQ(link.TestWrite(1), 0);
  EXPECT_EQ(link.CloseLink(1), -1);
}

}  // namespace board::testing
