#include "server/toolbars/tip_window_win32.h"

#include <cstring>
#include <string>

namespace tessel::toolbars {

LOGFONTA TipLogFont() {
  LOGFONTA font = {};
  font.lfHeight = -9;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(font.lfFaceName, "MS Sans Serif");
  return font;
}

void Win32TipWindow::SetText(std::string_view text) {
  SetWindowTextA(window_, std::string(text).c_str());
}

TipSize Win32TipWindow::MeasureText(std::string_view text) {
  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  return {extent.cx, extent.cy};
}

bool Win32TipWindow::StartTimer(uint32_t delayMs) {
  return SetTimer(window_, kTipTimerId, delayMs, nullptr) != 0;
}

void Win32TipWindow::StopTimer() {
  KillTimer(window_, kTipTimerId);
}

void Win32TipWindow::Hide() {
  ShowWindow(window_, SW_HIDE);
}

void Win32TipWindow::ShowAt(const TipRect& rect) {
  SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOACTIVATE | SWP_NOZORDER);
  ShowWindow(window_, SW_SHOWNA);
  UpdateWindow(window_);
}

TipPoint Win32TipWindow::CursorPos() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

TipSize Win32TipWindow::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

uint32_t Win32TipWindow::TickCount() {
  return GetTickCount();
}

void PaintTip(HDC dc, const RECT& client, std::string_view text, HFONT font) {
  HPEN frame = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
  HBRUSH face = CreateSolidBrush(kTipFaceColour);
  HGDIOBJ oldPen = SelectObject(dc, frame);
  HGDIOBJ oldBrush = SelectObject(dc, face);
  Rectangle(dc, client.left, client.top, client.right, client.bottom);

  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  RECT box = client;
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(face);
  DeleteObject(frame);
}

namespace {
// The hook procedure has no context argument; the tooltip it serves is the
// one of the process.
TipTiming* hookedTip = nullptr;
}  // namespace

TipKeyboardHook::TipKeyboardHook(TipTiming& tip) {
  hookedTip = &tip;
  hook_ = SetWindowsHookExA(WH_KEYBOARD, OnKey, nullptr, GetCurrentThreadId());
}

TipKeyboardHook::~TipKeyboardHook() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hookedTip = nullptr;
}

LRESULT CALLBACK TipKeyboardHook::OnKey(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && hookedTip) hookedTip->HideTip();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace tessel::toolbars
