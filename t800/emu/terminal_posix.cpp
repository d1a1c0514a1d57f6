#include "t800/emu/terminal_posix.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace t800emu {
namespace {

// The settings to restore, kept where a signal handler can reach them.
termios g_saved;
volatile sig_atomic_t g_changed = 0;

void Restore() {
  if (g_changed) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
    g_changed = 0;
  }
}

extern "C" void RestoreAndReraise(int signal_number) {
  Restore();
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

}  // namespace

PosixTerminal::PosixTerminal() {
  is_terminal_ = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &g_saved) == 0;
  if (!is_terminal_) return;
  std::atexit(Restore);
  for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) ::signal(s, RestoreAndReraise);
}

PosixTerminal::~PosixTerminal() { Restore(); }

void PosixTerminal::SetRaw(bool raw) {
  if (!is_terminal_ || raw == raw_) return;
  raw_ = raw;
  if (!raw) {
    Restore();
    return;
  }
  // As the classic server's keys: no line editing, no echo, no CR to NL;
  // Ctrl-C still interrupts.
  termios t = g_saved;
  t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  t.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  g_changed = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &t);
}

Terminal::Got PosixTerminal::ReadByte(std::uint8_t& byte, int timeout_ms) {
  for (;;) {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeout_ms);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ready == 0 ? Got::kNothing : Got::kEnd;
    const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    return n == 1 ? Got::kByte : Got::kEnd;
  }
}

void PosixTerminal::Write(iserver::ConsoleStream stream, std::span<const std::uint8_t> bytes) {
  const int fd = stream == iserver::ConsoleStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a closed pipe: the bytes have nowhere to go
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

}  // namespace t800emu
