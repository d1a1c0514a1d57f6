// The console services as the protocol library sees them: exported from this
// program, called by the stand-in iserver_script.dll from inside CallServer, with
// keys posted to a window whose handlers feed the console's keyboard.
#include "server/console/console_services_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "server/core/run_control.h"
#include "server/shell/fault_guard_win32.h"
#include "server/shell/module_loader_win32.h"

namespace console {
namespace {

constexpr UINT kRunInHandler = WM_APP + 1;  // lParam: a std::function<void()>*

// Stands in for the I/O Window's key handlers.
LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* console = reinterpret_cast<Console*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  const auto key = static_cast<std::uint8_t>(wparam & 0xFF);
  switch (message) {
    case WM_CHAR:
      console->keyboard.OnChar(key);
      return 0;
    case WM_KEYDOWN:
      console->keyboard.OnKeyDown(key);
      return 0;
    case WM_KEYUP:
      console->keyboard.OnKeyUp(key);
      return 0;
    case kRunInHandler:
      (*reinterpret_cast<std::function<void()>*>(lparam))();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

// Answers every box with Yes or OK and records its text.
class AnsweringUi : public server::UserInterface {
 public:
  std::vector<std::string> boxes;
  server::Answer ShowMessage(server::Owner, const char* text, const char* caption, server::Buttons buttons,
                             server::Icon) override {
    boxes.push_back(std::string(caption) + ": " + text);
    return buttons == server::Buttons::kYesNo      ? server::Answer::kYes
           : buttons == server::Buttons::kOkCancel ? server::Answer::kOk
                                                   : server::Answer::kOk;
  }
  bool OpenFileDialog(const server::DialogBuffer&, server::DialogBuffer&) override { return false; }
  void SetButtons(const server::ButtonStates&) override {}
  void SetStatus(const server::StatusTexts&) override {}
  void SetClock(const char*) override {}
};

class QuietSystem : public server::SystemInfo {
 public:
  server::LocalTime Now() override { return {}; }
  std::uint64_t AvailableVirtual() override { return 0; }
};

class ConsoleServicesWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    log_path = "services_" + name + ".log";
    script_path = "services_" + name + ".btl";
    std::remove(log_path.c_str());
    SetEnvironmentVariableA("ISERVER_STUB_LOG", log_path.c_str());

    WNDCLASSA wc{};
    wc.lpfnWndProc = KeyWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ConsoleKeyTarget";
    RegisterClassA(&wc);  // fails harmlessly from the second test on
    window = CreateWindowA("ConsoleKeyTarget", "keys", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&console));
    SetConsoleServices(&services);

    server::FillDefaults(config, nullptr);
    config.protocol.library.Set("iserver_script.dll");  // the stand-in
    ASSERT_TRUE(server::Rebind(config, binding, guard, ui));
  }
  void TearDown() override {
    SetConsoleServices(nullptr);
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    binding.ReleaseLibraries();
  }

  void Script(const std::string& text) {
    std::ofstream(script_path, std::ios::binary) << text;
    const char* args[] = {script_path.c_str()};
    control.SetCommandLine(1, args);
  }
  void PostChars(const std::string& keys) {
    for (char c : keys) PostMessageA(window, WM_CHAR, static_cast<std::uint8_t>(c), 0);
  }
  // Runs call from the window's handler once a wait dispatches it.
  void PostCall(std::function<void()> call) {
    in_handler = std::move(call);
    PostMessageA(window, kRunInHandler, 0, reinterpret_cast<LPARAM>(&in_handler));
  }
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream file(log_path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  // The log from the first "call" on: setup lines belong to the binding.
  std::vector<std::string> CallLog() const {
    auto lines = Log();
    while (!lines.empty() && lines.front().rfind("call", 0) != 0) lines.erase(lines.begin());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  std::string log_path, script_path;
  std::function<void()> in_handler;
  HWND window = nullptr;
  server::TaskState task;
  NullSink sink;
  Console console{sink, task};
  Win32MessagePump pump;
  ConsoleServices services{console, pump};
  server::Configuration config;
  server::Win32ModuleLoader loader;
  server::LibraryBinding binding{loader};
  server::VectoredFaultGuard guard;
  AnsweringUi ui;
  QuietSystem system;
  server::RunControl control{config, binding, task, ui, system, guard};
};

using Lines = std::vector<std::string>;

TEST_F(ConsoleServicesWin32Test, ExportsAreFoundByNameAndDoNothingWithoutAConsole) {
  HMODULE self = GetModuleHandleA(nullptr);
  for (const char* name : {"GETCH", "KBHIT", "GETS", "STREAD", "STWRITE"}) {
    EXPECT_NE(GetProcAddress(self, name), nullptr) << name;
  }
  SetConsoleServices(nullptr);
  Script("getch\nkbhit\ngets\nstread 4\nwrite abc\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"getch -1", "kbhit 0", "gets 0 ", "stread 0 ", "write 0", "end", "result 0"}));
}

TEST_F(ConsoleServicesWin32Test, GetsEditsTheLineTypedIntoTheWindow) {
  PostChars("ab\bc\r");
  Script("gets\nwrite [done]\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"gets 2 ac", "write 6", "end", "result 0"}));
  EXPECT_EQ(console.model.Row(0).substr(0, 3), "ac ");
  EXPECT_EQ(console.model.Row(1).substr(0, 6), "[done]");
  EXPECT_EQ(task.value, server::kNoTask);
}

TEST_F(ConsoleServicesWin32Test, FunctionKeyArrivesAsZeroThenItsCode) {
  PostMessageA(window, WM_KEYDOWN, VK_F1, 0);
  Script("getch\nkbhit\ngetch\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"getch 0", "kbhit 59", "getch 59", "end", "result 0"}));
}

TEST_F(ConsoleServicesWin32Test, KeysReachTheRingOnlyWhileATaskIsActive) {
  PostChars("x");
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_TRUE(console.ring.empty());
  PostChars("y");
  Script("getch\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"getch 121", "end", "result 0"}));
}

TEST_F(ConsoleServicesWin32Test, StreadHandsOutTheLineInPieces) {
  PostChars("hello\r");
  Script("stread 3\nstread 3\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"stread 3 hel", "stread 3 lo\\x0A", "end", "result 0"}));
}

TEST_F(ConsoleServicesWin32Test, TerminateEndsAWaitingGetch) {
  PostCall([this] { control.Terminate(); });
  Script("getch\nwrite never\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"terminate", "getch -1", "terminated", "result 0"}));
  EXPECT_EQ(task.value, server::kNoTask);
  EXPECT_EQ(ui.boxes.back(), "Information: Task Terminated.");
}

TEST_F(ConsoleServicesWin32Test, SuspendReturnsTwoAndContinueResumes) {
  PostCall([this] { control.Suspend(); });
  Script("write a\nidle 5000\nwrite b\n");
  control.Run();
  EXPECT_EQ(task.value, server::kTaskSuspended);
  control.Continue();
  EXPECT_EQ(task.value, server::kNoTask);
  EXPECT_EQ(CallLog(), (Lines{"write 1", "suspend", "idle", "suspended", "result 2", "call 1 (null) (null)",
                              "write 1", "end", "result 0"}));
  EXPECT_EQ(console.model.Row(0).substr(0, 2), "ab");
}

TEST_F(ConsoleServicesWin32Test, QuitDuringAWaitIsPostedAgain) {
  PostQuitMessage(5);
  Script("getch\n");
  control.Run();
  EXPECT_EQ(CallLog(), (Lines{"getch -1", "end", "result 0"}));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
}  // namespace console
