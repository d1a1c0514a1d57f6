// Run control: from a boot file to a running task and back, with the status
// texts and the command enabling that follow the task state.
#pragma once

#include <array>
#include <cstdint>

#include "server/core/binding.h"
#include "server/core/configuration.h"
#include "server/core/task_state.h"
#include "server/core/user_interface.h"

namespace server {

// The commands whose enabling follows the task state. The shell maps its menu
// and tool-bar ids onto them; every other command is always available.
enum class Command { kRun, kTerminate, kSuspend, kContinue, kSetup, kProtocols, kBoards, kRunTime };

using PathBuffer = std::array<char, 260>;

// Copies text into a 260-byte path, cut at 259 characters.
void CopyPath(PathBuffer& path, const char* text);

// "HH:MM:SS", shared by UpdateStatus and the clock tick.
std::array<char, 16> ClockText(const LocalTime& time);

// The file-open dialog's filter: protocol files, then all files, double-NUL closed.
DialogBuffer FileFilter(const ProtocolEntry& protocol);

// A CallServer result outside 0, 1 and 2 counts as 0: the task is over.
std::int32_t TaskStateFromResult(std::int32_t result);

class RunControl {
 public:
  // Every call into the bound libraries goes through guard.
  RunControl(Configuration& config, LibraryBinding& binding, TaskState& task, UserInterface& ui,
             SystemInfo& system, FaultGuard& guard)
      : config_(config), binding_(binding), task_(task), ui_(ui), system_(system), guard_(guard) {}

  // args are the command-line arguments after the program name.
  void SetCommandLine(int count, const char* const* args);

  void Run();
  void Continue();
  void Suspend();
  void Terminate();
  void Reset();
  void ResetBoard();

  // Leaving the program, after the "Exit" question: clears the task, resets the
  // board if one was active, releases the libraries. False when the user
  // cancelled. The caller stops its timer and posts the quit message.
  bool Leave();
  // The two halves of Leave: the question, and the steps once it is answered OK.
  bool ConfirmLeave();
  void LeaveConfirmed();

  void UpdateStatus();
  void UpdateButtons();
  void ClockTick();

  ButtonStates Buttons() const;
  // Enabled state of a command. The setup commands (and so re-binding) stay
  // off while a CallServer is pending, even once its task has been terminated.
  bool CommandEnabled(Command command) const;

  std::int32_t task_state() const { return task_.value; }
  std::int32_t link_handle() const { return link_handle_; }
  const char* boot_file() const { return boot_file_.data(); }
  const char* parameters() const { return parameters_.data(); }
  bool call_in_progress() const { return call_depth_ > 0; }

 private:
  std::int32_t CallServer(const char* boot_file, const char* parameters);
  // The guarded calls into the protocol and board libraries.
  void TerminateServer();
  std::int32_t OpenLink();

  Configuration& config_;
  LibraryBinding& binding_;
  TaskState& task_;
  UserInterface& ui_;
  SystemInfo& system_;
  FaultGuard& guard_;

  PathBuffer boot_file_{};
  PathBuffer parameters_{};
  std::int32_t link_handle_ = -1;
  int call_depth_ = 0;
  bool release_after_call_ = false;
};

}  // namespace server
