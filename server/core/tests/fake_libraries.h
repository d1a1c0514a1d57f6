// Test doubles for the loaded libraries, the loader and the user interface.
// Each records what was done so tests assert exact sequences.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "server/core/binding.h"
#include "server/core/module_loader.h"
#include "server/core/run_control.h"
#include "server/core/user_interface.h"

namespace server::testing {

// The entry points are plain functions, so they reach the fake of the running
// test through this pointer.
struct FakeLibraries;
inline FakeLibraries* current_libraries = nullptr;

struct FakeLibraries {
  std::vector<std::string> log;
  std::int32_t open_result = 1;
  std::int32_t setup_result = 1;
  std::function<std::int32_t()> on_call_server = [] { return 0; };

  FakeLibraries() { current_libraries = this; }
  ~FakeLibraries() { current_libraries = nullptr; }

  static std::string Text(const char* s) { return s ? std::string(s) : std::string("(null)"); }

  static std::int32_t LINK_API SetupServer(void* module) {
    current_libraries->log.push_back("SetupServer " +
                                     std::to_string(reinterpret_cast<std::uintptr_t>(module)));
    return current_libraries->setup_result;
  }
  static std::int32_t LINK_API CallServer(std::int32_t link, const char* file, const char* params) {
    current_libraries->log.push_back("CallServer " + std::to_string(link) + " " + Text(file) + " " +
                                     Text(params));
    const std::int32_t result = current_libraries->on_call_server();
    current_libraries->log.push_back("CallServer returns " + std::to_string(result));
    return result;
  }
  static std::int32_t LINK_API TerminateServer() {
    current_libraries->log.push_back("TerminateServer");
    return 0;
  }
  static std::int32_t LINK_API SuspendServer() {
    current_libraries->log.push_back("SuspendServer");
    return 0;
  }
  static std::int32_t LINK_API OpenLink(const char* name, std::uint32_t timeout) {
    current_libraries->log.push_back("OpenLink " + Text(name) + " " + std::to_string(timeout));
    return current_libraries->open_result;
  }
  static std::int32_t LINK_API ResetLink(std::int32_t handle) {
    current_libraries->log.push_back("ResetLink " + std::to_string(handle));
    return 1;
  }
  static std::int32_t LINK_API CloseLink(std::int32_t handle) {
    current_libraries->log.push_back("CloseLink " + std::to_string(handle));
    return 1;
  }
};

class FakeLoader : public ModuleLoader {
 public:
  // Module handles by library name; a name not listed fails to load.
  std::map<std::string, ModuleHandle> modules = {{"iserver.dll", 11}, {"link.dll", 22}};
  std::set<std::string> missing_exports;
  std::uint32_t last_error = 0;
  std::vector<std::string>& log;

  explicit FakeLoader(FakeLibraries& libraries) : log(libraries.log) {}

  ModuleHandle Load(const char* name) override {
    log.push_back(std::string("load ") + name);
    auto it = modules.find(name);
    return it == modules.end() ? 0 : it->second;
  }
  EntryPoint Resolve(ModuleHandle module, const char* name) override {
    log.push_back("resolve " + std::to_string(module) + " " + name);
    if (missing_exports.count(name)) return nullptr;
    static const std::map<std::string, EntryPoint> entries = {
        {"SetupServer", reinterpret_cast<EntryPoint>(&FakeLibraries::SetupServer)},
        {"CallServer", reinterpret_cast<EntryPoint>(&FakeLibraries::CallServer)},
        {"TerminateServer", reinterpret_cast<EntryPoint>(&FakeLibraries::TerminateServer)},
        {"SuspendServer", reinterpret_cast<EntryPoint>(&FakeLibraries::SuspendServer)},
        {"OpenLink", reinterpret_cast<EntryPoint>(&FakeLibraries::OpenLink)},
        {"ResetLink", reinterpret_cast<EntryPoint>(&FakeLibraries::ResetLink)},
        {"CloseLink", reinterpret_cast<EntryPoint>(&FakeLibraries::CloseLink)}};
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : it->second;
  }
  void Release(ModuleHandle module) override { log.push_back("release " + std::to_string(module)); }
  std::uint32_t LastError() override { return last_error; }
};

class RecordingUi : public UserInterface {
 public:
  std::vector<std::string>& log;
  std::deque<Answer> answers;  // next answers to Yes/No and OK/Cancel boxes
  std::string dialog_choice;   // empty: the file dialog is cancelled
  std::string last_filter;     // the dialog's filter, NULs shown as '|'
  ButtonStates buttons;
  StatusTexts status;
  std::string clock;
  std::function<void()> on_box;  // runs inside the next message box

  explicit RecordingUi(FakeLibraries& libraries) : log(libraries.log) {}

  Answer ShowMessage(Owner owner, const char* text, const char* caption, Buttons kind, Icon icon) override {
    static const char* owners[] = {"main", "focus", "dialog"};
    static const char* kinds[] = {"ok", "okcancel", "yesno"};
    static const char* icons[] = {"exclamation", "question", "information", "stop"};
    log.push_back(std::string("box ") + owners[static_cast<int>(owner)] + " [" + caption + "] " + text + " " +
                  kinds[static_cast<int>(kind)] + " " + icons[static_cast<int>(icon)]);
    if (on_box) std::exchange(on_box, nullptr)();
    if (kind == Buttons::kOk) return Answer::kOk;
    Answer answer = answers.empty() ? Answer::kNo : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  bool OpenFileDialog(const DialogBuffer& filter, DialogBuffer& path) override {
    last_filter.clear();
    for (std::size_t i = 0; i + 1 < filter.size() && !(filter[i] == 0 && filter[i + 1] == 0); ++i) {
      last_filter += filter[i] ? filter[i] : '|';
    }
    log.push_back("file dialog");
    if (dialog_choice.empty()) return false;
    std::snprintf(path.data(), path.size(), "%s", dialog_choice.c_str());
    return true;
  }
  void SetButtons(const ButtonStates& states) override {
    buttons = states;
    log.push_back(std::string("buttons ") + (states.run ? "R" : "-") + (states.terminate ? "T" : "-") +
                  (states.suspend ? "S" : "-") + (states.resume ? "C" : "-") + (states.setup ? "U" : "-"));
  }
  void SetStatus(const StatusTexts& texts) override {
    status = texts;
    log.push_back(std::string("status ") + texts.boot.data());
  }
  void SetClock(const char* text) override { clock = text; }
};

class FixedSystem : public SystemInfo {
 public:
  LocalTime time{9, 5, 7};
  std::uint64_t available = 2047ull * 1024 * 1024 + 1023;
  LocalTime Now() override { return time; }
  std::uint64_t AvailableVirtual() override { return available; }
};

// Runs each call; with a log, brackets it there ("{board" ... "}") so a test
// sees which library calls ran inside the guard.
class PassThroughGuard : public FaultGuard {
 public:
  int runs = 0;
  std::vector<std::string>* log = nullptr;
  bool Run(FaultSite site, const std::function<bool()>& call) override {
    ++runs;
    static constexpr const char* kNames[] = {"{binding", "{protocol", "{board"};
    if (log) log->push_back(kNames[static_cast<int>(site)]);
    const bool result = call();
    if (log) log->push_back("}");
    return result;
  }
};

}  // namespace server::testing
