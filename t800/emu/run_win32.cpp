// The terminal host in a Windows console (or with redirected handles).
#include <windows.h>
#include <conio.h>

#include "t800/emu/terminal_console.h"
#include "t800/emu/terminal_host.h"
#include "t800/emu/terminal_platform.h"

namespace t800emu {
namespace {

HANDLE g_input = INVALID_HANDLE_VALUE;
DWORD g_saved_mode = 0;
bool g_console = false;

BOOL WINAPI RestoreOnBreak(DWORD) {
  if (g_console) SetConsoleMode(g_input, g_saved_mode);
  return FALSE;  // and let the default handler end the process
}

class Win32Terminal final : public Terminal {
 public:
  Win32Terminal() {
    g_input = GetStdHandle(STD_INPUT_HANDLE);
    g_console = GetConsoleMode(g_input, &g_saved_mode) != 0;
    if (g_console) SetConsoleCtrlHandler(RestoreOnBreak, TRUE);
  }
  ~Win32Terminal() override {
    if (g_console) SetConsoleMode(g_input, g_saved_mode);
  }
  Win32Terminal(const Win32Terminal&) = delete;
  Win32Terminal& operator=(const Win32Terminal&) = delete;

  bool IsTerminal() override { return g_console; }

  void SetRaw(bool raw) override {
    if (!g_console || raw == raw_) return;
    raw_ = raw;
    SetConsoleMode(g_input, raw ? g_saved_mode & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT)
                                : g_saved_mode);
  }

  Got ReadByte(std::uint8_t& byte, int timeout_ms) override {
    if (g_console && raw_) {
      if (timeout_ms == 0 && !_kbhit()) return Got::kNothing;
      byte = static_cast<std::uint8_t>(_getch());
      return Got::kByte;
    }
    if (!g_console && timeout_ms == 0) {
      DWORD available = 0;
      if (!PeekNamedPipe(g_input, nullptr, 0, nullptr, &available, nullptr)) {
        // Not a pipe (a file): bytes are always there, or its end.
        if (GetFileType(g_input) != FILE_TYPE_DISK) return Got::kEnd;
      } else if (available == 0) {
        return Got::kNothing;
      }
    }
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(g_input, &byte, 1, &got, nullptr) || got == 0) return Got::kEnd;
      // A console line ends in CR LF; the program sees the newline alone.
      if (g_console && byte == '\r') continue;
      return Got::kByte;
    }
  }

  void Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) override {
    const HANDLE out = GetStdHandle(stream == iserver::ConsoleStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      DWORD written = 0;
      if (!WriteFile(out, p, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
      p += written;
      left -= written;
    }
  }

 private:
  bool raw_ = false;
};

}  // namespace

int RunOnTerminal(t800::Transputer& cpu, t800::Clock& clock, const std::string& file,
                  const std::vector<std::string>& arguments) {
  Win32Terminal terminal;
  TerminalConsole console(terminal);
  return RunProgram(cpu, clock, console, file, arguments);
}

}  // namespace t800emu
