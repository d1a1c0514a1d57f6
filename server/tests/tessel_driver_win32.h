// Drives a tessel.exe started from a test process as a user would: finds
// its windows by class and caption, posts commands, reads the menus' states
// and the I/O Window's text from inside the program through a hook DLL
// (tessel_menu_probe.dll). Shared by the server's end-to-end test and the
// protocol library's.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace tessel_test {

using namespace std::chrono_literals;

inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 15s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return done();
}

inline std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + "tessel_e2e_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

inline std::string ReadText(const std::string& path) {
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

inline void WriteText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

inline std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

inline std::string TextOf(HWND window) {
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

inline BOOL CALLBACK MatchTopWindow(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.process || ClassOf(window) != s.class_name || !IsWindowVisible(window)) return TRUE;
  if (TextOf(window).rfind(s.prefix, 0) != 0) return TRUE;
  s.found = window;
  return FALSE;
}

inline BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<WindowSearch*>(data);
  if (ClassOf(window) != s.class_name) return TRUE;
  s.found = window;
  return FALSE;
}

// A top-level window of one process, by class and caption prefix.
inline HWND FindTopWindow(DWORD process, const std::string& class_name, const std::string& caption_prefix) {
  WindowSearch search{process, class_name, caption_prefix};
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND FindChild(HWND parent, const std::string& class_name) {
  const std::string any;
  WindowSearch search{0, class_name, any};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline std::wstring ListText(HWND list, UINT message, int index) {
  wchar_t text[256] = L"";
  SendMessageW(list, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

inline std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// tessel.exe beside the stand-in protocol library (iserver_script.dll
// installed as iserver.dll) and link.dll: bin/ holds the real iserver.dll.
class StandInFolder {
 public:
  StandInFolder() : path_(TempPath("standin")) {
    CreateDirectoryA(path_.c_str(), nullptr);
    for (const auto& [from, to] : kFiles) CopyFileA(from, (path_ + "\\" + to).c_str(), FALSE);
  }
  ~StandInFolder() {
    for (const auto& [from, to] : kFiles) DeleteFileA((path_ + "\\" + to).c_str());
    RemoveDirectoryA(path_.c_str());
  }
  static const std::string& Path() {
    static const StandInFolder folder;
    return folder.path_;
  }

 private:
  static constexpr std::pair<const char*, const char*> kFiles[] = {
      {"tessel.exe", "tessel.exe"}, {"iserver_script.dll", "iserver.dll"}, {"link.dll", "link.dll"}};
  std::string path_;
};

// One tessel.exe, started in bin/ with its own stand-in log: by default the
// copy beside the stand-in, or the one in a folder of the test's choice.
class Tessel {
 public:
  explicit Tessel(const std::string& name) : log_(TempPath(name + ".log")) { DeleteFileA(log_.c_str()); }
  ~Tessel() {
    // The 32-bit stand-in logs "abi <entry> ..." for a callee whose stack
    // cleanup disagrees with its declaration.
    const std::string log = Log();
    EXPECT_TRUE(log.rfind("abi ", 0) != 0 && log.find("\nabi ") == std::string::npos) << log;
    if (hook_) UnhookWindowsHookEx(hook_);
    if (probe_) FreeLibrary(probe_);
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
    const std::string program = (folder_.empty() ? StandInFolder::Path() : folder_) + "\\tessel.exe";
    const char* directory = folder_.empty() || folder_ == "." ? nullptr : folder_.c_str();
    std::string command = "tessel.exe " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const bool started =
        CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory, &startup, &process_);
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
  // Waits until the box with this caption has closed.
  bool BoxGone(const std::string& caption) { return WaitUntil([&] { return NoBox(caption); }); }

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
  HANDLE process() const { return process_.hProcess; }
  const std::string& log_path() const { return log_; }

  // Starts from a folder of its own (tessel.exe and the libraries copied
  // there); "." is bin/ itself, with the build's own iserver.dll.
  void UseFolder(const std::string& folder) { folder_ = folder; }

  // The main menu as the user would see each popup opened: the popup titles
  // ("popup <left|right> <title>") and each command item ("<id> <on|off> <text>").
  std::string MenuReport() { return ProbeReport("TesselMenuProbe", ".txt"); }
  // The I/O Window's rows as they are drawn, without trailing blanks.
  std::string ScreenText() { return ProbeReport("TesselScreenProbe", ".screen"); }

  // What the probe inside the program reports on the registered message.
  std::string ProbeReport(const char* message, const char* suffix) {
    if (!hook_) {
      probe_ = LoadLibraryA("tessel_menu_probe.dll");
      if (!probe_) return "no probe library";
      auto* hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, "MenuProbeHook")));
      hook_ = SetWindowsHookExA(WH_GETMESSAGE, hook, probe_, GetWindowThreadProcessId(main_, nullptr));
      if (!hook_) return "no hook";
    }
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string report =
        std::string(dir) + "tessel_menu_probe_" + std::to_string(process_.dwProcessId) + suffix;
    DeleteFileA(report.c_str());
    PostMessageA(main_, RegisterWindowMessageA(message), 0, 0);
    if (!WaitUntil([&] { return GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5s))
      return "no report";
    std::string text = ReadText(report);
    DeleteFileA(report.c_str());
    return text;
  }

  // The enabled state of each command in the menus.
  std::map<int, bool> MenuStates() {
    std::map<int, bool> states;
    std::istringstream lines(MenuReport());
    std::string word, state, rest;
    while (lines >> word >> state && std::getline(lines, rest)) {
      if (word != "popup") states[std::stoi(word)] = state == "on";
    }
    return states;
  }

 private:
  std::string log_;
  std::string folder_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  HMODULE probe_ = nullptr;
  HHOOK hook_ = nullptr;
};

// The enabled commands among Run, Reset, Terminate, Suspend, Continue, the
// three Options dialogs, Exit and About, as "101 201 ..." for readable failures.
inline std::string EnabledCommands(const std::map<int, bool>& states) {
  std::string enabled;
  for (int id : {101, 102, 201, 202, 203, 204, 301, 302, 303, 402}) {
    auto found = states.find(id);
    if (found == states.end()) {
      enabled += "missing:" + std::to_string(id) + " ";
    } else if (found->second) {
      enabled += std::to_string(id) + " ";
    }
  }
  return enabled;
}

inline std::string BoxText(HWND box) { return ItemText(box, 0xFFFF); }

}  // namespace tessel_test
