// Console output drawn on a real window: cells reach the screen, the caret
// follows the cursor, painting restores the grid; and STWRITE throughput on a
// visible window, printed for the record.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "server/console/console_services_win32.h"
#include "server/console/gdi_console_sink_win32.h"

namespace console {
namespace {

struct Host {
  GdiConsoleSink sink;
  server::TaskState task;
  Console console{sink, task};
};

LRESULT CALLBACK ConsoleWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* host = reinterpret_cast<Host*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (host == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      host->sink.Paint(dc, host->console.model);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETFOCUS:
      host->sink.OnSetFocus(host->console.model);
      return 0;
    case WM_KILLFOCUS:
      host->sink.OnKillFocus();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

class ConsoleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ConsoleWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ConsoleWindowTest";
    RegisterClassA(&wc);
    const int width = host.sink.char_width() * kColumns + 40;
    const int height = host.sink.char_height() * kRows + 60;
    window = CreateWindowA("ConsoleWindowTest", "I/O Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    host.sink.Attach(window);
    SetForegroundWindow(window);
    SetFocus(window);
    Pump();
  }
  void TearDown() override {
    SetConsoleServices(nullptr);
    DestroyWindow(window);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  // Count of pixels in a cell that differ from the background.
  int InkInCell(int col, int row) {
    HDC dc = GetDC(window);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    int ink = 0;
    for (int y = 0; y < host.sink.char_height(); ++y) {
      for (int x = 0; x < host.sink.char_width(); ++x) {
        const COLORREF pixel =
            GetPixel(dc, col * host.sink.char_width() + x, row * host.sink.char_height() + y);
        ink += pixel != background && pixel != CLR_INVALID;
      }
    }
    ReleaseDC(window, dc);
    return ink;
  }

  Host host;
  HWND window = nullptr;
};

TEST_F(ConsoleWindowTest, OutputIsDrawnAtOnceAndRepaintedFromTheGrid) {
  EXPECT_EQ(InkInCell(2, 1), 0);
  host.console.model.PutText("\n  W");
  EXPECT_GT(InkInCell(2, 1), 0);
  // Wipe the window, then let a paint bring the cell back from the grid.
  HDC dc = GetDC(window);
  RECT all;
  GetClientRect(window, &all);
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  ReleaseDC(window, dc);
  EXPECT_EQ(InkInCell(2, 1), 0);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_GT(InkInCell(2, 1), 0);
  EXPECT_EQ(InkInCell(10, 1), 0);  // not the cell after it: the caret is there
}

TEST_F(ConsoleWindowTest, CaretUnderlinesTheCursorCellWhileFocused) {
  ASSERT_EQ(GetFocus(), window);
  host.console.model.PutText("abc\x1b[4;10H");
  POINT caret;
  ASSERT_TRUE(GetCaretPos(&caret));
  EXPECT_EQ(caret.x, 9 * host.sink.char_width());
  EXPECT_EQ(caret.y, 3 * host.sink.char_height() + (3 * host.sink.char_height()) / 4);
  // Scrolled by two columns and a row, the caret moves with the view.
  host.sink.SetOrigin(2, 1);
  host.console.model.PlaceCaret();
  ASSERT_TRUE(GetCaretPos(&caret));
  EXPECT_EQ(caret.x, 7 * host.sink.char_width());
  EXPECT_EQ(caret.y, 2 * host.sink.char_height() + (3 * host.sink.char_height()) / 4);
}

TEST_F(ConsoleWindowTest, StwriteThroughputOnAVisibleWindow) {
  Win32MessagePump pump;
  ConsoleServices services{host.console, pump};
  SetConsoleServices(&services);
  using StwriteFn = std::int32_t(WINAPI*)(const std::uint8_t*, std::int32_t);
  auto stwrite = reinterpret_cast<StwriteFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(nullptr), "STWRITE")));
  ASSERT_NE(stwrite, nullptr);

  std::string data;
  for (int line = 0; data.size() < 64 * 1024; ++line) {
    data += "line " + std::to_string(line) + ": the quick brown fox\tjumps\x1b[K\r\n";
  }
  data.resize(64 * 1024);
  const auto start = std::chrono::steady_clock::now();
  const std::int32_t written =
      stwrite(reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<std::int32_t>(data.size()));
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(written, 64 * 1024);
  std::printf("STWRITE to a visible window: %.0f bytes/s (64 KiB in %.3f s)\n", data.size() / elapsed.count(),
              elapsed.count());
}

}  // namespace
}  // namespace console
