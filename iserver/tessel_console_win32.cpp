#include "iserver/tessel_console_win32.h"

#include <algorithm>
#include <limits>

#include "iserver/message_pump_win32.h"
#include "iserver/resolve_win32.h"

namespace iserver {

constexpr std::size_t kMostPerCall = std::numeric_limits<std::int32_t>::max();

ConsoleServices ConsoleServices::Resolve(HMODULE program) {
  return ConsoleServices{
      .gets = ResolveExport<GetsFn>(program, "GETS"),
      .getch = ResolveExport<KeyFn>(program, "GETCH"),
      .kbhit = ResolveExport<KeyFn>(program, "KBHIT"),
      .stread = ResolveExport<StreadFn>(program, "STREAD"),
      .stwrite = ResolveExport<StwriteFn>(program, "STWRITE"),
  };
}

// The I/O Window's line feed also returns to column 0, so a C program's '\n'
// ends the line as it is.
void TesselConsole::Write(ConsoleStream, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kMostPerCall);
    services_.stwrite(bytes.data(), static_cast<std::int32_t>(piece));
    bytes = bytes.subspan(piece);
  }
}

// STREAD hands out typed lines, echoed and edited; it answers 0 only when
// its wait ended without a line.
std::size_t TesselConsole::ReadLine(std::uint8_t* buffer, std::size_t count) {
  const std::int32_t got = services_.stread(buffer, static_cast<std::int32_t>(std::min(count, kMostPerCall)));
  return got > 0 ? std::min(static_cast<std::size_t>(got), count) : 0;
}

std::optional<std::uint8_t> TesselConsole::GetKey() {
  const std::int32_t key = services_.getch();
  if (key == -1 && (wait_given_up_() || QuitPending())) return std::nullopt;
  return static_cast<std::uint8_t>(key);
}

// KBHIT dispatches nothing: let the keys already posted reach the console
// first, or a program that only polls would never see one.
std::optional<std::uint8_t> TesselConsole::PollKey() {
  DispatchPendingMessages();
  if (services_.kbhit() == 0) return std::nullopt;
  return static_cast<std::uint8_t>(services_.getch());
}

}  // namespace iserver
