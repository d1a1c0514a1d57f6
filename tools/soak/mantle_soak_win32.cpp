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
// fewer parts narrow a growth down. "r" makes the same shapes with plain
// Win32 calls and no library: the platform's own share of a growth.
struct Parts {
  bool dialog = true, graphics = true, pixels = true, raw = false;
  static Parts FromEnvironment() {
    const char* text = std::getenv("MANTLE_SOAK_PARTS");
    if (text == nullptr) return {};
    const std::string parts = text;
    return {parts.find('d') != std::string::npos, parts.find('g') != std::string::npos,
            parts.find('p') != std::string::npos, parts.find('r') != std::string::npos};
  }
};

// A dialog template of one static text and one button, in memory.
std::vector<WORD> RawDialogTemplate() {
  std::vector<WORD> t;
  const auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  const auto text = [&](const char* s) {
    while (*s) t.push_back(static_cast<WORD>(*s++));
    t.push_back(0);
  };
  const auto align = [&] {
    if (t.size() % 2) t.push_back(0);
  };
  dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT);
  dword(0);
  t.push_back(2);  // items
  for (WORD v : {10, 10, 160, 60}) t.push_back(v);
  t.push_back(0);  // menu
  t.push_back(0);  // class
  text("raw");
  t.push_back(8);
  text("MS Shell Dlg");
  const auto item = [&](DWORD style, WORD id, WORD atom, const char* caption, WORD y) {
    align();
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    for (WORD v : {WORD{8}, y, WORD{100}, WORD{14}}) t.push_back(v);
    t.push_back(id);
    t.push_back(0xFFFF);
    t.push_back(atom);
    text(caption);
    t.push_back(0);
  };
  item(SS_LEFT, 1, 0x0082, "static", 8);
  item(BS_PUSHBUTTON, 2, 0x0080, "button", 30);
  return t;
}

INT_PTR CALLBACK RawDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The cycle's shapes with plain Win32: a window, a dialog from a template, a
// second window whose pixels go through a memory bitmap, all destroyed.
bool RawCycle(const Parts& parts, std::vector<tagBPixel>& pixels) {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RawSoak";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClassA(&wc);
  }();
  static const std::vector<WORD> dialog_template = RawDialogTemplate();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const HWND window = CreateWindowExA(0, MAKEINTATOM(atom), "soak", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                      nullptr, instance, nullptr);
  if (!window) return false;
  ShowWindow(window, SW_SHOWNA);
  const HWND dialog = parts.dialog ? CreateDialogIndirectParamA(
                                         instance, reinterpret_cast<const DLGTEMPLATE*>(dialog_template.data()),
                                         window, RawDialogProc, 0)
                                   : nullptr;
  const HWND graphics = parts.graphics ? CreateWindowExA(0, MAKEINTATOM(atom), "graphics", WS_OVERLAPPEDWINDOW, 10,
                                                         10, 200, 150, nullptr, nullptr, instance, nullptr)
                                       : nullptr;
  bool ok = (dialog != nullptr) == parts.dialog && (graphics != nullptr) == parts.graphics;
  if (graphics) {
    ShowWindow(graphics, SW_SHOWNA);
    const HDC dc = GetDC(graphics);
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, 320, 240);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    if (parts.pixels)
      for (const tagBPixel& p : pixels) SetPixel(memory, p.x, p.y, p.color);
    BitBlt(dc, 0, 0, 320, 240, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(graphics, dc);
  }
  Pump();
  if (dialog) DestroyWindow(dialog);
  if (graphics) DestroyWindow(graphics);
  DestroyWindow(window);
  Pump();
  return ok;
}

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
  const auto start = soak::Clock::now();
  for (long cycle = 1; cycle <= cycles; ++cycle) {
    if (!(parts.raw ? RawCycle(parts, pixels) : Cycle(resources, parts, pixels))) {
      std::printf("a create failed in cycle %ld\n", cycle);
      return 1;
    }
    if (cycle % every == 0) {
      samples.push_back(soak::Sample(self, cycle));
      soak::Print(samples.back());
    }
  }
  const double seconds = soak::MillisecondsBetween(start) / 1000;
  std::printf("%ld cycles in %.0f s (%.1f ms a cycle)\n", cycles, seconds, 1000 * seconds / cycles);
  const bool flat = soak::Flat(samples);
  MANTLE(_EnableMantle)(0);
  FreeLibrary(module);
  return flat ? 0 : 1;
}
