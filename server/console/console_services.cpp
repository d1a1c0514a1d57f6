#include "server/console/console_services.h"

#include <algorithm>
#include <cstring>

namespace console {

bool ConsoleServices::WaitForKey() {
  while (console_.ring.empty()) {
    // Keys arrive only while a task is active: once it is terminated, or the
    // program is leaving, no key will ever come.
    if (!console_.task().active() || leaving_) return false;
    const PumpResult pumped = pump_.PumpOne();
    if (pumped.quit) {
      leaving_ = true;
      pump_.RepostQuit(pumped.exit_code);
      return false;
    }
  }
  return true;
}

std::optional<std::uint8_t> ConsoleServices::NextByte() {
  if (!WaitForKey()) return std::nullopt;
  return console_.ring.Take();
}

std::int32_t ConsoleServices::Getch() {
  const auto byte = NextByte();
  return byte ? static_cast<std::int8_t>(*byte) : kNoKey;
}

std::int32_t ConsoleServices::Kbhit() const {
  if (console_.ring.empty()) return 0;
  const std::uint8_t next = console_.ring.Peek();
  return next == 0 ? 256 : static_cast<std::int8_t>(next);
}

std::optional<int> ConsoleServices::GetLine(char* buffer, int max_chars) {
  ConsoleModel& screen = console_.model;
  buffer[0] = '\0';
  int at = 0;
  for (;;) {
    auto byte = NextByte();
    if (!byte) break;
    if (*byte == 0) {  // function and cursor keys: the code is thrown away too
      if (!NextByte()) break;
      continue;
    }
    if (*byte == kBackspace) {
      if (at > 0) {
        --at;
        screen.PutText("\b \b");
      }
      continue;
    }
    if (*byte == kCarriageReturn || *byte == kLineFeed) {
      buffer[at] = '\0';
      screen.PutChar(kLineFeed);
      return at;
    }
    if (at == max_chars) {  // the buffer is full: refuse, but keep editing
      screen.sink().Beep();
      continue;
    }
    buffer[at++] = static_cast<char>(*byte);
    screen.PutChar(*byte);
  }
  buffer[0] = '\0';
  return std::nullopt;
}

std::int32_t ConsoleServices::Gets(char* buffer) {
  if (buffer == nullptr) return 0;
  return GetLine(buffer, kMaxLine).value_or(0);
}

std::int32_t ConsoleServices::Stread(std::uint8_t* buffer, std::int32_t count) {
  if (count < 0 || (buffer == nullptr && count > 0)) return 0;
  LineState& line = console_.line;
  if (line.length == 0 || line.length == line.used) {
    const auto length = GetLine(line.buffer.data(), kMaxLine);
    if (!length) {
      line.length = line.used = 0;
      return 0;
    }
    line.buffer[static_cast<std::size_t>(*length)] = '\n';
    line.length = *length + 1;
    line.used = 0;
  }
  const int handed = std::min(count, line.length - line.used);
  if (handed > 0) std::memcpy(buffer, line.buffer.data() + line.used, static_cast<std::size_t>(handed));
  line.used += handed;
  if (line.used == line.length) line.length = 0;
  return handed;
}

std::int32_t ConsoleServices::Stwrite(const std::uint8_t* data, std::int32_t count) {
  if (data == nullptr || count <= 0) return 0;
  console_.model.PutText({reinterpret_cast<const char*>(data), static_cast<std::size_t>(count)});
  return count;
}

}  // namespace console
