#include "iserver/board_link_win32.h"

#include "iserver/resolve_win32.h"

namespace iserver {

BoardFunctions BoardFunctions::Resolve(HMODULE board) {
  return BoardFunctions{
      .read = ResolveExport<link_interface::ReadLinkFn>(board, "ReadLink"),
      .write = ResolveExport<link_interface::WriteLinkFn>(board, "WriteLink"),
      .reset = ResolveExport<link_interface::ResetLinkFn>(board, "ResetLink"),
      .test_error = ResolveExport<link_interface::TestErrorFn>(board, "TestError"),
      .test_read = ResolveExport<link_interface::TestReadFn>(board, "TestRead"),
  };
}

namespace {

double Milliseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

// ReadLink waits up to the link timeout for each byte, however long the user
// set that to be; so the link is read only once TestRead says a byte waits
// (1, in both board libraries), and a quiet link returns 0 after kQuietMs.
std::int32_t BoardLink::Read(std::uint8_t* buffer, std::int32_t count) {
  const double start = Milliseconds();
  for (;;) {
    const std::int32_t ready = board_.test_read(handle_);
    if (ready < 0) return -1;
    if (ready == 1) break;
    const double waited = Milliseconds() - start;
    if (waited >= kQuietMs) return 0;
    Sleep(waited >= kSpinMs ? 1 : 0);
  }
  const std::int32_t got = board_.read(handle_, buffer, count);
  if (got < 0) return -1;
  return got > count ? count : got;
}

std::int32_t BoardLink::Write(const std::uint8_t* data, std::int32_t count) {
  std::int32_t taken = 0;
  DWORD progress_at = GetTickCount();
  while (taken < count) {
    const std::int32_t n = board_.write(handle_, data + taken, count - taken);
    if (n < 0) return taken > 0 ? taken : -1;
    if (n > 0) {
      taken += n > count - taken ? count - taken : n;
      progress_at = GetTickCount();
      continue;
    }
    // A transputer busy with what it has can leave the link unread for a
    // while; only a long silence means the board has stopped.
    if (GetTickCount() - progress_at >= kWritePatienceMs) break;
    Sleep(1);
  }
  return taken;
}

// The B004's error line is active low; TestError answers 1 while the
// transputer's error flag is raised.
bool BoardLink::ErrorRaised() { return board_.test_error(handle_) == 1; }

bool BoardLink::Reset() { return board_.reset(handle_) == 1; }

}  // namespace iserver
