#include "server/core/run_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "server/core/tests/fake_libraries.h"

namespace server {
namespace {

using ::testing::ElementsAre;
using testing::FakeLibraries;
using testing::FakeLoader;
using testing::FixedSystem;
using testing::PassThroughGuard;
using testing::RecordingUi;

class RunControlTest : public ::testing::Test {
 protected:
  RunControlTest() {
    LoadDefaults(config, binding, nullptr, guard, ui);
    libraries.log.clear();
  }

  // Boots a named file from the command line and returns what CallServer saw.
  void SetBootFile(const char* name) {
    const char* args[] = {name};
    control.SetCommandLine(1, args);
  }

  FakeLibraries libraries;
  FakeLoader loader{libraries};
  RecordingUi ui{libraries};
  FixedSystem system;
  PassThroughGuard guard;
  Configuration config;
  LibraryBinding binding{loader};
  TaskState task;
  RunControl control{config, binding, task, ui, system, guard};
};

TEST_F(RunControlTest, RunWithoutFileAsksAndCancelChangesNothing) {
  control.Run();
  EXPECT_THAT(libraries.log, ElementsAre("file dialog"));
  EXPECT_EQ(ui.last_filter, "Inmos (iserver) files|*.btl|All files|*.*");
  EXPECT_EQ(task.value, kNoTask);
  EXPECT_STREQ(control.boot_file(), "");
}

TEST_F(RunControlTest, ProgramThatEndsLeavesNoneAndAnEmptyName) {
  ui.dialog_choice = "C:\\prog\\hello.btl";
  control.Run();
  EXPECT_THAT(libraries.log,
              ElementsAre("file dialog", "OpenLink 0x150 10000", "buttons -TS--",
                          "status Booted: C:\\prog\\hello.btl (running)", "CallServer 1 C:\\prog\\hello.btl ",
                          "CallServer returns 0", "buttons R---U", "status Booted: (none)"));
  EXPECT_STREQ(control.boot_file(), "");
  EXPECT_EQ(control.link_handle(), 1);
  libraries.log.clear();
  control.Run();
  EXPECT_EQ(libraries.log.front(), "file dialog");
}

TEST_F(RunControlTest, SuspendedContinuedAndEndedKeepsTheNameForTheNextRun) {
  SetBootFile("a.btl");
  libraries.on_call_server = [&] {
    EXPECT_TRUE(control.CommandEnabled(Command::kSuspend));
    ui.answers = {Answer::kYes};
    control.Suspend();
    EXPECT_EQ(task.value, kTaskRunning);  // only the returning call changes it
    return 2;
  };
  control.Run();
  EXPECT_EQ(task.value, kTaskSuspended);
  EXPECT_STREQ(ui.status.boot.data(), "Booted: a.btl (suspended)");
  EXPECT_EQ(ui.buttons, (ButtonStates{false, true, false, true, false}));
  EXPECT_THAT(libraries.log, ::testing::Contains("box main [Warning] Suspend active task? yesno question"));
  EXPECT_THAT(libraries.log, ::testing::Contains("SuspendServer"));

  libraries.log.clear();
  libraries.on_call_server = [] { return 0; };
  control.Continue();
  EXPECT_THAT(libraries.log,
              ElementsAre("buttons -TS--", "status Booted: a.btl (running)", "CallServer 1 (null) (null)",
                          "CallServer returns 0", "status Booted: (none)", "buttons R---U"));
  EXPECT_STREQ(control.boot_file(), "a.btl");
  libraries.log.clear();
  control.Run();
  EXPECT_EQ(libraries.log.front(), "OpenLink 0x150 10000");
}

TEST_F(RunControlTest, SuspendAnsweredNoChangesNothing) {
  SetBootFile("a.btl");
  libraries.on_call_server = [&] {
    ui.answers = {Answer::kNo};
    control.Suspend();
    return 0;
  };
  control.Run();
  EXPECT_THAT(libraries.log, ::testing::Not(::testing::Contains("SuspendServer")));
}

TEST_F(RunControlTest, LinkThatWillNotOpenIsReportedAndTheFileKept) {
  ui.dialog_choice = "b.btl";
  libraries.open_result = -1;
  control.Run();
  EXPECT_THAT(libraries.log, ElementsAre("file dialog", "OpenLink 0x150 10000",
                                         "box main [Error] Can not open the link. ok exclamation"));
  EXPECT_EQ(task.value, kNoTask);
  EXPECT_STREQ(control.boot_file(), "b.btl");
  libraries.log.clear();
  control.Run();
  EXPECT_EQ(libraries.log.front(), "OpenLink 0x150 10000");
}

TEST_F(RunControlTest, RunWhileActiveOnlyShowsTheBox) {
  task.value = kTaskSuspended;
  control.Run();
  EXPECT_THAT(libraries.log,
              ElementsAre("box main [Information] There is an active task running.      Terminate "
                          "it or reset the hardware. ok exclamation"));
}

TEST_F(RunControlTest, TerminateNestedInsideCallServer) {
  SetBootFile("c.btl");
  std::vector<std::string> inside;
  libraries.on_call_server = [&] {
    ui.answers = {Answer::kYes};
    control.Terminate();
    EXPECT_EQ(task.value, kNoTask);
    // The call is still pending: a second Run must not re-enter the library.
    control.Run();
    inside = libraries.log;
    return 0;
  };
  control.Run();
  EXPECT_THAT(inside,
              ElementsAre("OpenLink 0x150 10000", "buttons -TS--", "status Booted: c.btl (running)",
                          "CallServer 1 c.btl ", "box main [Warning] Terminate active task? yesno question",
                          "TerminateServer", "OpenLink 0x150 10000", "ResetLink 1", "CloseLink 1",
                          "box main [Information] Task Terminated. ok information", "buttons -----",
                          "status Booted: (none)",
                          "box main [Information] There is an active task running.      "
                          "Terminate it or reset the hardware. ok exclamation"));
  EXPECT_EQ(task.value, kNoTask);
  EXPECT_EQ(control.link_handle(), -1);
  EXPECT_EQ(ui.buttons, (ButtonStates{true, false, false, false, true}));
}

TEST_F(RunControlTest, EveryLibraryCallRunsInsideTheGuardNamingItsSite) {
  guard.log = &libraries.log;
  SetBootFile("g.btl");
  libraries.on_call_server = [&] {
    ui.answers = {Answer::kYes, Answer::kYes};
    control.Suspend();
    control.Terminate();
    return 0;
  };
  control.Run();
  std::vector<std::string> calls;
  for (const std::string& line : libraries.log) {
    if (line.rfind("box", 0) != 0 && line.rfind("buttons", 0) != 0 && line.rfind("status", 0) != 0) {
      calls.push_back(line);
    }
  }
  EXPECT_THAT(calls, ElementsAre("{board", "OpenLink 0x150 10000", "}", "{protocol", "CallServer 1 g.btl ",
                                 "{protocol", "SuspendServer", "}", "{protocol", "TerminateServer", "}",
                                 "{board", "OpenLink 0x150 10000", "}", "{board", "ResetLink 1", "CloseLink 1",
                                 "}", "CallServer returns 0", "}"));
}

TEST_F(RunControlTest, TerminateOnSuspendedTaskCallsTerminateServerOutsideCallServer) {
  task.value = kTaskSuspended;
  SetBootFile("d.btl");
  ui.answers = {Answer::kYes};
  control.Terminate();
  EXPECT_THAT(libraries.log,
              ElementsAre("box main [Warning] Terminate active task? yesno question", "TerminateServer",
                          "OpenLink 0x150 10000", "ResetLink 1", "CloseLink 1",
                          "box main [Information] Task Terminated. ok information", "buttons R---U",
                          "status Booted: (none)"));
  EXPECT_STREQ(control.boot_file(), "");
}

TEST_F(RunControlTest, ResetCases) {
  // No task: no question, the board is reset and the name emptied.
  SetBootFile("e.btl");
  control.Reset();
  EXPECT_THAT(libraries.log, ElementsAre("OpenLink 0x150 10000", "ResetLink 1", "CloseLink 1",
                                         "buttons R---U", "status Booted: (none)"));
  EXPECT_STREQ(control.boot_file(), "");

  // Active task answered No: nothing.
  libraries.log.clear();
  task.value = kTaskSuspended;
  control.Reset();
  EXPECT_THAT(libraries.log, ElementsAre("box main [Warning] There is an active task running. "
                                         "Are you sure? yesno question"));
  EXPECT_EQ(task.value, kTaskSuspended);

  // Active task answered Yes.
  libraries.log.clear();
  ui.answers = {Answer::kYes};
  control.Reset();
  EXPECT_EQ(libraries.log[1], "TerminateServer");
  EXPECT_EQ(task.value, kNoTask);

  // Failed binding: nothing at all.
  libraries.log.clear();
  binding.set_valid(false);
  control.Reset();
  EXPECT_TRUE(libraries.log.empty());
}

TEST_F(RunControlTest, ResetBoardSkipsTheResetWhenTheLinkWillNotOpen) {
  for (std::int32_t handle : {-1, 0}) {
    libraries.open_result = handle;
    libraries.log.clear();
    control.ResetBoard();
    EXPECT_THAT(libraries.log, ElementsAre("OpenLink 0x150 10000"));
    EXPECT_EQ(control.link_handle(), -1);
  }
}

TEST_F(RunControlTest, CallServerResultsOutsideTheContractEndTheTask) {
  for (std::int32_t result : {7, -3, 256}) {
    SetBootFile("f.btl");
    libraries.on_call_server = [result] { return result; };
    control.Run();
    EXPECT_EQ(task.value, kNoTask) << result;
    EXPECT_STREQ(control.boot_file(), "") << result;
  }
  EXPECT_EQ(TaskStateFromResult(1), 1);
}

TEST_F(RunControlTest, CommandEnablingFollowsStateAndBinding) {
  struct Case {
    std::int32_t state;
    bool valid;
    const char* enabled;  // Run Terminate Suspend Continue Setup Protocols Boards RunTime
  } cases[] = {{0, true, "R---UPBT"},
               {0, false, "----UPBT"},
               {1, true, "-TS-----"},
               {2, true, "-T-C----"},
               {2, false, "-T-C----"}};
  const Command commands[] = {Command::kRun,   Command::kTerminate, Command::kSuspend, Command::kContinue,
                              Command::kSetup, Command::kProtocols, Command::kBoards,  Command::kRunTime};
  const char letters[] = "RTSCUPBT";
  for (const Case& c : cases) {
    task.value = c.state;
    binding.set_valid(c.valid);
    std::string got;
    for (int i = 0; i < 8; ++i) got += control.CommandEnabled(commands[i]) ? letters[i] : '-';
    EXPECT_EQ(got, c.enabled) << c.state << c.valid;
  }
}

TEST_F(RunControlTest, DisabledCommandsArrivingAnywayDoNothing) {
  binding.set_valid(false);
  SetBootFile("g.btl");
  control.Run();
  control.Continue();
  control.Suspend();
  control.Terminate();
  EXPECT_TRUE(libraries.log.empty());
}

TEST_F(RunControlTest, CommandLineArgumentsAreCutAt259Characters) {
  const std::string long_name(300, 'n');
  const char* args[] = {long_name.c_str(), "-x 1", "ignored"};
  control.SetCommandLine(3, args);
  EXPECT_EQ(std::string(control.boot_file()), std::string(259, 'n'));
  EXPECT_STREQ(control.parameters(), "-x 1");
  control.SetCommandLine(0, nullptr);
  EXPECT_STREQ(control.boot_file(), "");
  EXPECT_STREQ(control.parameters(), "");
}

TEST_F(RunControlTest, StatusTextsAndClock) {
  SetBootFile("C:\\boot\\x.btl");
  task.value = kTaskRunning;
  control.UpdateStatus();
  EXPECT_STREQ(ui.status.clock.data(), "09:05:07");
  EXPECT_STREQ(ui.status.memory.data(), "Free: 2096128K");
  EXPECT_STREQ(ui.status.boot.data(), "Booted: C:\\boot\\x.btl (running)");
  system.time = {23, 59, 0};
  control.ClockTick();
  EXPECT_EQ(ui.clock, "23:59:00");
  // The longest name still fits the boot text whole.
  const std::string longest(259, 'z');
  SetBootFile(longest.c_str());
  task.value = kTaskSuspended;
  control.UpdateStatus();
  EXPECT_EQ(std::string(ui.status.boot.data()), "Booted: " + longest + " (suspended)");
}

TEST_F(RunControlTest, LeavingCancelledKeepsEverything) {
  ui.answers = {Answer::kCancel};
  EXPECT_FALSE(control.Leave());
  EXPECT_THAT(libraries.log, ElementsAre("box main [Exit] Are you sure you want to leave Tessera? "
                                         "okcancel question"));
}

TEST_F(RunControlTest, LeavingWithSuspendedTaskResetsBoardBeforeReleasing) {
  task.value = kTaskSuspended;
  ui.answers = {Answer::kOk};
  EXPECT_TRUE(control.Leave());
  EXPECT_THAT(libraries.log,
              ElementsAre("box main [Exit] Are you sure you want to leave Tessera? okcancel question",
                          "buttons R---U", "status Booted: (none)", "OpenLink 0x150 10000", "ResetLink 1",
                          "CloseLink 1", "release 11", "release 22"));
}

TEST_F(RunControlTest, LeavingWithoutTaskDoesNotTouchTheBoard) {
  ui.answers = {Answer::kOk};
  EXPECT_TRUE(control.Leave());
  EXPECT_THAT(libraries.log, ::testing::Not(::testing::Contains("OpenLink 0x150 10000")));
  EXPECT_EQ(libraries.log.back(), "release 22");
}

TEST_F(RunControlTest, LeavingInsideCallServerReleasesOnlyAfterTheCallReturns) {
  SetBootFile("h.btl");
  libraries.on_call_server = [&] {
    ui.answers = {Answer::kOk};
    EXPECT_TRUE(control.Leave());
    EXPECT_THAT(libraries.log, ::testing::Not(::testing::Contains("release 11")));
    return 0;
  };
  control.Run();
  const auto& log = libraries.log;
  auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
  EXPECT_LT(at("TerminateServer"), at("CallServer returns 0"));
  EXPECT_LT(at("CallServer returns 0"), at("release 11"));
  EXPECT_LT(at("release 11"), at("release 22"));
  EXPECT_FALSE(control.CommandEnabled(Command::kRun));
}

}  // namespace
}  // namespace server
