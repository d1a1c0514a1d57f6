// Soak of mantle.dll from an outside client: N cycles, each creating and
// deleting a window, a dialog from a resource file, a graphics window with a
// pixel batch drawn into it; this process's handles, GDI and USER objects
// and private bytes are sampled every `every` cycles.
//   mantle_soak N [every] [resource file, default mantle_test.res]
// Prints the samples and "flat" or "GROWS"; exit status 1 when a counter
// grows or a create fails. Run from bin/ (mantle.dll beside it).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mantle/mantle.h"
#include "tools/soak/process_counters_win32.h"

namespace {

HMODULE module = nullptr;

template <class Function>
Function* Entry(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

#define MANTLE(name) Entry<decltype(name)>(#name)

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Empties the library's event queue, as a client's loop would.
void Drain() {
  auto* retrieve = MANTLE(_RetrieveMessage);
  for (;;) {
    QueuedMessage record{0, 0xFFFFFFFFu, 0, 0, 0};
    retrieve(&record);
    if (record.message == 0xFFFFFFFFu) return;
  }
}

// What a cycle makes, "wdgp" by default (MANTLE_SOAK_PARTS): w a window, d a
// dialog owned by it, g a graphics window, p a pixel batch drawn into it;
// fewer parts narrow a growth down.
struct Parts {
  bool dialog = true, graphics = true, pixels = true;
  static Parts FromEnvironment() {
    const char* text = std::getenv("MANTLE_SOAK_PARTS");
    if (text == nullptr) return {};
    const std::string parts = text;
    return {parts.find('d') != std::string::npos, parts.find('g') != std::string::npos,
            parts.find('p') != std::string::npos};
  }
};

bool Cycle(const char* resources, const Parts& parts, std::vector<tagBPixel>& pixels) {
  auto* set_pixels = Entry<decltype(_SetPixels)>(MANTLE_SET_PIXELS_EXPORT);
  const HWND window = MANTLE(_CreateWindow)(WS_OVERLAPPEDWINDOW, nullptr, "soak", 1, 0, 0, 300, 200);
  if (!window) return false;
  MANTLE(_ShowWindow)(window, SW_SHOWNA);
  const HWND dialog = parts.dialog ? MANTLE(_CreateDialogIndirect)(resources, "SETTINGS", window, 42, 1) : nullptr;
  const HWND graphics = parts.graphics ? MANTLE(_CreateGraphWindow)("graphics", 9, WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                                                    150, 320, 240, nullptr)
                                       : nullptr;
  bool ok = (dialog != nullptr) == parts.dialog && (graphics != nullptr) == parts.graphics;
  if (graphics) {
    ShowWindow(graphics, SW_SHOWNA);
    const HDC dc = MANTLE(_GetDC)(graphics);
    if (!dc || !set_pixels) ok = false;
    if (dc && set_pixels && parts.pixels) {
      set_pixels(dc, static_cast<unsigned short>(pixels.size()), pixels.data());
      set_pixels(dc, 0, nullptr);  // returns once the batch is drawn
    }
    if (dc) MANTLE(_ReleaseDC)(graphics, dc);
  }
  Pump();
  if (dialog) MANTLE(_DeleteWindow)(dialog);
  if (graphics) MANTLE(_DeleteWindow)(graphics);
  MANTLE(_DeleteWindow)(window);
  Pump();
  Drain();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const long cycles = argc > 1 ? std::atol(argv[1]) : 0;
  const long every = argc > 2 ? std::max(1L, std::atol(argv[2])) : 1000;
  const char* resources = argc > 3 ? argv[3] : "mantle_test.res";
  if (cycles <= 0) {
    std::printf("usage: mantle_soak N [every] [resource file]\n");
    return 2;
  }
  module = LoadLibraryA("mantle.dll");
  if (!module) {
    std::printf("mantle.dll: error %lu\n", GetLastError());
    return 1;
  }
  MANTLE(_EnableMantle)(1);
  std::vector<tagBPixel> pixels;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 320; ++x) pixels.push_back({x, y, static_cast<uint32_t>(RGB(x, y * 10, 128))});
  const Parts parts = Parts::FromEnvironment();
  const HANDLE self = GetCurrentProcess();
  std::vector<soak::Counters> samples;
  soak::PrintHeader();
  samples.push_back(soak::Sample(self, 0));
  soak::Print(samples.back());
  const auto start = std::chrono::steady_clock::now();
  for (long cycle = 1; cycle <= cycles; ++cycle) {
    if (!Cycle(resources, parts, pixels)) {
      std::printf("a create failed in cycle %ld\n", cycle);
      return 1;
    }
    if (cycle % every == 0) {
      samples.push_back(soak::Sample(self, cycle));
      soak::Print(samples.back());
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%ld cycles in %.0f s (%.1f ms a cycle)\n", cycles, seconds, 1000 * seconds / cycles);
  const bool flat = soak::Flat(samples);
  MANTLE(_EnableMantle)(0);
  FreeLibrary(module);
  return flat ? 0 : 1;
}
