// _SetPixels of 65535 pixels on a 640x480 graphics window: the time until the
// call returns and the time until the batch is drawn (the next batch's call
// returns only then). A Win32 program, run by hand under Wine or Windows.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "mantle/mantle.h"

namespace {

HMODULE module = nullptr;

template <class Function>
Function* Entry(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  module = LoadLibraryA("mantle.dll");
  if (module == nullptr) {
    std::printf("mantle.dll not found\n");
    return 1;
  }
  auto* enable = Entry<decltype(_EnableMantle)>("_EnableMantle");
  auto* create = Entry<decltype(_CreateGraphWindow)>("_CreateGraphWindow");
  auto* get_dc = Entry<decltype(_GetDC)>("_GetDC");
  auto* release_dc = Entry<decltype(_ReleaseDC)>("_ReleaseDC");
  auto* remove = Entry<decltype(_DeleteWindow)>("_DeleteWindow");
  auto* set_pixels = Entry<decltype(_SetPixels)>(MANTLE_SET_PIXELS_EXPORT);

  enable(1);
  const HWND window = create("set pixels", 1, WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, 640, 480, nullptr);
  const HDC dc = get_dc(window);
  std::vector<tagBPixel> pixels;
  for (int i = 0; i < 65535; ++i) {
    pixels.push_back(
        {i % 640, (i / 640) % 480, static_cast<std::uint32_t>(RGB(i & 0xFF, (i >> 8) & 0xFF, 128))});
  }
  LARGE_INTEGER frequency, start, returned, drawn;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> to_return, to_draw;
  for (int round = 0; round < 7; ++round) {
    QueryPerformanceCounter(&start);
    set_pixels(dc, 65535, pixels.data());
    QueryPerformanceCounter(&returned);
    set_pixels(dc, 0, nullptr);  // waits for the batch
    QueryPerformanceCounter(&drawn);
    to_return.push_back(Milliseconds(start, returned, frequency));
    to_draw.push_back(Milliseconds(start, drawn, frequency));
  }
  std::sort(to_return.begin(), to_return.end());
  std::sort(to_draw.begin(), to_draw.end());
  std::printf("_SetPixels 65535 pixels, 640x480: returns in %.3f ms, drawn in %.1f ms (median of %zu)\n",
              to_return[to_return.size() / 2], to_draw[to_draw.size() / 2], to_draw.size());
  release_dc(window, dc);
  remove(window);
  enable(0);
  FreeLibrary(module);
  return 0;
}
