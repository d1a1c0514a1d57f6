#include "server/core/run_control.h"

#include <cstdio>
#include <cstring>

namespace server {

void CopyPath(PathBuffer& path, const char* text) {
  std::snprintf(path.data(), path.size(), "%s", text != nullptr ? text : "");
}

std::array<char, 16> ClockText(const LocalTime& time) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

DialogBuffer FileFilter(const ProtocolEntry& protocol) {
  DialogBuffer filter{};
  std::snprintf(filter.data(), filter.size(), "%s files%c*.%s%cAll files%c*.*%c",
                protocol.description.c_str(), '\0', protocol.extension.c_str(), '\0', '\0', '\0');
  return filter;
}

std::int32_t TaskStateFromResult(std::int32_t result) {
  return (result == kNoTask || result == kTaskRunning || result == kTaskSuspended) ? result : kNoTask;
}

void RunControl::SetCommandLine(int count, const char* const* args) {
  CopyPath(boot_file_, count > 0 ? args[0] : "");
  CopyPath(parameters_, count > 1 ? args[1] : "");
}

std::int32_t RunControl::CallServer(const char* boot_file, const char* parameters) {
  ++call_depth_;
  const std::int32_t result = guard_.Guarded(FaultSite::kProtocolLibrary, [&] {
    return binding_.entries().call_server(link_handle_, boot_file, parameters);
  });
  --call_depth_;
  // Libraries released by a nested Leave go only once the call is off the stack.
  if (call_depth_ == 0 && release_after_call_) {
    release_after_call_ = false;
    binding_.ReleaseLibraries();
  }
  return TaskStateFromResult(result);
}

void RunControl::TerminateServer() {
  guard_.Guarded(FaultSite::kProtocolLibrary, [&] { return binding_.entries().terminate_server(); });
}

std::int32_t RunControl::OpenLink() {
  return guard_.Guarded(FaultSite::kBoardLibrary, [&] { return OpenBoardLink(binding_.entries(), config_.board); });
}

void RunControl::Run() {
  const DialogBuffer filter = FileFilter(config_.protocol);
  // A second boot inside a pending CallServer would re-enter the protocol library.
  if (task_.active() || call_in_progress()) {
    ui_.ShowMessage(Owner::kMainWindow,
                    "There is an active task running.      Terminate it or reset the hardware.",
                    "Information", Buttons::kOk, Icon::kExclamation);
    return;
  }
  // The command is disabled then; a posted one must not call unbound entries.
  if (!binding_.valid()) return;
  if (boot_file_[0] == '\0') {
    DialogBuffer chosen{};
    if (!ui_.OpenFileDialog(filter, chosen)) return;
    CopyPath(boot_file_, chosen.data());
  }
  link_handle_ = OpenLink();
  if (link_handle_ < 0) {
    ui_.ShowMessage(Owner::kMainWindow, "Can not open the link.", "Error", Buttons::kOk, Icon::kExclamation);
    return;
  }
  task_.value = kTaskRunning;
  UpdateButtons();
  UpdateStatus();
  task_.value = CallServer(boot_file_.data(), parameters_.data());
  if (task_.value == kNoTask) boot_file_[0] = '\0';
  UpdateButtons();
  UpdateStatus();
}

void RunControl::Continue() {
  // Only a suspended task can be resumed; anything else would hand the
  // protocol library null strings it has no program for.
  if (task_.value != kTaskSuspended || call_in_progress() || !binding_.valid()) return;
  task_.value = kTaskRunning;
  UpdateButtons();
  UpdateStatus();
  task_.value = CallServer(nullptr, nullptr);
  UpdateStatus();
  UpdateButtons();
}

void RunControl::Suspend() {
  if (task_.value != kTaskRunning || !binding_.valid()) return;
  if (ui_.ShowMessage(Owner::kMainWindow, "Suspend active task?", "Warning", Buttons::kYesNo,
                      Icon::kQuestion) != Answer::kYes) {
    return;
  }
  guard_.Guarded(FaultSite::kProtocolLibrary, [&] { return binding_.entries().suspend_server(); });
}

void RunControl::Terminate() {
  if (!task_.active() || !binding_.valid()) return;
  if (ui_.ShowMessage(Owner::kMainWindow, "Terminate active task?", "Warning", Buttons::kYesNo,
                      Icon::kQuestion) != Answer::kYes) {
    return;
  }
  TerminateServer();
  ResetBoard();
  task_.value = kNoTask;
  ui_.ShowMessage(Owner::kMainWindow, "Task Terminated.", "Information", Buttons::kOk, Icon::kInformation);
  boot_file_[0] = '\0';
  UpdateButtons();
  UpdateStatus();
}

void RunControl::Reset() {
  if (!binding_.valid()) return;
  if (task_.active()) {
    if (ui_.ShowMessage(Owner::kMainWindow, "There is an active task running. Are you sure?", "Warning",
                        Buttons::kYesNo, Icon::kQuestion) != Answer::kYes) {
      return;
    }
    TerminateServer();
  }
  ResetBoard();
  task_.value = kNoTask;
  boot_file_[0] = '\0';
  UpdateButtons();
  UpdateStatus();
}

void RunControl::ResetBoard() {
  const BoundEntries& entries = binding_.entries();
  if (entries.open_link == nullptr) {
    link_handle_ = -1;
    return;
  }
  link_handle_ = OpenLink();
  if (link_handle_ > 0) {
    guard_.Guarded(FaultSite::kBoardLibrary, [&] {
      entries.reset_link(link_handle_);
      return entries.close_link(link_handle_);
    });
  }
  link_handle_ = -1;
}

bool RunControl::ConfirmLeave() {
  return ui_.ShowMessage(Owner::kMainWindow, "Are you sure you want to leave Tessera?", "Exit",
                         Buttons::kOkCancel, Icon::kQuestion) == Answer::kOk;
}

bool RunControl::Leave() {
  if (!ConfirmLeave()) return false;
  LeaveConfirmed();
  return true;
}

void RunControl::LeaveConfirmed() {
  const bool was_active = task_.active();
  // A pending CallServer must end before its library goes away: stop the
  // task now and release the libraries once the call has returned.
  if (call_in_progress() && was_active && binding_.valid()) {
    TerminateServer();
  }
  task_.value = kNoTask;
  UpdateButtons();
  UpdateStatus();
  if (was_active) ResetBoard();
  if (call_in_progress()) {
    release_after_call_ = true;
  } else {
    binding_.ReleaseLibraries();
  }
}

ButtonStates RunControl::Buttons() const {
  const std::int32_t state = task_.value;
  // After a nested Terminate the protocol library's call is still on the
  // stack: a new boot or a re-binding (which releases the libraries) must
  // wait until it has returned.
  const bool idle = state == kNoTask && !call_in_progress();
  return ButtonStates{.run = idle && binding_.valid(),
                      .terminate = state != kNoTask,
                      .suspend = state == kTaskRunning,
                      .resume = state == kTaskSuspended,
                      .setup = idle};
}

bool RunControl::CommandEnabled(Command command) const {
  const ButtonStates states = Buttons();
  switch (command) {
    case Command::kRun:
      return states.run;
    case Command::kTerminate:
      return states.terminate;
    case Command::kSuspend:
      return states.suspend;
    case Command::kContinue:
      return states.resume;
    case Command::kSetup:
    case Command::kProtocols:
    case Command::kBoards:
    case Command::kRunTime:
      return states.setup;
  }
  return true;
}

void RunControl::UpdateButtons() {
  ui_.SetButtons(Buttons());
}

void RunControl::UpdateStatus() {
  StatusTexts texts;
  texts.clock = ClockText(system_.Now());
  std::snprintf(texts.memory.data(), texts.memory.size(), "Free: %lluK",
                static_cast<unsigned long long>(system_.AvailableVirtual() / 1024));
  switch (task_.value) {
    case kTaskRunning:
      std::snprintf(texts.boot.data(), texts.boot.size(), "Booted: %s (running)", boot_file_.data());
      break;
    case kTaskSuspended:
      std::snprintf(texts.boot.data(), texts.boot.size(), "Booted: %s (suspended)", boot_file_.data());
      break;
    default:
      std::snprintf(texts.boot.data(), texts.boot.size(), "Booted: (none)");
      break;
  }
  ui_.SetStatus(texts);
}

void RunControl::ClockTick() {
  ui_.SetClock(ClockText(system_.Now()).data());
}

}  // namespace server
