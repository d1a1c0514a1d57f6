// What a soak run watches in a process: kernel handles, GDI and USER
// objects, private bytes; sampled every so many cycles and judged flat or
// growing once the process has warmed up.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace soak {

using Clock = std::chrono::steady_clock;

// Milliseconds from `from` to `to`, for the soak's rates and waits.
inline double MillisecondsBetween(Clock::time_point from, Clock::time_point to = Clock::now()) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Counters {
  long cycle = 0;
  DWORD handles = 0;
  DWORD keys = -1u;  // registry keys among the handles, where the system list is read
  DWORD gdi = 0;
  DWORD user = 0;
  DWORD windows = 0;
  std::uint64_t private_kb = 0;
  std::uint64_t working_set_kb = 0;
};

// Wine answers GetProcessHandleCount with 0; its system handle list is right.
// Registry keys (opened with KEY_ALL_ACCESS) are counted apart: Wine's Open
// dialog leaves one open each time a file is chosen.
inline DWORD HandlesFromSystemList(DWORD process_id, DWORD& keys) {
  struct Entry {
    USHORT process;
    USHORT creator;
    UCHAR type;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  static std::vector<char> buffer(8 << 20);
  ULONG length = 0;
  constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  if (NtQuerySystemInformation(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                               &length) != 0) {
    return 0;
  }
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  DWORD mine = 0;
  keys = 0;
  for (ULONG i = 0; i < count; ++i) {
    if (entries[i].process != static_cast<USHORT>(process_id)) continue;
    ++mine;
    keys += entries[i].access == KEY_ALL_ACCESS;
  }
  return mine;
}

struct WindowCount {
  DWORD process;
  DWORD count = 0;
};

inline BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCount*>(data)->count;
  return TRUE;
}

inline BOOL CALLBACK CountTop(HWND window, LPARAM data) {
  auto& counter = *reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != counter.process) return TRUE;
  ++counter.count;
  EnumChildWindows(window, CountChild, data);
  return TRUE;
}

inline Counters Sample(HANDLE process, long cycle) {
  Counters c;
  c.cycle = cycle;
  GetProcessHandleCount(process, &c.handles);
  if (c.handles == 0) c.handles = HandlesFromSystemList(GetProcessId(process), c.keys);
  // Wine keeps no per-process GDI or USER object counts (both read 0): the
  // windows the process owns stand in for its USER objects.
  c.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  c.user = GetGuiResources(process, GR_USEROBJECTS);
  WindowCount windows{GetProcessId(process)};
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
  c.windows = windows.count;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    // Wine reports PrivateUsage as 0; its PagefileUsage is the committed private memory.
    c.private_kb = (memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage) / 1024;
    c.working_set_kb = memory.WorkingSetSize / 1024;
  }
  return c;
}

inline void PrintHeader() {
  std::printf("%10s %8s %6s %6s %6s %8s %12s %12s\n", "cycle", "handles", "keys", "gdi", "user", "windows",
              "private_kb", "working_kb");
}

inline void Print(const Counters& c) {
  std::printf("%10ld %8lu %6ld %6lu %6lu %8lu %12llu %12llu\n", c.cycle, static_cast<unsigned long>(c.handles),
              c.keys == -1u ? -1L : static_cast<long>(c.keys), static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.user),
              static_cast<unsigned long>(c.windows), static_cast<unsigned long long>(c.private_kb),
              static_cast<unsigned long long>(c.working_set_kb));
  std::fflush(stdout);
}

// Flat: from the first sample after warm-up to the last, object counts grow
// by at most 16 and private bytes by at most 1 MB and 1% (allocator noise).
inline bool Flat(const std::vector<Counters>& samples) {
  if (samples.size() < 3) return true;
  const Counters& warm = samples[1];
  const Counters& last = samples.back();
  const auto grew = [](DWORD from, DWORD to) { return static_cast<long>(to) - static_cast<long>(from); };
  // Registry keys are judged apart from the other handles (see above).
  const bool keys_known = warm.keys != -1u && last.keys != -1u;
  const long keys = keys_known ? grew(warm.keys, last.keys) : 0;
  const long handles = grew(warm.handles, last.handles) - keys;
  const bool flat = handles <= 16 && grew(warm.gdi, last.gdi) <= 16 && grew(warm.user, last.user) <= 16 &&
                    grew(warm.windows, last.windows) <= 16 &&
                    last.private_kb <= warm.private_kb + 1024 + warm.private_kb / 100;
  std::printf("%s: handles %+ld (registry keys apart: %+ld), gdi %+ld, user %+ld, windows %+ld, private %+lld KB "
              "from cycle %ld to %ld\n",
              flat ? "flat" : "GROWS", handles, keys, grew(warm.gdi, last.gdi), grew(warm.user, last.user),
              grew(warm.windows, last.windows),
              static_cast<long long>(last.private_kb) - static_cast<long long>(warm.private_kb), warm.cycle,
              last.cycle);
  return flat;
}

}  // namespace soak
