// STWRITE into a visible I/O Window, through the exported service, with the
// window's two ways of drawing: per byte (a device context and a TextOut for
// every byte) and batched (drawn once at the end of each call). Each case is
// timed until the window has also finished painting. A Win32 program, run
// by hand under Wine or Windows, or by scripts/bench.sh.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/mdi_client.h"
#include "framework/mdi_frame.h"
#include "server/console/bench/mixed_stream.h"
#include "server/console/console_services_win32.h"
#include "server/console/stdio_window.h"

namespace {

using Drawing = console::GdiConsoleSink::Drawing;
using StwriteFn = std::int32_t(WINAPI*)(const std::uint8_t*, std::int32_t);

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// How a protocol library hands the text over: all at once, in packets, or a
// line per call.
enum class Calls { kOne, kPackets, kLines };
const char* Name(Calls calls) {
  return calls == Calls::kOne ? "one call" : calls == Calls::kPackets ? "512-byte calls" : "a call per line";
}

std::vector<std::string> Split(const std::string& data, Calls calls) {
  std::vector<std::string> pieces;
  if (calls == Calls::kOne) return {data};
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t end = at + 512;
    if (calls == Calls::kLines) {
      end = data.find('\n', at);
      end = end == std::string::npos ? data.size() : end + 1;
    }
    pieces.push_back(data.substr(at, end - at));
    at = end;
  }
  return pieces;
}

// Plain program output: numbered lines of text.
std::string PlainLines(std::size_t size) {
  std::string data;
  for (int line = 0; data.size() < size; ++line) {
    data += "line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\r\n";
  }
  data.resize(size);
  return data;
}

// The lines of the console's earlier throughput check: a tab and an erase on each.
std::string TabbedLines(std::size_t size) {
  std::string data;
  for (int line = 0; data.size() < size; ++line) {
    data += "line " + std::to_string(line) + ": the quick brown fox\tjumps\x1b[K\r\n";
  }
  data.resize(size);
  return data;
}

class Bench {
 public:
  Bench() {
    frame_ = new TMDIFrame("STWRITE benchmark", nullptr, std::make_unique<TMDIClient>());
    client_ = frame_->GetClientWindow();
    frame_->Attr.X = frame_->Attr.Y = 0;
    frame_->Attr.W = 900;
    frame_->Attr.H = 600;
    frame_->Create();
    frame_->ShowWindow(SW_SHOWNORMAL);
    console_ = &client_->InsertChild(std::make_unique<TStdioWindow>(*client_, "I/O Window", task_));
    console_->Attr.Style |= WS_MAXIMIZE;
    console_->Create();
    console_->ShowWindow(SW_SHOWMAXIMIZED);
    console_->SetFocus();
    console::SetConsoleServices(&console_->GetServices());
    stwrite_ = reinterpret_cast<StwriteFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(nullptr), "STWRITE")));
    PumpMessages();
  }
  ~Bench() {
    console::SetConsoleServices(nullptr);
    delete frame_;
  }
  bool ready() const { return stwrite_ != nullptr; }

  // Bytes per second, from the first call until the window has painted.
  double Run(const std::string& data, Calls calls, Drawing drawing) {
    console_->GetSink().SetDrawing(drawing);
    const std::vector<std::string> pieces = Split(data, calls);
    stwrite_(reinterpret_cast<const std::uint8_t*>("\f"), 1);
    PumpMessages();
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& piece : pieces) {
      stwrite_(reinterpret_cast<const std::uint8_t*>(piece.data()), static_cast<std::int32_t>(piece.size()));
    }
    UpdateWindow(console_->HWindow);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    PumpMessages();
    return static_cast<double>(data.size()) / elapsed.count();
  }

  // Both ways on the same bytes, and their ratio.
  void Compare(const char* what, const std::string& data, Calls calls) {
    const double per_byte = Run(data, calls, Drawing::kPerByte);
    const double batched = Run(data, calls, Drawing::kBatched);
    std::printf("%-34s %-16s per byte %9.0f B/s   batched %11.0f B/s   x%.0f\n", what, Name(calls), per_byte,
                batched, batched / per_byte);
    std::fflush(stdout);
  }
  void Batched(const char* what, const std::string& data, Calls calls) {
    const double batched = Run(data, calls, Drawing::kBatched);
    std::printf("%-34s %-16s batched %11.0f B/s (%.2f MB/s)\n", what, Name(calls), batched, batched / 1e6);
    std::fflush(stdout);
  }

 private:
  server::TaskState task_;
  TMDIClient* client_ = nullptr;
  TMDIFrame* frame_ = nullptr;
  TStdioWindow* console_ = nullptr;
  StwriteFn stwrite_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  // "quick": smaller per-byte samples, for a run that must not take long.
  const bool quick = argc > 1 && std::string(argv[1]) == "quick";
  Bench bench;
  if (!bench.ready()) {
    std::printf("STWRITE is not exported\n");
    return 1;
  }
  const std::size_t sample = quick ? 16 * 1024 : 64 * 1024;
  std::printf("STWRITE to a visible I/O Window, %zu bytes each way, then 1 MiB batched\n", sample);
  bench.Compare("tabbed lines", TabbedLines(sample), Calls::kOne);
  bench.Compare("tabbed lines", TabbedLines(sample), Calls::kLines);
  bench.Compare("plain text lines", PlainLines(sample), Calls::kLines);
  bench.Compare("mixed text and escapes", console::bench::MixedStream(sample), Calls::kPackets);
  const std::size_t mib = 1 << 20;
  bench.Batched("1 MiB of plain text lines", PlainLines(mib), Calls::kLines);
  bench.Batched("1 MiB of plain text lines", PlainLines(mib), Calls::kPackets);
  bench.Batched("1 MiB of mixed text and escapes", console::bench::MixedStream(mib), Calls::kOne);
  bench.Batched("1 MiB of mixed text and escapes", console::bench::MixedStream(mib), Calls::kPackets);
  bench.Batched("1 MiB of mixed text and escapes", console::bench::MixedStream(mib), Calls::kLines);
  return 0;
}
