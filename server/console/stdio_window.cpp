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

std::uint8_t KeyByte(UINT key) { return static_cast<std::uint8_t>(key & 0xFF); }

}  // namespace

DEFINE_RESPONSE_TABLE1(TStdioWindow, TMDIChild)
  EV_WM_CLOSE(EvClose),
  EV_WM_KEYDOWN(EvKeyDown),
  EV_WM_KEYUP(EvKeyUp),
  EV_WM_SYSKEYDOWN(EvSysKeyDown),
  EV_WM_SYSKEYUP(EvSysKeyUp),
  EV_WM_CHAR(EvChar),
  EV_WM_SETFOCUS(EvSetFocus),
  EV_WM_KILLFOCUS(EvKillFocus),
  EV_WM_SIZE(EvSize),
END_RESPONSE_TABLE;

TStdioWindow::TStdioWindow(TMDIClient& parent, const char* title, const server::TaskState& task)
    : TMDIChild(parent, title), Console(Sink, task) {
  Attr.Style |= WS_HSCROLL | WS_VSCROLL;
  Attr.Style &= ~WS_VISIBLE;
  SetScroller(std::make_unique<TStdioScroller>(this, Sink));
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

void TStdioWindow::EvKeyDown(UINT key, UINT, UINT) { Console.keyboard.OnKeyDown(KeyByte(key)); }

void TStdioWindow::EvKeyUp(UINT key, UINT, UINT) { Console.keyboard.OnKeyUp(KeyByte(key)); }

void TStdioWindow::EvSysKeyDown(UINT key, UINT repeatCount, UINT flags) {
  const std::uint8_t code = KeyByte(key);
  Console.keyboard.OnSysKeyDown(code);
  // Without a task Alt+F4 still closes the program; with one, it is a key
  // the booted program may want.
  if (console::IsMenuAltKey(code) || (code == VK_F4 && !Console.task().active()))
    DefWindowProc(WM_SYSKEYDOWN, key, MAKELPARAM(repeatCount, flags));
}

void TStdioWindow::EvSysKeyUp(UINT key, UINT, UINT) { Console.keyboard.OnSysKeyUp(KeyByte(key)); }

void TStdioWindow::EvChar(UINT ch, UINT, UINT) { Console.keyboard.OnChar(KeyByte(ch)); }

void TStdioWindow::EvSetFocus(HWND lostFocus) {
  Console.keyboard.OnSetFocus(lostFocus == HWindow);
  Sink.OnSetFocus(Console.model);
}

void TStdioWindow::EvKillFocus(HWND) { Sink.OnKillFocus(); }

void TStdioWindow::EvSize(UINT sizeType, int cx, int cy) {
  SendMessage(WM_KILLFOCUS, 0, 0);
  TMDIChild::EvSize(sizeType, cx, cy);
  if (sizeType != SIZE_MINIMIZED) SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(HWindow), 0);
}
