// Copying a list item's text into a caller's buffer of fixed size, shared by
// the list controls and by callers that work on a list through its handle.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Copies item `index` into `buffer` of `maxChars` bytes, never past it, and
// returns the number of characters copied; -1 (or the platform's error) when
// there is no such item or no room at all.
template <class GetLen, class GetText>
int BoundedItemText(int index, char* buffer, int maxChars, GetLen getLen, GetText getText) {
  if (index < 0 || buffer == nullptr || maxChars <= 0) return -1;
  const int len = getLen(index);
  if (len < 0) return -1;
  std::vector<char> text(static_cast<std::size_t>(len) + 1, '\0');
  const int got = getText(text.data(), index);
  if (got < 0) return got;
  const int copied = std::min(std::min(got, len), maxChars - 1);
  std::copy(text.begin(), text.begin() + copied, buffer);
  buffer[copied] = '\0';
  return copied;
}
