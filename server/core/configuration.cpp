#include "server/core/configuration.h"

#include <algorithm>
#include <cctype>

namespace server {

void TextField::Set(std::string_view text) {
  const std::size_t length = std::min(text.size(), kSize - 1);
  std::copy_n(text.data(), length, bytes_.data());
  bytes_[length] = '\0';
}

void FillDefaults(Configuration& config, const char* link_env) {
  ProtocolEntry& protocol = config.protocols[0];
  protocol.description.Set("Inmos (iserver)");
  protocol.library.Set("iserver.dll");
  protocol.extension.Set("btl");
  config.protocol = protocol;

  BoardEntry& board = config.boards[0];
  board.description.Set("Inmos B004");
  board.library.Set("link.dll");
  const bool link_set = link_env != nullptr && link_env[0] != '\0';
  board.link_name.Set(link_set ? std::string_view(link_env) : kDefaultLinkName);
  board.link_timeout.Set("10000");
  config.board = board;
}

std::uint32_t LinkTimeoutValue(const char* text) {
  // "%lu": leading white space, an optional sign, then decimal digits; the
  // value wraps modulo 2^32 like strtoul into a 32-bit unsigned long does.
  if (text == nullptr) return kFallbackLinkTimeout;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (std::isspace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  if (!std::isdigit(*p)) return kFallbackLinkTimeout;
  std::uint64_t value = 0;
  bool overflow = false;
  for (; std::isdigit(*p); ++p) {
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    if (value > UINT32_MAX) {
      overflow = true;
      value = UINT32_MAX;
    }
  }
  if (overflow) return UINT32_MAX;  // strtoul saturates at ULONG_MAX
  const auto result = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

}  // namespace server
