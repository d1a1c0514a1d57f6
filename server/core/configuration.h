// The server's library configuration: the protocol and board tables, the
// current selection and the built-in defaults. Nothing is persisted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace server {

// A setting field: 80 bytes, always NUL-terminated, at most 79 characters.
class TextField {
 public:
  static constexpr std::size_t kSize = 80;

  TextField() = default;
  TextField(std::string_view text) { Set(text); }  // NOLINT: fields read like strings

  // Longer text is cut at 79 characters so the terminator always fits.
  void Set(std::string_view text);
  const char* c_str() const { return bytes_.data(); }
  std::string_view view() const { return bytes_.data(); }
  bool empty() const { return bytes_[0] == '\0'; }
  // The raw bytes, for dialogs that edit the field in place.
  std::array<char, kSize>& bytes() { return bytes_; }

 private:
  std::array<char, kSize> bytes_{};
};

struct ProtocolEntry {
  TextField description;
  TextField library;
  TextField extension;  // default boot-file extension, without the dot
};

struct BoardEntry {
  TextField description;
  TextField library;
  TextField link_name;
  TextField link_timeout;  // decimal text
};

struct Configuration {
  static constexpr std::size_t kTableSize = 16;

  std::array<ProtocolEntry, kTableSize> protocols{};
  std::array<BoardEntry, kTableSize> boards{};
  ProtocolEntry protocol;  // the current protocol: a copy of entry 0
  BoardEntry board;        // the current board: a copy of entry 0
};

inline constexpr std::string_view kDefaultLinkName = "0x150";
inline constexpr std::uint32_t kFallbackLinkTimeout = 100000;

// Writes the built-in defaults into entry 0 of both tables and makes them the
// current selection. link_env is the value of LINK (null when unset).
void FillDefaults(Configuration& config, const char* link_env);

// The link timeout as a number, read the way scanf's "%lu" reads it; text
// without a number gives 100000.
std::uint32_t LinkTimeoutValue(const char* text);

}  // namespace server
