// The emulated board end to end under Wine: tessel.exe from bin/ with our
// iserver.dll and link.dll, whose simulated adapter reaches t800emu.exe
// --listen; real transputer code (the shipped hello, fptable and echo
// programs) writes to the I/O Window and echoes the keys typed there.
#include <winsock2.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "server/tests/tessel_driver_win32.h"
#include "t800/programs/tests/fptable_expected.h"

namespace {

using namespace tessel_test;

// A free loopback port: bind to port 0 and see what came.
std::uint16_t FreePort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  WSACleanup();
  return ntohs(address.sin_port);
}

// t800emu.exe --listen for the test's lifetime.
class Board {
 public:
  Board() {
    address_ = "127.0.0.1:" + std::to_string(FreePort());
    std::string command = "t800emu.exe --listen " + address_;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA("t800emu.exe", command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                              nullptr, &startup, &process_);
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", address_.c_str());
  }
  ~Board() {
    SetEnvironmentVariableA("TESSEL_SIMULATED_C012", nullptr);
    if (!started_) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  bool started() const { return started_; }

 private:
  std::string address_;
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

constexpr auto kProgramWait = std::chrono::seconds(30);

bool ScreenShows(Tessel& tessel, const std::string& text) {
  return WaitUntil([&] { return tessel.ScreenText().rfind(text, 0) == 0; }, kProgramWait);
}

// Boots `program` on the board, waits for the I/O Window to show `expected`
// from its start, and expects the program to end the server with success.
void ExpectProgramPrints(const std::string& program, const std::string& expected) {
  Board board;
  ASSERT_TRUE(board.started());
  Tessel tessel("t800emu_" + program.substr(0, program.find('.')));
  tessel.UseFolder(".");
  ASSERT_TRUE(tessel.Start(program));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(ScreenShows(tessel, expected)) << tessel.ScreenText();
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

TEST(BoardEndToEnd, HelloWritesToTheIoWindowAndEnds) { ExpectProgramPrints("hello.btl", "Hello, world!\n"); }

TEST(BoardEndToEnd, FptablePrintsItsRealArithmetic) { ExpectProgramPrints("fptable.btl", t800test::kFptableExpected); }

TEST(BoardEndToEnd, EchoRepeatsTheKeysTypedInTheIoWindowUntilQ) {
  Board board;
  ASSERT_TRUE(board.started());
  Tessel tessel("t800emu_echo");
  tessel.UseFolder(".");
  ASSERT_TRUE(tessel.Start("echo.btl"));
  ASSERT_NE(tessel.WaitForMainWindow(), nullptr);
  HWND console = FindChild(tessel.main(), "TStdioWindow");
  ASSERT_NE(console, nullptr);
  const std::string banner = "Echo on the transputer: type keys, q ends.\n";
  for (char c : std::string("hi")) PostMessageA(console, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_TRUE(ScreenShows(tessel, banner + "hi")) << tessel.ScreenText();
  PostMessageA(console, WM_CHAR, static_cast<WPARAM>('\r'), 0);  // Enter: a new line
  PostMessageA(console, WM_CHAR, static_cast<WPARAM>('!'), 0);
  PostMessageA(console, WM_CHAR, static_cast<WPARAM>('q'), 0);  // the program ends
  EXPECT_TRUE(ScreenShows(tessel, banner + "hi\n!\n")) << tessel.ScreenText();
  tessel.Leave();
  EXPECT_EQ(tessel.ExitCode(), 0);
}

}  // namespace
