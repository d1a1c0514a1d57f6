// tessel.exe end to end: started from this process as a user would start it,
// with the stand-in protocol library, and driven through its windows: the
// main window and the I/O Window, a run from the command line, Suspend,
// Continue and Terminate, leaving, binding failures and the setup dialogs.
// What the protocol library saw comes from the stand-in's log.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 15s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + "tessel_e2e_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::string ReadText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct WindowSearch {
  DWORD process;
  const std::string& class_name;
  const std::string& prefix;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.process || ClassOf(window) != s.class_name || !IsWindowVisible(window)) return TRUE;
  if (TextOf(window).rfind(s.prefix, 0) != 0) return TRUE;
  s.found = window;
  return FALSE;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<WindowSearch*>(data);
  if (ClassOf(window) != s.class_name) return TRUE;
  s.found = window;
  return FALSE;
}

// A top-level window of one process, by class and caption prefix.
HWND FindTopWindow(DWORD process, const std::string& class_name, const std::string& caption_prefix) {
  WindowSearch search{process, class_name, caption_prefix};
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const std::string& class_name) {
  const std::string any;
  WindowSearch search{0, class_name, any};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ListText(HWND list, UINT message, int index) {
  wchar_t text[256] = L"";
  SendMessageW(list, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// One tessel.exe, started from bin/ with its own stand-in log.
class Tessel {
 public:
  explicit Tessel(const std::string& name) : log_(TempPath(name + ".log")) { DeleteFileA(log_.c_str()); }
  ~Tessel() {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    DeleteFileA(log_.c_str());
  }

  // setup: ISERVER_STUB_SETUP for the stand-in ("" for a normal start).
  bool Start(const std::string& arguments = "", const char* setup = nullptr) {
    SetEnvironmentVariableA("TESSEL_NO_SPLASH", "1");
    SetEnvironmentVariableA("ISERVER_STUB_LOG", log_.c_str());
    SetEnvironmentVariableA("ISERVER_STUB_SETUP", setup);
    std::string command = "tessel.exe " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const bool started = CreateProcessA("tessel.exe", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process_);
    SetEnvironmentVariableA("ISERVER_STUB_SETUP", nullptr);
    return started;
  }

  HWND WaitForMainWindow() {
    WaitUntil([&] { return (main_ = FindTopWindow(process_.dwProcessId, "TMainWindow", "Server")) != nullptr; });
    return main_;
  }
  HWND WaitForWindow(const std::string& class_name, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(process_.dwProcessId, class_name, caption)) != nullptr; });
    return found;
  }
  HWND WaitForBox(const std::string& caption) { return WaitForWindow("#32770", caption); }
  bool NoBox(const std::string& caption) { return FindTopWindow(process_.dwProcessId, "#32770", caption) == nullptr; }

  void Command(int id) { PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
  static void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

  std::string Log() const { return ReadText(log_); }
  bool LogHas(const std::string& text) {
    return WaitUntil([&] { return Log().find(text) != std::string::npos; });
  }
  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code, or -1 when the process is still running after the wait.
  long ExitCode(DWORD wait_ms = 15000) const {
    if (WaitForSingleObject(process_.hProcess, wait_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }

  // Asks to leave and answers OK.
  void Leave() {
    Command(102);
    HWND box = WaitForBox("Exit");
    ASSERT_NE(box, nullptr);
    Press(box, IDOK);
  }

  HWND main() const { return main_; }

 private:
  std::string log_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

std::string BoxText(HWND box) { return ItemText(box, 0xFFFF); }

// Saves the screen for a person to look at, when TESSEL_SHOTS names a folder
// (a Unix path: import is started as a Unix program through Wine).
void Screenshot(const char* name) {
  const char* folder = std::getenv("TESSEL_SHOTS");
  if (!folder) return;
  std::this_thread::sleep_for(700ms);
  const char* display = std::getenv("DISPLAY");
  std::string command = "/usr/bin/import -display " + std::string(display ? display : ":17") + " -window root " +
                        std::string(folder) + "/tx-" + name + ".png";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
}

TEST(TesselEndToEnd, MainWindowHoldsTheIoWindowAndExitAsksFirst) {
  Tessel tessel("plain");
  ASSERT_TRUE(tessel.Start());
  HWND main = tessel.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsIconic(main));
  HWND console = FindChild(main, "TStdioWindow");
  ASSERT_NE(console, nullptr);
  EXPECT_EQ(TextOf(console), "I/O Window");
  EXPECT_TRUE(tessel.LogHas("setup 1"));

  // Resting the mouse on the Run button brings up its tooltip.
  HWND bar = FindChild(main, "TControlBar");
  ASSERT_NE(bar, nullptr);
  RECT bounds;
  GetWindowRect(bar, &bounds);
  SetForegroundWindow(main);
  SetCursorPos(bounds.left + 14, (bounds.top + bounds.bottom) / 2);
  SetCursorPos(bounds.left + 16, (bounds.top + bounds.bottom) / 2);
  EXPECT_TRUE(WaitUntil([&] { return tessel.WaitForWindow("Moss:Tooltip", "") != nullptr; }, 5s));
  Screenshot("main");
  SetCursorPos(bounds.right + 200, bounds.bottom + 300);

  tessel.Command(102);
  HWND box = tessel.WaitForBox("Exit");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Are you sure you want to leave Tessera?");
  Tessel::Press(box, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Exit"); }));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(tessel.Running());

  // The close request asks the same question.
  PostMessageA(main, WM_CLOSE, 0, 0);
  box = tessel.WaitForBox("Exit");
  ASSERT_NE(box, nullptr);
  Tessel::Press(box, IDOK);
  EXPECT_EQ(tessel.ExitCode(), 0);
}

TEST(TesselEndToEnd, BootFileOnTheCommandLineRunsMinimizedWithItsParameters) {
  const std::string script = TempPath("echo.script");
  WriteText(script, "write Name? \ngets\nwrite \\r\\nHello\\r\\n\ngetch\n");
  Tessel tessel("boot");
  ASSERT_TRUE(tessel.Start("\"" + script + "\" -v"));
  HWND main = tessel.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(tessel.LogHas("call 1 " + script + " -v"));
  EXPECT_TRUE(IsIconic(main));
  EXPECT_TRUE(tessel.LogHas("write 6"));

  HWND console = FindChild(main, "TStdioWindow");
  ASSERT_NE(console, nullptr);
  for (char c : std::string("ab\bc\r")) PostMessageA(console, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_TRUE(tessel.LogHas("gets 2 ac"));
  PostMessageA(console, WM_KEYDOWN, VK_F1, 0);
  EXPECT_TRUE(tessel.LogHas("getch 0")) << tessel.Log();
  EXPECT_TRUE(tessel.LogHas("result 0"));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  DeleteFileA(script.c_str());
}

TEST(TesselEndToEnd, SuspendContinueAndTerminateAnswerTheUser) {
  const std::string script = TempPath("idle.script");
  WriteText(script, "idle 30000\nidle 30000\nidle 30000\nwrite never\n");
  Tessel tessel("control");
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("call 1"));

  tessel.Command(203);
  HWND box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Suspend active task?");
  Tessel::Press(box, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Warning"); }));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(tessel.Log().find("suspend"), std::string::npos);

  tessel.Command(203);
  box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  Tessel::Press(box, IDYES);
  EXPECT_TRUE(tessel.LogHas("result 2"));

  tessel.Command(204);
  EXPECT_TRUE(tessel.LogHas("call 1 (null)"));

  tessel.Command(202);
  box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Terminate active task?");
  Tessel::Press(box, IDYES);
  box = tessel.WaitForBox("Information");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Task Terminated.");
  Tessel::Press(box, IDOK);
  EXPECT_TRUE(tessel.LogHas("terminated"));
  const std::string log = tessel.Log();
  EXPECT_EQ(log.find("never"), std::string::npos);
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  DeleteFileA(script.c_str());
}

TEST(TesselEndToEnd, LeavingDuringAPendingCallEndsTheCallFirst) {
  const std::string script = TempPath("wait.script");
  WriteText(script, "getch\nwrite after\n");
  Tessel tessel("pending");
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("call 1"));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  const std::string log = tessel.Log();
  EXPECT_NE(log.find("terminate"), std::string::npos) << log;
  EXPECT_NE(log.find("getch -1"), std::string::npos) << log;
  EXPECT_NE(log.find("result 0"), std::string::npos) << log;
  DeleteFileA(script.c_str());
}

TEST(TesselEndToEnd, FailedBindingIsReportedAndRunStaysOff) {
  Tessel tessel("fail");
  ASSERT_TRUE(tessel.Start("", "fail"));
  HWND box = tessel.WaitForBox("Error...");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box).rfind("Protocol and/or board DLL not found", 0), 0u) << BoxText(box);
  Tessel::Press(box, IDOK);
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(tessel.LogHas("setup 0"));
  // Run without a valid binding does nothing: no file dialog, no call.
  tessel.Command(101);
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(tessel.Log().find("call"), std::string::npos);
  EXPECT_TRUE(tessel.NoBox("Open"));

  // Binding again from the Run-time dialog fails the same way; its box says "Error".
  tessel.Command(303);
  HWND runtime = tessel.WaitForWindow("#32770", "Run-time");
  ASSERT_NE(runtime, nullptr);
  Tessel::Press(runtime, IDOK);
  box = tessel.WaitForBox("Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), "Error");
  EXPECT_EQ(BoxText(box).rfind("Protocol and/or board DLL not found", 0), 0u) << BoxText(box);
  Tessel::Press(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Run-time") && tessel.NoBox("Error"); }));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

TEST(TesselEndToEnd, FaultInsideSetupServerIsReportedAndEndsTheProcessWithCodeZero) {
  Tessel tessel("fault");
  ASSERT_TRUE(tessel.Start("", "fault"));
  HWND box = tessel.WaitForBox("Error...");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Exception occured when loading DLLs, code: C0000005");
  Tessel::Press(box, IDOK);
  EXPECT_EQ(tessel.ExitCode(), 0);
  EXPECT_TRUE(tessel.LogHas("setup fault"));
}

TEST(TesselEndToEnd, SetupDialogsShowTheConfigurationAndRunTimeOkRebinds) {
  Tessel tessel("setup");
  ASSERT_TRUE(tessel.Start());
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("setup 1"));

  // Protocols: Properties does nothing until the one item is selected.
  tessel.Command(301);
  HWND protocols = tessel.WaitForWindow("#32770", "Protocols");
  ASSERT_NE(protocols, nullptr);
  HWND list = GetDlgItem(protocols, 10);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ListText(list, LB_GETTEXT, 0), L"Inmos (iserver)");
  Tessel::Press(protocols, 11);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(tessel.NoBox("Protocol properties"));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  Tessel::Press(protocols, 11);
  HWND properties = tessel.WaitForWindow("#32770", "Protocol properties");
  ASSERT_NE(properties, nullptr);
  EXPECT_EQ(ItemText(properties, 101), "Inmos (iserver)");
  EXPECT_EQ(ItemText(properties, 102), "iserver.dll");
  EXPECT_EQ(ItemText(properties, 103), "btl");
  Screenshot("protocol-properties");
  Tessel::Press(properties, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Protocol properties"); }));
  Tessel::Press(protocols, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Protocols"); }));

  // Boards through the Setup hub.
  tessel.Command(300);
  HWND setup = tessel.WaitForWindow("#32770", "Setup");
  ASSERT_NE(setup, nullptr);
  Screenshot("setup");
  Tessel::Press(setup, 102);
  HWND boards = tessel.WaitForWindow("#32770", "Boards");
  ASSERT_NE(boards, nullptr);
  SendMessageW(GetDlgItem(boards, 10), LB_SETCURSEL, 0, 0);
  Tessel::Press(boards, 11);
  HWND board = tessel.WaitForWindow("#32770", "Board properties");
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(ItemText(board, 101), "Inmos B004");
  EXPECT_EQ(ItemText(board, 102), "link.dll");
  EXPECT_EQ(ItemText(board, 104), "10000");
  Screenshot("board-properties");
  Tessel::Press(board, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Board properties"); }));
  Tessel::Press(boards, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Boards"); }));
  Tessel::Press(setup, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Setup"); }));

  // Run-time: Cancel leaves the binding alone, OK binds again.
  tessel.Command(303);
  HWND runtime = tessel.WaitForWindow("#32770", "Run-time");
  ASSERT_NE(runtime, nullptr);
  EXPECT_EQ(ItemText(runtime, 101), "Inmos (iserver)");
  EXPECT_EQ(ItemText(runtime, 102), "Inmos B004");
  Screenshot("runtime");
  Tessel::Press(runtime, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("Run-time"); }));
  std::this_thread::sleep_for(300ms);
  const auto setups = [&] {
    const std::string log = tessel.Log();
    int count = 0;
    for (std::size_t at = log.find("setup 1"); at != std::string::npos; at = log.find("setup 1", at + 1)) ++count;
    return count;
  };
  EXPECT_EQ(setups(), 1);
  tessel.Command(303);
  runtime = tessel.WaitForWindow("#32770", "Run-time");
  ASSERT_NE(runtime, nullptr);
  Tessel::Press(runtime, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return setups() == 2; }));

  tessel.Command(402);
  HWND about = tessel.WaitForWindow("#32770", "About Tessel");
  ASSERT_NE(about, nullptr);
  Screenshot("about");
  Tessel::Press(about, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return tessel.NoBox("About Tessel"); }));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

}  // namespace
