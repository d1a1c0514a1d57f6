// iserver.dll stand-in: the four protocol entry points over a StubProgram.
// The boot file is the script; the console services are resolved from the
// host program by name, the link functions from the board module it was given.
// In the 32-bit build every such call goes through the stack probe, and a
// callee whose stack cleanup disagrees with its declaration is logged
// ("abi STWRITE popped 0 of 8 bytes"), so the tests see calling-convention
// faults between the server, this library and the board library.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/iserver_stub/stub_script.h"
#if defined(__i386__)
#include "tools/abi_check/stdcall_probe.h"
#endif

namespace {

using GetchFn = std::int32_t(WINAPI*)();
using GetsFn = std::int32_t(WINAPI*)(char*);
using StreadFn = std::int32_t(WINAPI*)(std::uint8_t*, std::int32_t);
using StwriteFn = std::int32_t(WINAPI*)(const std::uint8_t*, std::int32_t);
using LinkIoFn = std::int32_t(WINAPI*)(std::int32_t, void*, std::int32_t);
using LinkFn = std::int32_t(WINAPI*)(std::int32_t);

constexpr std::int32_t kMissing = -999;  // the entry point could not be resolved

HMODULE g_board = nullptr;
stub::StubProgram g_program;

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return (n > 0 && n < sizeof value) ? std::string(value) : std::string();
}

void Log(const std::string& line) {
  std::string path = Environment("ISERVER_STUB_LOG");
  if (path.empty()) path = "iserver_stub.log";
  if (FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

[[noreturn]] void Fault() {
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  std::abort();  // not reached: the write above faults
}

// Calls an entry point resolved by name: kMissing when it was not found.
template <typename Fn, typename... A>
std::int32_t Invoke(const char* name, Fn fn, A... args) {
  if (!fn) return kMissing;
#if defined(__i386__)
  const stack_probe::Outcome outcome = stack_probe::Call(fn, args...);
  if (!outcome.sound()) Log(std::string("abi ") + name + " " + outcome.Describe());
  return static_cast<std::int32_t>(outcome.result);
#else
  (void)name;
  return fn(args...);
#endif
}

template <typename Fn>
Fn Resolve(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

template <typename Fn>
Fn Service(const char* name) {
  return Resolve<Fn>(GetModuleHandleA(nullptr), name);
}

class DllHost : public stub::StubHost {
 public:
  std::int32_t Stwrite(const std::uint8_t* data, std::int32_t count) override {
    return Invoke("STWRITE", Service<StwriteFn>("STWRITE"), data, count);
  }
  std::int32_t Getch() override { return Invoke("GETCH", Service<GetchFn>("GETCH")); }
  std::int32_t Kbhit() override { return Invoke("KBHIT", Service<GetchFn>("KBHIT")); }
  std::int32_t Gets(char* buffer) override { return Invoke("GETS", Service<GetsFn>("GETS"), buffer); }
  std::int32_t Stread(std::uint8_t* buffer, std::int32_t count) override {
    return Invoke("STREAD", Service<StreadFn>("STREAD"), buffer, count);
  }
  std::int32_t WriteLink(std::int32_t handle, const void* data, std::int32_t count) override {
    return Invoke("WriteLink", Resolve<LinkIoFn>(g_board, "WriteLink"), handle, const_cast<void*>(data), count);
  }
  std::int32_t ReadLink(std::int32_t handle, void* data, std::int32_t count) override {
    return Invoke("ReadLink", Resolve<LinkIoFn>(g_board, "ReadLink"), handle, data, count);
  }
  std::int32_t ResetLink(std::int32_t handle) override { return CallLink("ResetLink", handle); }
  std::array<std::int32_t, 3> TestLink(std::int32_t handle) override {
    return {CallLink("TestError", handle), CallLink("TestRead", handle), CallLink("TestWrite", handle)};
  }
  void Idle(std::int32_t ms, const std::function<bool()>& stop) override {
    const DWORD start = GetTickCount();
    while (!stop() && GetTickCount() - start < static_cast<DWORD>(ms)) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the host's loop
          return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(5);
    }
  }
  void Fault() override { ::Fault(); }
  void Log(const std::string& line) override { ::Log(line); }

 private:
  std::int32_t CallLink(const char* name, std::int32_t handle) {
    return Invoke(name, Resolve<LinkFn>(g_board, name), handle);
  }
};

std::string Text(const char* s) {
  return s ? std::string(s) : std::string("(null)");
}

}  // namespace

extern "C" {

std::int32_t WINAPI SetupServer(HMODULE board) {
  const std::string mode = Environment("ISERVER_STUB_SETUP");
  if (mode == "fault") {
    Log("setup fault");
    Fault();
  }
  if (mode == "fail") {
    Log("setup 0");
    return 0;
  }
  g_board = board;
  Log(board ? "setup 1" : "setup 1 without board");
  return 1;
}

std::int32_t WINAPI CallServer(std::int32_t link, const char* boot_file, const char* parameters) {
  Log("call " + std::to_string(link) + " " + Text(boot_file) + " " + Text(parameters));
  if (boot_file != nullptr) {
    std::string script;
    if (FILE* file = std::fopen(boot_file, "rb")) {
      char chunk[4096];
      std::size_t n;
      while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) script.append(chunk, n);
      std::fclose(file);
    } else {
      Log("result 0 no script");
      return 0;
    }
    int bad_line = 0;
    auto commands = stub::ParseScript(script, &bad_line);
    if (!commands) {
      Log("result 0 bad line " + std::to_string(bad_line));
      return 0;
    }
    g_program.Boot(std::move(*commands));
  }
  DllHost host;
  const std::int32_t result = g_program.Call(host, link);
  Log("result " + std::to_string(result));
  return result;
}

std::int32_t WINAPI TerminateServer() {
  Log("terminate");
  g_program.RequestTerminate();
  return 0;
}

std::int32_t WINAPI SuspendServer() {
  Log("suspend");
  g_program.RequestSuspend();
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH && Environment("ISERVER_STUB_ATTACH") == "fault") Fault();
  return TRUE;
}

}  // extern "C"
