// Soak of tessel.exe with the stand-in protocol library, driven from outside
// as a user would drive it, watching the process's handles, GDI and USER
// objects and private bytes:
//   tessel_soak cycles N [every]  N Run -> Terminate cycles (the Open dialog
//                                 picks the boot file each time), a sample
//                                 every `every` cycles
//   tessel_soak runs N [every]    N runs of a script that writes a line and ends
//   tessel_soak open N [every]    N times Run, then Cancel in the Open dialog
//   tessel_soak stwrite N [every] N runs of a script that writes 64 KB to
//                                 the I/O Window; a sample every `every` runs,
//                                 and the longest a message sent to the main
//                                 window waited while output streamed
//   tessel_soak iserver N [every] N Run -> Terminate cycles with our own
//                                 iserver.dll and link.dll, whose simulated
//                                 adapter reaches a transputer played here:
//                                 it takes the boot file, writes a line
//                                 through the protocol, and is terminated
// Prints the samples and "flat" or "GROWS"; exit status 1 when a counter
// grows or a step times out. Run from bin/ (tessel.exe, iserver.dll,
// iserver_script.dll and link.dll beside it).
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "iserver/core/tests/fakes.h"
#include "iserver/tests/transputer_peer_win32.h"
#include "server/resources/resource_ids.h"
#include "server/tests/tessel_driver_win32.h"
#include "tools/soak/process_counters_win32.h"

namespace {

using namespace tessel_test;
using namespace std::chrono_literals;

constexpr int kFileNameCombo = 0x47C;  // the Open dialog's file name field

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The last line of a log, to say what the stand-in was doing.
std::string LastLine(std::string log) {
  while (!log.empty() && log.back() == '\n') log.pop_back();
  const std::size_t newline = log.rfind('\n');
  return newline == std::string::npos ? log : log.substr(newline + 1);
}

bool Fail(const char* step, long cycle) {
  std::printf("step '%s' timed out in cycle %ld\n", step, cycle);
  return false;
}

// Run, pick the file in the Open dialog, until the stand-in has logged the
// `calls`-th call.
bool RunFile(Tessel& tessel, const std::string& file, std::size_t calls, long cycle) {
  tessel.Command(CM_RUN);
  HWND open = tessel.WaitForBox("Open");
  if (!open) return Fail("open dialog", cycle);
  SetDlgItemTextA(open, kFileNameCombo, file.c_str());
  Tessel::Press(open, IDOK);
  if (!WaitUntil([&] { return CountOf(tessel.Log(), "call 1 ") >= calls; })) return Fail("call", cycle);
  return true;
}

bool Answer(Tessel& tessel, const char* caption, int button, long cycle) {
  HWND box = tessel.WaitForBox(caption);
  if (!box) return Fail(caption, cycle);
  Tessel::Press(box, button);
  return tessel.BoxGone(caption) || Fail(caption, cycle);
}

// `cycles` cycles of `step` on a started tessel.exe, its counters sampled
// every `every` cycles: 0 when they stay flat, 1 when one grows or a step
// fails. Leaves the program at the end.
int SampledCycles(Tessel& tessel, long cycles, long every, const std::function<bool(long)>& step) {
  std::vector<soak::Counters> samples;
  soak::PrintHeader();
  samples.push_back(soak::Sample(tessel.process(), 0));
  soak::Print(samples.back());
  const auto start = soak::Clock::now();
  for (long cycle = 1; cycle <= cycles; ++cycle) {
    if (!step(cycle)) return 1;
    if (cycle % every == 0) {
      samples.push_back(soak::Sample(tessel.process(), cycle));
      soak::Print(samples.back());
    }
  }
  const double seconds = soak::MillisecondsBetween(start) / 1000;
  std::printf("%ld cycles in %.0f s (%.0f ms a cycle)\n", cycles, seconds, 1000 * seconds / cycles);
  const bool flat = soak::Flat(samples);
  tessel.Leave();
  return flat ? 0 : 1;
}

int Cycles(long cycles, long every) {
  const std::string script = TempPath("soak_idle.script");
  WriteText(script, "idle 60000\n");
  Tessel tessel("soak_cycles");
  if (!tessel.Start() || !tessel.WaitForMainWindow()) return 1;
  const int status = SampledCycles(tessel, cycles, every, [&](long cycle) {
    if (!RunFile(tessel, script, static_cast<std::size_t>(cycle), cycle)) return false;
    tessel.Command(CM_TERMINATE);
    if (!Answer(tessel, "Warning", IDYES, cycle) || !Answer(tessel, "Information", IDOK, cycle)) return false;
    // The terminated call returns once the script notices; Run waits for that.
    return WaitUntil([&] { return CountOf(tessel.Log(), "result ") >= static_cast<std::size_t>(cycle); }) ||
           Fail("call returned", cycle);
  });
  DeleteFileA(script.c_str());
  return status;
}

// Run -> Terminate with our protocol library: each run boots, serves one
// SP_WRITE of a line to standard output, and is terminated mid-task.
int IserverCycles(long cycles, long every) {
  constexpr unsigned kWaitMs = 15000;
  constexpr std::uint8_t kSpWrite = 13;
  constexpr std::int32_t kStdout = 1;
  iserver::testing::TransputerPeer peer;
  SetEnvironmentVariableA("TESSEL_SIMULATED_C012", peer.address().c_str());
  const std::string boot_file = TempPath("soak_boot.btl");
  const std::string image(2000, '\x55');
  WriteText(boot_file, image);
  Tessel tessel("soak_iserver");
  tessel.UseFolder(".");
  if (!tessel.Start() || !tessel.WaitForMainWindow()) return 1;
  const std::string idle = "101 102 201 301 302 303 402 ";
  const auto write = iserver::testing::Request(kSpWrite).Int32(kStdout).Slice("soak\r\n").Frame();
  const int status = SampledCycles(tessel, cycles, every, [&](long cycle) {
    tessel.Command(CM_RUN);
    HWND open = tessel.WaitForBox("Open");
    if (!open) return Fail("open dialog", cycle);
    SetDlgItemTextA(open, kFileNameCombo, boot_file.c_str());
    Tessel::Press(open, IDOK);
    if (cycle == 1 && !peer.Accept(kWaitMs)) return Fail("link connection", cycle);
    if (!peer.AwaitReset(kWaitMs)) return Fail("reset", cycle);
    if (peer.Take(image.size(), kWaitMs).size() != image.size()) return Fail("boot bytes", cycle);
    if (peer.Ask(write, kWaitMs).empty()) return Fail("write reply", cycle);
    tessel.Command(CM_TERMINATE);
    if (!Answer(tessel, "Warning", IDYES, cycle) || !Answer(tessel, "Information", IDOK, cycle)) return false;
    return WaitUntil([&] { return EnabledCommands(tessel.MenuStates()) == idle; }) || Fail("idle menus", cycle);
  });
  DeleteFileA(boot_file.c_str());
  return status;
}

// Run, then Cancel in the Open dialog: the dialog's share of a cycle.
int OpenCancel(long cycles, long every) {
  Tessel tessel("soak_open");
  if (!tessel.Start() || !tessel.WaitForMainWindow()) return 1;
  return SampledCycles(tessel, cycles, every, [&](long cycle) {
    tessel.Command(CM_RUN);
    HWND open = tessel.WaitForBox("Open");
    if (!open) return Fail("open dialog", cycle);
    Tessel::Press(open, IDCANCEL);
    return tessel.BoxGone("Open") || Fail("open dialog gone", cycle);
  });
}

// `runs` runs of a script that ends by itself, a sample every `every` runs.
int StreamOutput(const std::string& text, long runs, long every) {
  const std::string script = TempPath("soak_write.script");
  WriteText(script, text);
  Tessel tessel("soak_stwrite");
  if (!tessel.Start() || !tessel.WaitForMainWindow()) return 1;
  std::vector<soak::Counters> samples;
  soak::PrintHeader();
  samples.push_back(soak::Sample(tessel.process(), 0));
  soak::Print(samples.back());
  double longest_ms = 0;
  long sends = 0, slow_sends = 0;
  const auto start = soak::Clock::now();
  for (long run = 1; run <= runs; ++run) {
    const auto run_start = soak::Clock::now();
    if (!RunFile(tessel, script, static_cast<std::size_t>(run), run)) return 1;
    // While the output streams, a message sent to the main window must be
    // handled promptly.
    for (;;) {
      const std::string log = tessel.Log();
      if (CountOf(log, "result ") >= static_cast<std::size_t>(run)) break;
      const auto sent = soak::Clock::now();
      DWORD_PTR answer = 0;
      if (!SendMessageTimeoutA(tessel.main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer)) return Fail("send", run);
      const double ms = soak::MillisecondsBetween(sent);
      if (ms > longest_ms) longest_ms = ms;
      ++sends;
      if (ms > 100 && ++slow_sends <= 20) {
        const double into = soak::MillisecondsBetween(run_start, sent);
        std::printf("slow: run %ld, sent %.0f ms after Run, waited %.0f ms; log '%.12s' then '%.12s'\n", run, into,
                    ms, LastLine(log).c_str(), LastLine(tessel.Log()).c_str());
      }
      Sleep(20);
    }
    if (run % every == 0) {
      samples.push_back(soak::Sample(tessel.process(), run));
      soak::Print(samples.back());
    }
  }
  const double seconds = soak::MillisecondsBetween(start) / 1000;
  const double megabytes = static_cast<double>(text.size()) * runs / (1 << 20);
  std::printf("%ld runs, %.1f MB of script in %.0f s (%.2f MB/s); longest wait of a sent message %.1f ms, "
              "%ld of %ld over 100 ms\n",
              runs, megabytes, seconds, megabytes / seconds, longest_ms, slow_sends, sends);
  const bool flat = soak::Flat(samples);
  tessel.Leave();
  DeleteFileA(script.c_str());
  const bool responsive = longest_ms <= 100;
  if (!responsive) std::printf("NOT RESPONSIVE: a sent message waited %.0f ms\n", longest_ms);
  return flat && responsive ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const long count = argc > 2 ? std::atol(argv[2]) : 0;
  if (mode == "cycles" && count > 0) return Cycles(count, argc > 3 ? std::max(1L, std::atol(argv[3])) : 1000);
  if (mode == "iserver" && count > 0) return IserverCycles(count, argc > 3 ? std::max(1L, std::atol(argv[3])) : 1000);
  const long every = argc > 3 ? std::max(1L, std::atol(argv[3])) : 1;
  if (mode == "stwrite" && count > 0) {
    // 64 KB of output a run: 64 lines of 1022 characters and CR LF.
    // STWRITE itself does not pump messages; a protocol library dispatches
    // the host's messages between requests (ours every 50 ms), which the
    // script does with "idle 1" every 4 lines: 4 KB, 20-40 ms of drawing
    // under Wine.
    std::string text;
    for (int line = 0; line < 64; ++line) {
      text += "write " + std::string(1022, static_cast<char>('a' + line % 26)) + "\\r\\n\n";
      if (line % 4 == 3) text += "idle 1\n";
    }
    return StreamOutput(text, count, every);
  }
  if (mode == "runs" && count > 0) return StreamOutput("write x\\r\\n\n", count, every);
  if (mode == "open" && count > 0) return OpenCancel(count, argc > 3 ? std::max(1L, std::atol(argv[3])) : 1000);
  std::printf("usage: tessel_soak cycles|iserver|runs|open|stwrite N [every]\n");
  return 2;
}
