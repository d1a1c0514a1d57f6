#include "tools/iserver_stub/stub_script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace stub {

namespace {

struct OpName {
  std::string_view name;
  Op op;
  enum { kNone, kText, kNumber } argument;
};

constexpr OpName kOps[] = {
    {"write", Op::kWrite, OpName::kText},          {"getch", Op::kGetch, OpName::kNone},
    {"kbhit", Op::kKbhit, OpName::kNone},          {"gets", Op::kGets, OpName::kNone},
    {"stread", Op::kStread, OpName::kNumber},      {"link-write", Op::kLinkWrite, OpName::kText},
    {"link-read", Op::kLinkRead, OpName::kNumber}, {"link-reset", Op::kLinkReset, OpName::kNone},
    {"link-test", Op::kLinkTest, OpName::kNone},   {"idle", Op::kIdle, OpName::kNumber},
    {"return", Op::kReturn, OpName::kNumber},      {"fault", Op::kFault, OpName::kNone},
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "<op> <result> <bytes>" for the calls that fill a buffer.
std::string ResultWithBytes(std::string_view op, std::int32_t result,
                            const std::vector<std::uint8_t>& buffer) {
  const std::int32_t shown = std::clamp<std::int32_t>(result, 0, static_cast<std::int32_t>(buffer.size()));
  return std::string(op) + " " + std::to_string(result) + " " + EscapeBytes(buffer.data(), shown);
}

std::vector<std::uint8_t> BufferOf(std::int32_t count) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(std::max(count, 0)));
}

}  // namespace

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    switch (c) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'e':
        out += '\x1b';
        break;
      case 'b':
        out += '\b';
        break;
      case 'x':
        if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
          out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
          i += 2;
        } else {
          out += "\\x";
        }
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string EscapeBytes(const void* data, std::int32_t count) {
  std::string out;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::int32_t i = 0; i < count; ++i) {
    const unsigned char b = bytes[i];
    if (b >= 32 && b < 127 && b != '\\') {
      out += static_cast<char>(b);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out;
}

std::optional<std::vector<Command>> ParseScript(std::string_view text, int* bad_line) {
  std::vector<Command> commands;
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    // Leading spaces only; a write keeps its trailing ones up to a CR.
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const OpName* found = nullptr;
    for (const OpName& op : kOps) {
      if (op.name == word) found = &op;
    }
    Command command{Op::kFault, {}, 0, line_number};
    bool ok = found != nullptr;
    if (ok) {
      command.op = found->op;
      if (found->argument == OpName::kText) {
        command.text = Unescape(rest);
      } else if (found->argument == OpName::kNumber) {
        const std::string_view digits = Trim(rest);
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), command.number);
        ok = !digits.empty() && ec == std::errc() && ptr == digits.data() + digits.size();
      } else {
        ok = Trim(rest).empty();
      }
    }
    if (!ok) {
      if (bad_line) *bad_line = line_number;
      return std::nullopt;
    }
    commands.push_back(std::move(command));
  }
  return commands;
}

void StubProgram::Boot(std::vector<Command> commands) {
  commands_ = std::move(commands);
  next_ = 0;
  booted_ = true;
  suspend_requested_ = false;
  terminate_requested_ = false;
}

std::int32_t StubProgram::Call(StubHost& host, std::int32_t link_handle) {
  if (!booted_) {
    host.Log("nothing to resume");
    return 0;
  }
  for (;;) {
    if (terminate_requested_) {
      host.Log("terminated");
      booted_ = false;
      return 0;
    }
    if (suspend_requested_) {
      suspend_requested_ = false;
      host.Log("suspended");
      return 2;
    }
    if (next_ == commands_.size()) {
      host.Log("end");
      booted_ = false;
      return 0;
    }
    const Command& command = commands_[next_++];
    if (command.op == Op::kReturn) {
      host.Log("return " + std::to_string(command.number));
      booted_ = false;
      return command.number;
    }
    Execute(command, host, link_handle);
  }
}

void StubProgram::Execute(const Command& command, StubHost& host, std::int32_t link) {
  const auto count = static_cast<std::int32_t>(command.text.size());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(command.text.data());
  switch (command.op) {
    case Op::kWrite:
      host.Log("write " + std::to_string(host.Stwrite(bytes, count)));
      break;
    case Op::kGetch:
      host.Log("getch " + std::to_string(host.Getch()));
      break;
    case Op::kKbhit:
      host.Log("kbhit " + std::to_string(host.Kbhit()));
      break;
    case Op::kGets: {
      // 80 bytes: the documented bound of a GETS line is 79 characters.
      std::array<char, 80> line{};
      const std::int32_t n = host.Gets(line.data());
      host.Log("gets " + std::to_string(n) + " " + EscapeBytes(line.data(), std::clamp(n, 0, 79)));
      break;
    }
    case Op::kStread: {
      auto buffer = BufferOf(command.number);
      host.Log(ResultWithBytes("stread", host.Stread(buffer.data(), command.number), buffer));
      break;
    }
    case Op::kLinkWrite:
      host.Log("link-write " + std::to_string(host.WriteLink(link, bytes, count)));
      break;
    case Op::kLinkRead: {
      auto buffer = BufferOf(command.number);
      host.Log(ResultWithBytes("link-read", host.ReadLink(link, buffer.data(), command.number), buffer));
      break;
    }
    case Op::kLinkReset:
      host.Log("link-reset " + std::to_string(host.ResetLink(link)));
      break;
    case Op::kLinkTest: {
      const auto results = host.TestLink(link);
      host.Log("link-test " + std::to_string(results[0]) + " " + std::to_string(results[1]) + " " +
               std::to_string(results[2]));
      break;
    }
    case Op::kIdle:
      host.Idle(command.number, [this] { return suspend_requested_ || terminate_requested_; });
      host.Log("idle");
      break;
    case Op::kFault:
      host.Log("fault");
      host.Fault();
      break;
    case Op::kReturn:
      break;  // handled by Call
  }
}

}  // namespace stub
