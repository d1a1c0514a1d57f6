// The tooltip on a real popup window under Win32: real timers, the cursor,
// activation, the keyboard hook and the painting.
#include "server/toolbars/tip_window_win32.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tessel::toolbars {
namespace {

TipTiming* windowTip = nullptr;
HFONT windowFont = nullptr;

LRESULT CALLBACK TipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (windowTip) windowTip->OnTimer();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      char text[128] = {};
      const int length = GetWindowTextA(window, text, sizeof text);
      RECT client;
      GetClientRect(window, &client);
      PaintTip(dc, client, std::string_view(text, length), windowFont);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

class TipWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = TipWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TipTest:Tooltip";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "TipTest:Owner";
    RegisterClassA(&wc);

    LOGFONTA logFont = TipLogFont();
    font = CreateFontIndirectA(&logFont);
    windowFont = font;
    owner = CreateWindowA("TipTest:Owner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                          nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(owner);
    SetFocus(owner);
    tipWindow = CreateWindowExA(WS_EX_TOPMOST, "TipTest:Tooltip", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
    port = std::make_unique<Win32TipWindow>(tipWindow, font);
    tip = std::make_unique<TipTiming>(*port, *port);
    windowTip = tip.get();
    PumpFor(100);
  }

  void TearDown() override {
    windowTip = nullptr;
    DestroyWindow(tipWindow);
    DestroyWindow(owner);
    DeleteObject(font);
  }

  RECT TipRectOnScreen() const {
    RECT r;
    GetWindowRect(tipWindow, &r);
    return r;
  }

  HFONT font = nullptr;
  HWND owner = nullptr;
  HWND tipWindow = nullptr;
  std::unique_ptr<Win32TipWindow> port;
  std::unique_ptr<TipTiming> tip;
};

TEST_F(TipWindowTest, ShowsBelowTheCursorAfterItsDelayWithoutTakingActivation) {
  SetCursorPos(300, 200);
  HWND foreground = GetForegroundWindow();
  tip->SetTipText("Run");
  PumpFor(400);
  EXPECT_FALSE(IsWindowVisible(tipWindow));
  PumpFor(500);
  ASSERT_TRUE(IsWindowVisible(tipWindow));
  EXPECT_EQ(GetForegroundWindow(), foreground);

  POINT cursor;
  GetCursorPos(&cursor);
  const RECT r = TipRectOnScreen();
  EXPECT_EQ(r.left, cursor.x - 2);
  EXPECT_EQ(r.top, cursor.y + 22);
  EXPECT_EQ(r.right - r.left, tip->tipSize().cx);
  EXPECT_EQ(r.bottom - r.top, tip->tipSize().cy);
  char text[16];
  GetWindowTextA(tipWindow, text, sizeof text);
  EXPECT_STREQ(text, "Run");
}

TEST_F(TipWindowTest, AKeyPressHidesAPendingTip) {
  TipKeyboardHook hook(*tip);
  ASSERT_TRUE(hook.installed());
  tip->SetTipText("Suspend");
  ASSERT_EQ(tip->state(), TipTiming::State::Pending);

  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  PumpFor(900);
  EXPECT_EQ(tip->state(), TipTiming::State::Idle);
  EXPECT_FALSE(IsWindowVisible(tipWindow));
}

TEST_F(TipWindowTest, PaintingFramesTheFaceAndDrawsTheWholeText) {
  const std::string text(60, 'W');
  const TipSize extent = port->MeasureText(text);
  const RECT client = {0, 0, extent.cx + kTipPadWidth, extent.cy + kTipPadHeight};

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PaintTip(dc, client, text, font);

  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(GetPixel(dc, 1, 1), kTipFaceColour);
  // Text drawn in full reaches the first character cell; a text cut to 49
  // characters and centred would leave the first five cells empty.
  const int firstCell = extent.cx / 60 + 3;
  bool inkNearLeft = false;
  for (int x = 1; x < firstCell && !inkNearLeft; ++x)
    for (int y = 1; y < client.bottom - 1 && !inkNearLeft; ++y)
      inkNearLeft = GetPixel(dc, x, y) == RGB(0, 0, 0);
  EXPECT_TRUE(inkNearLeft);

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
}  // namespace tessel::toolbars
