// The run-control contract: suspend, resume, terminate, quit, from inside
// the pending call (as the host's nested message handlers do) and between calls.
#include <gtest/gtest.h>

#include <functional>

#include "iserver/core/server_task.h"
#include "iserver/core/tests/harness.h"

namespace iserver::testing {
namespace {

struct ClockHost : TaskHost {
  bool DispatchPending() override {
    ++dispatches;
    if (on_dispatch) on_dispatch();
    return !quitting;
  }
  std::uint32_t NowMs() override { return now += 10; }
  std::function<void()> on_dispatch;
  std::uint32_t now = 0;
  int dispatches = 0;
  bool quitting = false;
};

struct HookedConsole : ScriptedConsole {
  std::optional<std::uint8_t> GetKey() override {
    if (on_wait) on_wait();
    return ScriptedConsole::GetKey();
  }
  std::function<void()> on_wait;
};

struct TaskRig {
  MemoryLink link;
  MemoryHost host;
  HookedConsole console;
  ClockHost clock;
  ServerTask task{link, host, console, clock};
  TaskRig() { host.files["prog"] = Bytes{0xB0, 0x07}; }
};

const Bytes kOpen = Request(10).Slice("f").Byte(1).Byte(2).Frame();
const Bytes kWrite = Request(13).Int32(3).Slice("abc").Frame();
const Bytes kExit = Request(35).Int32(999999999).Frame();

TEST(ServerTask, SuspendReturnsTwoAndContinueResumesWithoutLosingAPartlyReceivedRequest) {
  for (std::size_t split = 0; split <= kWrite.size(); ++split) {
    TaskRig rig;
    rig.link.Queue(kOpen + Bytes(kWrite.begin(), kWrite.begin() + static_cast<std::ptrdiff_t>(split)));
    rig.clock.on_dispatch = [&] { rig.task.RequestSuspend(); };
    ASSERT_EQ(rig.task.Call("prog", "-se"), ServerTask::kSuspended) << split;
    // The boot file was read and closed; the program's file stays open.
    EXPECT_EQ(rig.host.opens, 2);
    EXPECT_EQ(rig.host.closes, 1);
    rig.task.RequestSuspend();       // between calls: nothing to do
    rig.clock.on_dispatch = nullptr;
    rig.link.Queue(Bytes(kWrite.begin() + static_cast<std::ptrdiff_t>(split), kWrite.end()) + kExit);
    ASSERT_EQ(rig.task.Call(nullptr, nullptr), ServerTask::kEnded) << split;
    EXPECT_EQ(rig.host.files["f"], Bytes({'a', 'b', 'c'})) << split;
    EXPECT_EQ(rig.host.closes, 2);
    EXPECT_EQ(rig.task.Call(nullptr, nullptr), ServerTask::kEnded);  // nothing left to resume
  }
}

TEST(ServerTask, TerminateEndsTheProgramFromEveryPlace) {
  const struct {
    const char* name;
    Bytes incoming;
    bool from_console_wait;
  } cases[] = {{"while the program computes", kOpen, false}, {"during a key wait", kOpen + Request(30).Frame(), true}};
  for (const auto& c : cases) {
    TaskRig rig;
    rig.link.Queue(c.incoming);
    auto terminate = [&] { rig.task.RequestTerminate(); };
    (c.from_console_wait ? rig.console.on_wait : rig.clock.on_dispatch) = terminate;
    EXPECT_EQ(rig.task.Call("prog", ""), ServerTask::kEnded) << c.name;
    EXPECT_EQ(rig.host.closes, 2) << c.name;  // the boot file's and the program's
    EXPECT_FALSE(rig.task.has_program()) << c.name;
  }

  TaskRig between;
  between.link.Queue(kOpen);
  between.clock.on_dispatch = [&] { between.task.RequestSuspend(); };
  ASSERT_EQ(between.task.Call("prog", ""), ServerTask::kSuspended);
  between.task.RequestTerminate();
  EXPECT_EQ(between.host.closes, 2);
  EXPECT_EQ(between.task.Call(nullptr, nullptr), ServerTask::kEnded);
}

TEST(ServerTask, AQuittingHostEndsTheTask) {
  TaskRig rig;
  rig.clock.quitting = true;
  EXPECT_EQ(rig.task.Call("prog", ""), ServerTask::kEnded);
  EXPECT_EQ(rig.clock.dispatches, 1);
}

TEST(ServerTask, BusyProgramsStillLetTheHostDispatch) {
  TaskRig rig;
  for (int i = 0; i < 200; ++i) rig.link.Queue(Request(42).Frame());
  rig.link.Queue(kExit);
  EXPECT_EQ(rig.task.Call("prog", ""), ServerTask::kEnded);
  EXPECT_GE(rig.clock.dispatches, 200 * 10 / static_cast<int>(ServerTask::kDispatchEveryMs));
}

TEST(ServerTask, AMissingBootFileIsReportedAndNestedCallsAreRefused) {
  TaskRig rig;
  EXPECT_EQ(rig.task.Call("nowhere.btl", ""), ServerTask::kEnded);
  EXPECT_EQ(rig.console.err, "Cannot read the boot file nowhere.btl\n");
  EXPECT_TRUE(rig.link.sent.empty());

  int nested = -1;
  rig.clock.on_dispatch = [&] {
    nested = rig.task.Call("prog", "");
    rig.task.RequestTerminate();
  };
  EXPECT_EQ(rig.task.Call("prog", ""), ServerTask::kEnded);
  EXPECT_EQ(nested, ServerTask::kRunning);
}

}  // namespace
}  // namespace iserver::testing
