#include "server/console/stdio_window.h"

#include "framework/mdi_client.h"

namespace {

// Units of one cell, 80 by 25 of them. Drawing subtracts the position itself
// (no automatic origin), so the sink learns every new position before the
// window repaints.
class TStdioScroller : public TScroller {
 public:
  TStdioScroller(TWindow* window, console::GdiConsoleSink& sink)
      : TScroller(window, sink.char_width(), sink.char_height(), console::kColumns, console::kRows),
        Sink(sink) {
    AutoOrg = false;
  }
 protected:
  void PositionChanged() override { Sink.SetOrigin(static_cast<int>(XPos), static_cast<int>(YPos)); }

 private:
  console::GdiConsoleSink& Sink;
};

std::uint8_t KeyByte(WPARAM wParam) { return static_cast<std::uint8_t>(wParam & 0xFF); }

}  // namespace

DEFINE_RESPONSE_TABLE1(TStdioWindow, TMDIChild)
  EV_MESSAGE(WM_CLOSE, EvClose),
  EV_MESSAGE(WM_KEYDOWN, EvKeyDown),
  EV_MESSAGE(WM_KEYUP, EvKeyUp),
  EV_MESSAGE(WM_SYSKEYDOWN, EvSysKeyDown),
  EV_MESSAGE(WM_SYSKEYUP, EvSysKeyUp),
  EV_MESSAGE(WM_CHAR, EvChar),
  EV_MESSAGE(WM_SETFOCUS, EvSetFocus),
  EV_MESSAGE(WM_KILLFOCUS, EvKillFocus),
  EV_MESSAGE(WM_SIZE, EvSize),
END_RESPONSE_TABLE;

TStdioWindow::TStdioWindow(TMDIClient& parent, const char* title, const server::TaskState& task)
    : TMDIChild(parent, title), Console(Sink, task) {
  Attr.Style |= WS_HSCROLL | WS_VSCROLL;
  Attr.Style &= ~WS_VISIBLE;
  SetScroller(new TStdioScroller(this, Sink));
}

TStdioWindow::~TStdioWindow() {
  // The services must not reach a console that is gone.
  if (console::CurrentConsoleServices() == &Services) console::SetConsoleServices(nullptr);
  Destroy();
}

void TStdioWindow::SetupWindow() {
  TMDIChild::SetupWindow();
  Sink.Attach(HWindow);
}

void TStdioWindow::Paint(HDC dc, bool, RECT&) { Sink.Paint(dc, Console.model); }

LRESULT TStdioWindow::EvClose(WPARAM, LPARAM) { return 0; }

LRESULT TStdioWindow::EvKeyDown(WPARAM wParam, LPARAM) {
  Console.keyboard.OnKeyDown(KeyByte(wParam));
  return 0;
}

LRESULT TStdioWindow::EvKeyUp(WPARAM wParam, LPARAM) {
  Console.keyboard.OnKeyUp(KeyByte(wParam));
  return 0;
}

LRESULT TStdioWindow::EvSysKeyDown(WPARAM wParam, LPARAM) {
  const std::uint8_t key = KeyByte(wParam);
  Console.keyboard.OnSysKeyDown(key);
  // Without a task Alt+F4 still closes the program; with one, it is a key
  // the booted program may want.
  if (console::IsMenuAltKey(key) || (key == VK_F4 && !Console.task().active())) return DefaultProcessing();
  return 0;
}

LRESULT TStdioWindow::EvSysKeyUp(WPARAM wParam, LPARAM) {
  Console.keyboard.OnSysKeyUp(KeyByte(wParam));
  return 0;
}

LRESULT TStdioWindow::EvChar(WPARAM wParam, LPARAM) {
  Console.keyboard.OnChar(KeyByte(wParam));
  return 0;
}

LRESULT TStdioWindow::EvSetFocus(WPARAM wParam, LPARAM) {
  Console.keyboard.OnSetFocus(reinterpret_cast<HWND>(wParam) == HWindow);
  Sink.OnSetFocus(Console.model);
  return 0;
}

LRESULT TStdioWindow::EvKillFocus(WPARAM, LPARAM) {
  Sink.OnKillFocus();
  return 0;
}

LRESULT TStdioWindow::EvSize(WPARAM wParam, LPARAM lParam) {
  SendMessage(WM_KILLFOCUS, 0, 0);
  const LRESULT result = TMDIChild::EvSize(wParam, lParam);
  if (wParam != SIZE_MINIMIZED) SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(HWindow), 0);
  return result;
}
