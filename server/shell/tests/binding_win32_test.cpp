// Binding the stand-in protocol library to link.dll with the real loader, and
// the exception guard ending the process after its message when the
// protocol library faults (in a child process: the guard exits).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "server/core/binding.h"
#include "server/shell/fault_guard_win32.h"
#include "server/shell/module_loader_win32.h"

namespace server {
namespace {

std::vector<std::string> ReadLog(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

class BindingWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    log_path =
        std::string("binding_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    std::remove(log_path.c_str());
    SetEnvironmentVariableA("ISERVER_STUB_LOG", log_path.c_str());
    FillDefaults(config, nullptr);
    config.protocol.library.Set("iserver_script.dll");
  }
  void TearDown() override {
    binding.ReleaseLibraries();
    SetEnvironmentVariableA("ISERVER_STUB_SETUP", nullptr);
  }

  std::string log_path;
  Configuration config;
  Win32ModuleLoader loader;
  LibraryBinding binding{loader};
};

TEST_F(BindingWin32Test, StandInBindsToTheBoardLibrary) {
  EXPECT_TRUE(binding.BindLibraries(config));
  EXPECT_NE(binding.protocol_module(), 0u);
  EXPECT_EQ(reinterpret_cast<HMODULE>(binding.board_module()), GetModuleHandleA("link.dll"));
  EXPECT_EQ(ReadLog(log_path), std::vector<std::string>{"setup 1"});
  // Released protocol first; both are gone afterwards.
  binding.ReleaseLibraries();
  EXPECT_EQ(GetModuleHandleA("iserver_script.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("link.dll"), nullptr);
}

TEST_F(BindingWin32Test, MissingEntryPointFailsButTheLibraryStaysLoaded) {
  config.protocol.library.Set("iserver_script_nosuspend.dll");
  EXPECT_FALSE(binding.BindLibraries(config));
  EXPECT_NE(GetModuleHandleA("iserver_script_nosuspend.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("link.dll"), nullptr);  // never reached
  EXPECT_TRUE(ReadLog(log_path).empty());
}

TEST_F(BindingWin32Test, SetupServerReturningZeroFailsAfterTheProbe) {
  SetEnvironmentVariableA("ISERVER_STUB_SETUP", "fail");
  EXPECT_FALSE(binding.BindLibraries(config));
  EXPECT_EQ(ReadLog(log_path), std::vector<std::string>{"setup 0"});
  SetLastError(0x12AB);
  EXPECT_STREQ(binding.FailureMessage(),
               "Protocol and/or board DLL not found or not valid (000012AB). \"Run\" command will "
               "not be available.");
}

struct BoxSearch {
  DWORD process;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char cls[32] = {}, text[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, text, sizeof text);
  if (owner == search->process && std::string(cls) == "#32770" && std::string(text) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A message box of the given process with the given caption, or null.
HWND FindBox(DWORD process, const char* caption) {
  BoxSearch search{process, caption, nullptr};
  EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct FaultOutcome {
  std::string box_text;
  DWORD exit_code = 999;
};

// Runs this program as a child that binds under the guard, with one switch of
// the stand-in set; answers the child's box and collects its exit code.
FaultOutcome BindInChild(const char* variable, const char* value) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string command = std::string("\"") + self + "\" --bind-child";
  SetEnvironmentVariableA(variable, value);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableA(variable, nullptr);
  FaultOutcome outcome;
  if (!started) return outcome;
  HWND box = nullptr;
  for (int i = 0; i < 300 && !box; ++i) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    box = FindBox(process.dwProcessId, "Error...");
  }
  if (box) {
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    outcome.box_text = text;
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 77);
  }
  GetExitCodeProcess(process.hProcess, &outcome.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}

TEST(FaultGuardTest, FaultInSetupServerIsReportedAndEndsTheProcessWithZero) {
  const FaultOutcome outcome = BindInChild("ISERVER_STUB_SETUP", "fault");
  EXPECT_EQ(outcome.box_text, "Exception occured when loading DLLs, code: C0000005");
  EXPECT_EQ(outcome.exit_code, 0u);
}

TEST(FaultGuardTest, FaultInTheLibrarysStartUpCodeIsReportedToo) {
  const FaultOutcome outcome = BindInChild("ISERVER_STUB_ATTACH", "fault");
  EXPECT_EQ(outcome.box_text, "Exception occured when loading DLLs, code: C0000005");
  EXPECT_EQ(outcome.exit_code, 0u);
}

// The child: bind under the guard; reaching the end means the guard missed.
int BindChild() {
  Configuration config;
  FillDefaults(config, nullptr);
  config.protocol.library.Set("iserver_script.dll");
  Win32ModuleLoader loader;
  LibraryBinding binding{loader};
  VectoredFaultGuard guard;
  guard.Run(FaultSite::kBinding, [&] { return binding.BindLibraries(config); });
  return 3;
}

}  // namespace
}  // namespace server

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--bind-child") return server::BindChild();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
