// tessel.exe end to end: started from this process as a user would start it,
// with the stand-in protocol library, and driven through its windows: the
// main window and the I/O Window, a run from the command line, Suspend,
// Continue and Terminate, Reset, leaving, binding failures, a link that no
// longer opens, the setup dialogs and the menus' command enabling. What the
// protocol library saw comes from the stand-in's log; the menus are read from
// inside the program by a hook DLL (tessel_menu_probe.dll).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "server/tests/tessel_driver_win32.h"
#include "tools/c012_peer/peer_server.h"

namespace {

using namespace std::chrono_literals;
using namespace tessel_test;

// tessel.exe and the stand-in copied into a folder of their own, with the
// logging test board as link.dll, steered through the file control().
class BoardFolder {
 public:
  // protocol: the library installed as iserver.dll (the stand-in, or ours).
  explicit BoardFolder(const std::string& name, const char* protocol = "iserver_script.dll")
      : path_(TempPath(name)) {
    CreateDirectoryA(path_.c_str(), nullptr);
    copied_ = CopyFileA("tessel.exe", (path_ + "\\tessel.exe").c_str(), FALSE) &&
              CopyFileA(protocol, (path_ + "\\iserver.dll").c_str(), FALSE) &&
              CopyFileA("tessel_test_board.dll", (path_ + "\\link.dll").c_str(), FALSE);
    SetEnvironmentVariableA("TEST_BOARD_CONTROL", control().c_str());
  }
  ~BoardFolder() {
    SetEnvironmentVariableA("TEST_BOARD_CONTROL", nullptr);
    for (const char* file : {"tessel.exe", "iserver.dll", "link.dll", "board.control"}) {
      // The program may still be letting go of its files for a moment.
      WaitUntil([&] {
        const std::string path = path_ + "\\" + file;
        return DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
      }, 3s);
    }
    RemoveDirectoryA(path_.c_str());
  }
  bool copied() const { return copied_; }
  const std::string& path() const { return path_; }
  std::string control() const { return path_ + "\\board.control"; }
  void Steer(const std::string& text) const { WriteText(control(), text); }

 private:
  std::string path_;
  bool copied_ = false;
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

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
  // The menu as tabled, with Run and the Options dialogs on while no task is
  // active; the Window popup also lists the I/O Window (the MDI window list).
  EXPECT_EQ(tessel.MenuReport(),
            "popup left &File\n"
            "101 on Run\n"
            "102 on Exit\n"
            "popup left &Control\n"
            "201 on &Reset\n"
            "202 off &Terminate\n"
            "203 off &Suspend\n"
            "204 off &Continue\n"
            "popup left &Options\n"
            "301 on &Protocols...\n"
            "302 on &Boards...  \n"
            "303 on &Run-time...\n"
            "popup left &Window\n"
            "24362 on &Tile\n"
            "24361 on &Cascade\n"
            "24364 on &Arrange Icons\n"
            "65280 on &1 I/O Window\n"
            "popup right &Help\n"
            "402 on &About...\n");

  // Resting the mouse on the Run button brings up its tooltip.
  HWND bar = FindChild(main, "TControlBar");
  ASSERT_NE(bar, nullptr);
  RECT bounds;
  GetWindowRect(bar, &bounds);
  SetForegroundWindow(main);
  SetCursorPos(bounds.left + 14, (bounds.top + bounds.bottom) / 2);
  SetCursorPos(bounds.left + 16, (bounds.top + bounds.bottom) / 2);
  EXPECT_NE(tessel.WaitForWindow("Moss:Tooltip", ""), nullptr);
  Screenshot("main");
  SetCursorPos(bounds.right + 200, bounds.bottom + 300);

  tessel.Command(CM_EXIT);
  HWND box = tessel.WaitForBox("Exit");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Are you sure you want to leave Tessera?");
  Tessel::Press(box, IDCANCEL);
  ASSERT_TRUE(tessel.BoxGone("Exit"));
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

// Started with a boot file, the server stays out of the way, minimized; once
// restored it is on the screen at a usable size, its I/O Window maximized in
// it and showing the program's output.
TEST(TesselEndToEnd, MinimizedStartRestoresOnScreenWithTheIoWindowMaximized) {
  const std::string script = TempPath("restore.script");
  std::string text;
  for (int line = 1; line <= 30; ++line) text += "write output line " + std::to_string(line) + "\\r\\n\n";
  text += "write \\e[3;20H\\e[Kplaced at row 3, column 20\\e[25;1H\nwrite written\ngetch\n";
  WriteText(script, text);
  Tessel tessel("restore");
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  HWND main = tessel.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Count(tessel.Log(), "write ") == 32; })) << tessel.Log();
  EXPECT_TRUE(IsIconic(main));
  Screenshot("minimized-start");

  PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main); }));
  std::this_thread::sleep_for(300ms);
  RECT frame;
  GetWindowRect(main, &frame);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_TRUE(frame.left >= screen.left && frame.top >= screen.top && frame.right <= screen.right &&
              frame.bottom <= screen.bottom)
      << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;
  EXPECT_GE(frame.right - frame.left, screen.right / 2);
  EXPECT_GE(frame.bottom - frame.top, screen.bottom / 2);

  HWND console = FindChild(main, "TStdioWindow");
  ASSERT_NE(console, nullptr);
  EXPECT_TRUE(IsZoomed(console));
  RECT area;
  GetClientRect(console, &area);
  HWND client = GetParent(console);
  RECT room;
  GetClientRect(client, &room);
  // Maximized: the I/O Window's client area is all the room the frame gives it.
  EXPECT_GT(area.bottom, 0);
  EXPECT_GE(area.right + GetSystemMetrics(SM_CXVSCROLL), room.right);
  EXPECT_GE(area.bottom + GetSystemMetrics(SM_CYHSCROLL), room.bottom);
  Screenshot("restored");

  PostMessageA(console, WM_CHAR, 'q', 0);
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
  // The menus follow the task state: running, suspended, running, none.
  const std::string running = "102 201 202 203 402 ";
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), running);

  tessel.Command(CM_SUSPEND);
  HWND box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Suspend active task?");
  Tessel::Press(box, IDNO);
  ASSERT_TRUE(tessel.BoxGone("Warning"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), running);
  EXPECT_EQ(tessel.Log().find("suspend"), std::string::npos);

  tessel.Command(CM_SUSPEND);
  box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  Tessel::Press(box, IDYES);
  EXPECT_TRUE(tessel.LogHas("result 2"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "102 201 202 204 402 ");

  tessel.Command(CM_CONTINUE);
  EXPECT_TRUE(tessel.LogHas("call 1 (null)"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), running);

  tessel.Command(CM_TERMINATE);
  box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Terminate active task?");
  Tessel::Press(box, IDYES);
  box = tessel.WaitForBox("Information");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Task Terminated.");
  Tessel::Press(box, IDOK);
  EXPECT_TRUE(tessel.LogHas("terminated"));
  ASSERT_TRUE(tessel.LogHas("result 0"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "101 102 201 301 302 303 402 ");
  const std::string log = tessel.Log();
  EXPECT_EQ(log.find("never"), std::string::npos);
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  DeleteFileA(script.c_str());
}

// The demo as a user meets it: link.dll on the simulated adapter with a peer
// that echoes, a boot file that talks over the link and through the I/O
// Window, a typed line, then Terminate and Exit.
TEST(TesselEndToEnd, DemoOverTheSimulatedLinkTakesATypedLineThenTerminateAndExit) {
  peer::PeerSession session({}, /*echo=*/true);
  peer::PeerServer server;
  ASSERT_TRUE(server.Listen(0));
  std::thread serving([&] { server.ServeOne(session); });
  char address[32];
  wsprintfA(address, "127.0.0.1:%u", server.port());
  SetEnvironmentVariableA("TESSEL_SIMULATED_C012", address);
  const std::string script = TempPath("demo.script");
  WriteText(script,
            "write Tessel demo: the board link is simulated.\\r\\n\n"
            "link-write ping\n"
            "link-read 4\n"
            "write The far end echoed ping.\\r\\nWhat is your name? \n"
            "gets\n"
            "write \\r\\nPleased to meet you.\\r\\n\n"
            "link-test\n"
            "link-reset\n"
            "idle 60000\n"
            "write never\n");
  {
    Tessel tessel("demo");
    ASSERT_TRUE(tessel.Start("\"" + script + "\""));
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", nullptr);
    HWND main = tessel.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(tessel.LogHas("link-write 4"));
    EXPECT_TRUE(tessel.LogHas("link-read 4 ping")) << tessel.Log();
    // A boot file on the command line starts the server minimized.
    // Without a window manager, Wine restores a window that was minimized
    // before it was ever shown to the minimized spot (-32000, -32000), so the
    // picture needs it placed as well.
    ShowWindowAsync(main, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); }));
    SetWindowPos(main, HWND_TOP, 0, 0, 900, 680, SWP_NOACTIVATE);
    HWND console = FindChild(main, "TStdioWindow");
    ASSERT_NE(console, nullptr);
    for (char c : std::string("Ada\r")) PostMessageA(console, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_TRUE(tessel.LogHas("gets 3 Ada")) << tessel.Log();
    EXPECT_TRUE(tessel.LogHas("link-reset 1")) << tessel.Log();
    Screenshot("demo");

    tessel.Command(CM_TERMINATE);
    HWND box = tessel.WaitForBox("Warning");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "Terminate active task?");
    Tessel::Press(box, IDYES);
    box = tessel.WaitForBox("Information");
    ASSERT_NE(box, nullptr);
    Tessel::Press(box, IDOK);
    EXPECT_TRUE(tessel.LogHas("terminated"));
    EXPECT_EQ(tessel.Log().find("never"), std::string::npos);
    tessel.Leave();
    EXPECT_EQ(tessel.ExitCode(), 0);
  }
  serving.join();  // the server's link.dll closed its connection on leaving
  EXPECT_EQ(std::string(session.data().begin(), session.data().end()), "ping");
  EXPECT_GE(session.resets(), 1u);
  DeleteFileA(script.c_str());
}

TEST(TesselEndToEnd, LeavingDuringAPendingCallEndsTheCallFirst) {
  const std::string script = TempPath("wait.script");
  WriteText(script, "getch\nwrite after\n");
  BoardFolder folder("pending");
  ASSERT_TRUE(folder.copied());
  Tessel tessel("pending");
  tessel.UseFolder(folder.path());
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("call 1"));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  // The task ends, the board is reset (a task was active), and only then does
  // the pending call return.
  const std::string log = tessel.Log();
  const auto terminate = log.find("terminate\n");
  const auto reset = log.find("board open 0x150 10000 1\nboard reset 1\nboard close 1\n");
  EXPECT_NE(terminate, std::string::npos) << log;
  EXPECT_NE(reset, std::string::npos) << log;
  EXPECT_LT(terminate, reset) << log;
  EXPECT_LT(reset, log.find("getch -1")) << log;
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
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "102 201 301 302 303 402 ");
  // Run without a valid binding does nothing: no file dialog, no call.
  tessel.Command(CM_RUN);
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(tessel.Log().find("call"), std::string::npos);
  EXPECT_TRUE(tessel.NoBox("Open"));

  // Binding again from the Run-time dialog fails the same way; its box says "Error".
  tessel.Command(CM_RUNTIME);
  HWND runtime = tessel.WaitForBox("Run-time");
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

TEST(TesselEndToEnd, ResetWithATaskEndsItFirstThenResetsTheBoard) {
  const std::string script = TempPath("reset.script");
  WriteText(script, "idle 30000\nidle 30000\nwrite never\n");
  BoardFolder folder("reset");
  ASSERT_TRUE(folder.copied());
  Tessel tessel("reset");
  tessel.UseFolder(folder.path());
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("call 1 " + script));

  // No keeps the task.
  tessel.Command(CM_RESET);
  HWND box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "There is an active task running. Are you sure?");
  Tessel::Press(box, IDNO);
  ASSERT_TRUE(tessel.BoxGone("Warning"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "102 201 202 203 402 ");
  EXPECT_EQ(Count(tessel.Log(), "terminate"), 0u);
  EXPECT_EQ(Count(tessel.Log(), "board reset"), 0u);

  // Yes: the protocol library ends the task, then the board is reset on a
  // link opened for that, while the task's call is still pending.
  tessel.Command(CM_RESET);
  box = tessel.WaitForBox("Warning");
  ASSERT_NE(box, nullptr);
  Tessel::Press(box, IDYES);
  ASSERT_TRUE(tessel.LogHas("result 0"));
  std::string log = tessel.Log();
  const auto call = log.find("call 1 ");
  const auto terminate = log.find("terminate\n", call);
  const auto reset = log.find("board open 0x150 10000 1\nboard reset 1\nboard close 1\n", call);
  EXPECT_NE(terminate, std::string::npos) << log;
  EXPECT_NE(reset, std::string::npos) << log;
  EXPECT_LT(terminate, reset) << log;
  EXPECT_LT(reset, log.find("result 0")) << log;
  EXPECT_EQ(log.find("never"), std::string::npos) << log;
  EXPECT_TRUE(tessel.NoBox("Information"));
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "101 102 201 301 302 303 402 ");

  // The boot file is gone: Run asks for one.
  tessel.Command(CM_RUN);
  HWND open = tessel.WaitForBox("Open");
  ASSERT_NE(open, nullptr);
  Tessel::Press(open, IDCANCEL);
  ASSERT_TRUE(tessel.BoxGone("Open"));

  // Leaving with no task leaves the board alone.
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  log = tessel.Log();
  EXPECT_EQ(Count(log, "call "), 1u) << log;
  EXPECT_EQ(Count(log, "board reset"), 1u) << log;
  DeleteFileA(script.c_str());
}

TEST(TesselEndToEnd, ALinkThatNoLongerOpensKeepsTheBootFileUntilReset) {
  const std::string script = TempPath("nolink.script");
  WriteText(script, "write hello\n");
  BoardFolder folder("nolink");
  ASSERT_TRUE(folder.copied());
  // The board answers the start-up probe, then no more.
  folder.Steer("fail-after-first");
  Tessel tessel("nolink");
  tessel.UseFolder(folder.path());
  ASSERT_TRUE(tessel.Start("\"" + script + "\""));
  HWND box = tessel.WaitForBox("Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), "Error");
  EXPECT_EQ(BoxText(box), "Can not open the link.");
  Tessel::Press(box, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Error"));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(tessel.LogHas("board open 0x150 10000 1\nboard close 1\nsetup 1\nboard open 0x150 10000 -1\n")) << tessel.Log();
  EXPECT_EQ(EnabledCommands(tessel.MenuStates()), "101 102 201 301 302 303 402 ");

  // Run again tries the same file without asking for one.
  tessel.Command(CM_RUN);
  box = tessel.WaitForBox("Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Can not open the link.");
  EXPECT_TRUE(tessel.NoBox("Open"));
  Tessel::Press(box, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Error"));
  EXPECT_EQ(Count(tessel.Log(), "board open 0x150 10000 -1"), 2u) << tessel.Log();
  EXPECT_EQ(Count(tessel.Log(), "call "), 0u);

  // With the board back, Reset without a task asks nothing, resets it and
  // forgets the boot file: the next Run asks for one.
  folder.Steer("open");
  tessel.Command(CM_RESET);
  EXPECT_TRUE(tessel.LogHas("board open 0x150 10000 1\nboard reset 1\nboard close 1\n")) << tessel.Log();
  EXPECT_TRUE(tessel.NoBox("Warning"));
  tessel.Command(CM_RUN);
  HWND open = tessel.WaitForBox("Open");
  ASSERT_NE(open, nullptr);
  Tessel::Press(open, IDCANCEL);
  ASSERT_TRUE(tessel.BoxGone("Open"));

  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
  const std::string log = tessel.Log();
  EXPECT_EQ(Count(log, "call "), 0u) << log;
  EXPECT_EQ(Count(log, "terminate"), 0u) << log;
  EXPECT_EQ(Count(log, "board reset"), 1u) << log;
  DeleteFileA(script.c_str());
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

// A fault inside CallServer or inside a board function the server calls
// during a run gets the binding's treatment: a box naming the library, then
// a clean exit with code 0 rather than Wine's debugger.
TEST(TesselEndToEnd, FaultsInsideALibraryDuringARunAreReportedAndEndTheProcessWithCodeZero) {
  const std::string script = TempPath("fault.script");
  WriteText(script, "write before\nfault\nwrite after\n");
  struct Case {
    const char* board_control;  // nullptr: the stand-in faults itself
    const char* box_text;
    const char* logged;
  };
  for (const Case& c : {Case{nullptr, "Exception occured in the protocol DLL, code: C0000005. Tessera will close.",
                             "fault"},
                        Case{"fault-after-first",
                             "Exception occured in the board DLL, code: C0000005. Tessera will close.",
                             "board open fault"}}) {
    SCOPED_TRACE(c.box_text);
    BoardFolder folder(c.board_control ? "boardfault" : "callfault");
    ASSERT_TRUE(folder.copied());
    folder.Steer(c.board_control ? c.board_control : "");
    Tessel tessel(c.board_control ? "boardfault" : "callfault");
    tessel.UseFolder(folder.path());
    ASSERT_TRUE(tessel.Start("\"" + script + "\""));
    HWND box = tessel.WaitForBox("Error...");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), c.box_text);
    Tessel::Press(box, IDOK);
    EXPECT_EQ(tessel.ExitCode(), 0);
    EXPECT_TRUE(tessel.LogHas(c.logged));
    EXPECT_EQ(tessel.Log().find("write after"), std::string::npos);
  }
  DeleteFileA(script.c_str());
}

// A board library that fails everything, answers counts beyond the request
// or never answers: the protocol library sees it, the run ends, and the
// server stays usable (Run enabled again, no box, still running).
TEST(TesselEndToEnd, AMisbehavingBoardLibraryLeavesTheServerUsable) {
  const std::string script = TempPath("board.script");
  WriteText(script, "link-write abc\nlink-read 4\nlink-test\nlink-reset\nwrite done\n");
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"broken", {"link-write -1", "link-read -1 \n", "link-test -1 -1 -1", "link-reset -1"}},
      {"nonsense", {"link-write 1003", "link-read 1004 rrrr\n", "link-test 0 1 7", "link-reset 1"}},
      {"silent", {"link-write 0", "link-read 0 \n", "link-test 0 0 0", "link-reset 1"}},
  };
  for (const auto& [control, lines] : cases) {
    SCOPED_TRACE(control);
    BoardFolder folder(std::string("misbehaving_") + control);
    ASSERT_TRUE(folder.copied());
    folder.Steer(control);
    Tessel tessel(std::string("misbehaving_") + control);
    tessel.UseFolder(folder.path());
    ASSERT_TRUE(tessel.Start("\"" + script + "\""));
    ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(tessel.LogHas("result 0"));
    for (const std::string& line : lines) EXPECT_NE(tessel.Log().find(line), std::string::npos) << line;
    EXPECT_TRUE(WaitUntil([&] { return tessel.MenuStates()[101]; }));
    EXPECT_TRUE(tessel.Running());
    EXPECT_TRUE(tessel.NoBox("Error..."));
    tessel.Leave();
    EXPECT_EQ(tessel.ExitCode(), 0);
  }
  DeleteFileA(script.c_str());
}

// Our protocol library on the same boards: the run ends with its message in
// the I/O Window, and the server stays usable. With nonsense counts the
// library takes only the bytes it asked for: two 'r' bytes make a request
// length of 0x7272.
TEST(TesselEndToEnd, OurProtocolLibraryReportsAMisbehavingBoardAndStaysUsable) {
  const std::string boot = TempPath("misbehaving.btl");
  WriteText(boot, std::string(64, '\x42'));
  const std::pair<const char*, const char*> cases[] = {
      {"broken", "Boot failed: the board could not be reset"},
      {"nonsense", "Protocol error: a request of 29298 bytes"},
      {"silent", "Boot failed: the board took 0 of 64 bytes"},
  };
  for (const auto& [control, message] : cases) {
    SCOPED_TRACE(control);
    BoardFolder folder(std::string("ours_") + control, "iserver.dll");
    ASSERT_TRUE(folder.copied());
    folder.Steer(control);
    Tessel tessel(std::string("ours_") + control);
    tessel.UseFolder(folder.path());
    ASSERT_TRUE(tessel.Start("\"" + boot + "\""));
    ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return tessel.ScreenText().find(message) != std::string::npos; }))
        << tessel.ScreenText();
    EXPECT_TRUE(WaitUntil([&] { return tessel.MenuStates()[101]; }));
    EXPECT_TRUE(tessel.Running());
    tessel.Leave();
    EXPECT_EQ(tessel.ExitCode(), 0);
  }
  DeleteFileA(boot.c_str());
}

TEST(TesselEndToEnd, SetupDialogsShowTheConfigurationAndRunTimeOkRebinds) {
  Tessel tessel("setup");
  ASSERT_TRUE(tessel.Start());
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(tessel.LogHas("setup 1"));

  // Protocols: Properties does nothing until the one item is selected.
  tessel.Command(CM_PROTOCOLS);
  HWND protocols = tessel.WaitForBox("Protocols");
  ASSERT_NE(protocols, nullptr);
  HWND list = GetDlgItem(protocols, IDC_LIBRARY_LIST);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ListText(list, LB_GETTEXT, 0), L"Inmos (iserver)");
  Tessel::Press(protocols, IDC_LIBRARY_PROPERTIES);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(tessel.NoBox("Protocol properties"));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  Tessel::Press(protocols, IDC_LIBRARY_PROPERTIES);
  HWND properties = tessel.WaitForBox("Protocol properties");
  ASSERT_NE(properties, nullptr);
  EXPECT_EQ(ItemText(properties, IDC_PROPERTY_DESCRIPTION), "Inmos (iserver)");
  EXPECT_EQ(ItemText(properties, IDC_PROPERTY_LIBRARY_NAME), "iserver.dll");
  EXPECT_EQ(ItemText(properties, IDC_PROPERTY_FILE_EXTENSION), "btl");
  Screenshot("protocol-properties");
  Tessel::Press(properties, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Protocol properties"));
  Tessel::Press(protocols, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Protocols"));

  // Boards through the Setup hub.
  tessel.Command(CM_SETUP);
  HWND setup = tessel.WaitForBox("Setup");
  ASSERT_NE(setup, nullptr);
  Screenshot("setup");
  Tessel::Press(setup, IDC_SETUP_BOARDS);
  HWND boards = tessel.WaitForBox("Boards");
  ASSERT_NE(boards, nullptr);
  SendMessageW(GetDlgItem(boards, IDC_LIBRARY_LIST), LB_SETCURSEL, 0, 0);
  Tessel::Press(boards, IDC_LIBRARY_PROPERTIES);
  HWND board = tessel.WaitForBox("Board properties");
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(ItemText(board, IDC_PROPERTY_DESCRIPTION), "Inmos B004");
  EXPECT_EQ(ItemText(board, IDC_PROPERTY_LIBRARY_NAME), "link.dll");
  EXPECT_EQ(ItemText(board, IDC_PROPERTY_LINK_TIMEOUT), "10000");
  Screenshot("board-properties");
  Tessel::Press(board, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Board properties"));
  Tessel::Press(boards, IDCANCEL);
  ASSERT_TRUE(tessel.BoxGone("Boards"));
  Tessel::Press(setup, IDOK);
  ASSERT_TRUE(tessel.BoxGone("Setup"));

  // Run-time: Cancel leaves the binding alone, OK binds again.
  tessel.Command(CM_RUNTIME);
  HWND runtime = tessel.WaitForBox("Run-time");
  ASSERT_NE(runtime, nullptr);
  EXPECT_EQ(ItemText(runtime, IDC_RUNTIME_PROTOCOL), "Inmos (iserver)");
  EXPECT_EQ(ItemText(runtime, IDC_RUNTIME_BOARD), "Inmos B004");
  Screenshot("runtime");
  Tessel::Press(runtime, IDCANCEL);
  ASSERT_TRUE(tessel.BoxGone("Run-time"));
  std::this_thread::sleep_for(300ms);
  const auto setups = [&] { return Count(tessel.Log(), "setup 1"); };
  EXPECT_EQ(setups(), 1u);
  tessel.Command(CM_RUNTIME);
  runtime = tessel.WaitForBox("Run-time");
  ASSERT_NE(runtime, nullptr);
  Tessel::Press(runtime, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return setups() == 2u; }));

  tessel.Command(CM_ABOUT);
  HWND about = tessel.WaitForBox("About Tessel");
  ASSERT_NE(about, nullptr);
  Screenshot("about");
  Tessel::Press(about, IDOK);
  ASSERT_TRUE(tessel.BoxGone("About Tessel"));
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

}  // namespace
