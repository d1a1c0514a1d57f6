// Console output drawn on a real window: cells reach the screen, the caret
// follows the cursor, painting restores the grid; batched drawing leaves the
// same grid, caret and pixels as per-byte drawing, call after call; and
// STWRITE throughput on a visible window, printed for the record.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

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

// A visible window, at y, big enough for the whole grid, drawing host's console.
HWND CreateConsoleWindow(Host& host, int y) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ConsoleWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "ConsoleWindowTest";
  RegisterClassA(&wc);
  const int width = host.sink.char_width() * kColumns + 40;
  const int height = host.sink.char_height() * kRows + 60;
  HWND window = CreateWindowA("ConsoleWindowTest", "I/O Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, y, width,
                              height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
  host.sink.Attach(window);
  return window;
}

class ConsoleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateConsoleWindow(host, 0);
    ASSERT_NE(window, nullptr);
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


// Every output form: text and wrapped lines, each control byte, each escape
// form with its quirks (bad moves, overlong sequences, unknown finals), and
// scrolling; clearing is kept rare so the screen stays full.
const std::vector<std::string>& OutputForms() {
  static const std::vector<std::string> forms = {
      "hello world ", "The quick brown fox jumps over the lazy dog. ", std::string(100, '#'), "0123456789",
      "\b", "\t", "\n", "\r", "\r\n", "\a", std::string(1, '\0'), "\x01", "\x1f", "\x7f", "\x80", "\xc8", "\xff",
      "\x1b[A", "\x1b[3A", "\x1b[B", "\x1b[2B", "\x1b[C", "\x1b[5C", "\x1b[0C", "\x1b[D", "\x1b[4D", "\x1b" "A",
      "\x1b[5;10H", "\x1b[12;34f", "\x1b[25;80H", "\x1b[H", "\x1b[5H", "\x1b[26;1H", "\x1b[1;81H", "\x1b[1;2J",
      "\x1b[K", "\x1b[1;2K", "\x1b" "K", "\x1b[s", "\x1b[u", "\x1b" "s", "\x1b" "u", "\x1bX", "\x1b[12Z",
      "\x1b\x1b", "\x1b[200B", "\x1b[255A", "\x1b[" + std::string(45, '['), "\x1b[1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1H",
  };
  return forms;
}

std::string MixedOutput(std::mt19937& random, std::size_t size) {
  const auto& forms = OutputForms();
  std::string out;
  while (out.size() < size) {
    const std::size_t pick = random() % (forms.size() + 1);
    if (pick == forms.size()) {
      if (random() % 8 == 0) out += random() % 2 ? "\f" : "\x1b[2J";
      continue;
    }
    out += forms[pick];
  }
  return out;
}

// The pixels of the grid's cells.
std::vector<std::uint32_t> Capture(HWND window) {
  const Host& host = *reinterpret_cast<Host*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  const RECT client{0, 0, host.sink.char_width() * kColumns, host.sink.char_height() * kRows};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> copy(pixels, pixels + client.right * client.bottom);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return copy;
}

// Two consoles side by side: the reference, drawn per byte and fed one byte
// at a time, and the one under test, batched and fed through STWRITE.
class BatchedDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reference.sink.SetDrawing(GdiConsoleSink::Drawing::kPerByte);
    reference_window = CreateConsoleWindow(reference, 0);
    batched_window = CreateConsoleWindow(batched, reference.sink.char_height() * kRows + 70);
    ASSERT_NE(reference_window, nullptr);
    ASSERT_NE(batched_window, nullptr);
    SetFocus(nullptr);  // no caret in the pictures
    Pump();
  }
  void TearDown() override {
    DestroyWindow(reference_window);
    DestroyWindow(batched_window);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void Write(const std::string& piece) {
    for (char c : piece) reference.console.model.PutChar(static_cast<std::uint8_t>(c));
    EXPECT_EQ(services.Stwrite(reinterpret_cast<const std::uint8_t*>(piece.data()),
                               static_cast<std::int32_t>(piece.size())),
              static_cast<std::int32_t>(piece.size()));
  }
  // Same grid, cursor and open sequence.
  void ExpectSameConsole(const std::string& context) {
    const ConsoleModel& want = reference.console.model;
    const ConsoleModel& got = batched.console.model;
    for (int row = 0; row < kRows; ++row) ASSERT_EQ(got.Row(row), want.Row(row)) << "row " << row << context;
    ASSERT_EQ(got.cursor_col(), want.cursor_col()) << context;
    ASSERT_EQ(got.cursor_row(), want.cursor_row()) << context;
    ASSERT_EQ(got.escape().length(), want.escape().length()) << context;
  }
  // The batched window's grid as drawn is what it shows after repainting
  // from the grid, and what the reference shows after its repaint. (Per-byte
  // drawing leaves bits of glyphs that overhang their cell where the next
  // cell is drawn first; a repaint wipes them, so the reference is repainted.)
  void ExpectSamePixels(const std::string& context) {
    const auto drawn = Capture(batched_window);
    for (HWND window : {batched_window, reference_window}) {
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
    }
    ASSERT_TRUE(drawn == Capture(batched_window)) << "against a repaint" << context;
    ASSERT_TRUE(drawn == Capture(reference_window)) << "against per-byte drawing" << context;
  }

  Host reference;
  Host batched;
  HWND reference_window = nullptr;
  HWND batched_window = nullptr;
  Win32MessagePump pump;
  ConsoleServices services{batched.console, pump};
};

TEST_F(BatchedDrawingTest, RandomPiecesShowWhatPerByteDrawingShows) {
  std::mt19937 random(20261209);
  const std::string stream = MixedOutput(random, 6000);
  std::size_t at = 0;
  for (int call = 0; at < stream.size(); ++call) {
    // Mostly short pieces, so sequences split everywhere; now and then a long one.
    const std::size_t size = random() % 4 == 0 ? 1 + random() % 400 : 1 + random() % 12;
    Write(stream.substr(at, size));
    const std::string context = " after call " + std::to_string(call) + " at byte " + std::to_string(at);
    at += size;
    ExpectSameConsole(context);
    if (call % 5 == 0 || at >= stream.size()) ExpectSamePixels(context);
  }
}

TEST_F(BatchedDrawingTest, EverySequenceSplitAtEveryPlace) {
  Write("\x1b[12;20Hsome text here\r\n" + std::string(150, '='));
  for (const std::string& form : OutputForms()) {
    for (std::size_t split = 1; split < form.size(); ++split) {
      Write(form.substr(0, split));
      Write(form.substr(split) + "*");
      ExpectSameConsole(" in " + form.substr(1) + " split at " + std::to_string(split));
    }
  }
  ExpectSamePixels("");
}

TEST_F(BatchedDrawingTest, CaretFollowsTheCursorAfterEveryCall) {
  SetFocus(batched_window);
  std::mt19937 random(7);
  const std::string stream = MixedOutput(random, 3000);
  const int w = batched.sink.char_width(), h = batched.sink.char_height();
  for (std::size_t at = 0, size; at < stream.size(); at += size) {
    size = 1 + random() % 40;
    Write(stream.substr(at, size));
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    const ConsoleModel& model = batched.console.model;
    ASSERT_EQ(caret.x, model.cursor_col() * w) << at;
    ASSERT_EQ(caret.y, model.cursor_row() * h + (3 * h) / 4) << at;
  }
  ExpectSameConsole("");
}

TEST_F(BatchedDrawingTest, MinimizedWindowRepaintsFromTheGridWhenRestored) {
  Write("before\r\n");
  ShowWindow(batched_window, SW_MINIMIZE);
  Pump();
  std::mt19937 random(11);
  Write(MixedOutput(random, 3000));
  ShowWindow(batched_window, SW_SHOWNOACTIVATE);
  SetFocus(nullptr);  // minimizing gave the reference the focus, and a caret
  Pump();
  ExpectSameConsole("");
  ExpectSamePixels("");
}

}  // namespace
}  // namespace console
