// Every export of the shipped libraries, called as a 32-bit client calls it:
// resolved by plain name with GetProcAddress and called with the argument
// bytes of its declaration in the library's header, through the stack probe.
// Each must take exactly those bytes off the stack and keep EBX, ESI, EDI and
// EBP. The arguments are chosen so each call returns at once and harmlessly;
// the epilogue that pops the arguments is the same on every path.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "boards/include/link_interface.h"
#include "mantle/mantle.h"
#include "server/core/protocol_interface.h"
#include "tools/abi_check/stdcall_probe.h"

namespace {

// What an argument is: a number, or something the run makes or owns.
enum class Kind { Number, Window, Graph, Dc, List, Combo, Group, Static, Check, Radio, Edit, Pen, Memory,
                  Buffer, Text, NoFile };

struct Arg {
  Kind kind = Kind::Number;
  std::uint32_t value = 0;
};
constexpr Arg N(std::uint32_t value) { return {Kind::Number, value}; }
constexpr Arg kWindow{Kind::Window}, kGraph{Kind::Graph}, kDc{Kind::Dc}, kList{Kind::List}, kCombo{Kind::Combo},
    kGroup{Kind::Group}, kStatic{Kind::Static}, kCheck{Kind::Check}, kRadio{Kind::Radio}, kEdit{Kind::Edit},
    kPen{Kind::Pen}, kMemory{Kind::Memory}, kBuffer{Kind::Buffer}, kText{Kind::Text}, kNoFile{Kind::NoFile};

struct Entry {
  const char* name;
  std::uint32_t declared_count;
  std::uint32_t declared_bytes;
  std::vector<Arg> args;
  Kind keeps = Kind::Number;  // the result becomes this argument for later entries
  bool modal = false;         // waits for the user: a helper closes what it opens
};

// ENTRY(fn, args...): the export named fn, declared as fn is in the header.
#define ENTRY(fn, ...) Entry{#fn, stack_probe::Signature<decltype(fn)>::count, stack_probe::Signature<decltype(fn)>::bytes, {__VA_ARGS__}}
#define KEEP(kind, fn, ...) \
  Entry{#fn, stack_probe::Signature<decltype(fn)>::count, stack_probe::Signature<decltype(fn)>::bytes, {__VA_ARGS__}, kind}
#define MODAL(fn, ...) \
  Entry{#fn, stack_probe::Signature<decltype(fn)>::count, stack_probe::Signature<decltype(fn)>::bytes, {__VA_ARGS__}, Kind::Number, true}
// An entry declared through a function-pointer type (the link and protocol interfaces).
#define TYPED(name, type, ...)                                                                    \
  Entry{name, stack_probe::Signature<std::remove_pointer_t<type>>::count, stack_probe::Signature<std::remove_pointer_t<type>>::bytes, \
        {__VA_ARGS__}}

// Called in this order. The two window procedures the class library exports
// are left out: the platform calls them for every message of every window,
// so the other tests would not survive a fault in them.
const std::vector<Entry>& MantleEntries() {
  static const std::vector<Entry> entries = {
      ENTRY(_EnableMantle, N(1)),
      KEEP(Kind::Window, _CreateWindow, N(WS_OVERLAPPEDWINDOW), N(0), kText, N(1), N(10), N(10), N(320), N(200)),
      ENTRY(_ShowWindow, kWindow, N(SW_SHOWNA)),
      ENTRY(_MoveWindow, kWindow, N(20), N(20), N(330), N(210), N(1)),
      ENTRY(_AssignMenu, kWindow, N(0)),
      ENTRY(_AssignIcon, kWindow, N(0)),
      ENTRY(_AssignCursor, kWindow, N(0)),
      ENTRY(_SetWindowText, kWindow, kText),
      ENTRY(_GetWindowText, kWindow, kBuffer),
      ENTRY(_SetWindowWord, kWindow, N(0), N(7)),
      ENTRY(_GetWindowWord, kWindow, N(0)),
      ENTRY(_SetWindowLong, kWindow, N(4), N(7)),
      ENTRY(_GetWindowLong, kWindow, N(4)),
      ENTRY(_SetFocus, kWindow),
      ENTRY(_GetFocus),
      ENTRY(_SetCapture, kWindow),
      ENTRY(_ReleaseCapture),
      ENTRY(_EnableWindow, kWindow, N(1)),
      ENTRY(_ChildWithId, kWindow, N(99)),
      ENTRY(_GetWindowScrollerPos, kWindow, kBuffer),
      ENTRY(_FindWindow, kText),
      ENTRY(_GetCursorPos, kBuffer),
      ENTRY(_SetCursorPos, N(600), N(500)),
      MODAL(_MessageBox, kText, kText, N(MB_OK)),
      ENTRY(_MessageBeep, N(0)),
      ENTRY(_LoadIcon, N(1)),
      ENTRY(_LoadCursor, N(1)),
      ENTRY(_SetCursor, N(0)),
      ENTRY(_GetSystemMetrics, N(SM_CXSCREEN)),
      ENTRY(_CreateDialogIndirect, kNoFile, kText, kWindow, N(2), N(0)),
      KEEP(Kind::List, _CreateListBox, kWindow, N(10), N(0), N(0), N(80), N(60)),
      KEEP(Kind::Combo, _CreateComboBox, kWindow, N(11), N(90), N(0), N(80), N(60), N(CBS_DROPDOWN), N(20)),
      KEEP(Kind::Group, _CreateGroupBox, kWindow, N(12), kText, N(0), N(70), N(160), N(60)),
      KEEP(Kind::Static, _CreateStatic, kWindow, N(13), kText, N(180), N(0), N(80), N(20), N(40)),
      ENTRY(_CreateButton, kWindow, N(14), kText, N(180), N(30), N(80), N(20), N(0)),
      KEEP(Kind::Edit, _CreateEdit, kWindow, N(15), kText, N(180), N(60), N(80), N(20), N(40), N(0)),
      KEEP(Kind::Check, _CreateCheckBox, kWindow, N(16), kText, N(4), N(86), N(80), N(16), kGroup),
      KEEP(Kind::Radio, _CreateRadioButton, kWindow, N(17), kText, N(4), N(104), N(80), N(16), kGroup),
      ENTRY(_GetId, kStatic),
      ENTRY(_GetStaticText, kStatic, kBuffer, N(64)),
      ENTRY(_SetStaticText, kStatic, kText),
      ENTRY(_GetCheck, kCheck),
      ENTRY(_SetCheck, kCheck, N(1)),
      ENTRY(_GetRadio, kRadio),
      ENTRY(_SetRadio, kRadio, N(1)),
      ENTRY(_AddString, kList, kText),
      ENTRY(_InsertString, kList, kText, N(0)),
      ENTRY(_GetCount, kList),
      ENTRY(_GetString, kList, kBuffer, N(0)),
      ENTRY(_GetStringLen, kList, N(0)),
      ENTRY(_SetSelIndex, kList, N(0)),
      ENTRY(_GetSelIndex, kList),
      ENTRY(_DeleteString, kList, N(0)),
      ENTRY(_ClearList, kList),
      ENTRY(_AddString, kCombo, kText),
      ENTRY(_SetSelString, kCombo, kText, N(0xFFFFFFFF)),
      ENTRY(_GetSelString, kCombo, kBuffer, N(64)),
      ENTRY(_ShowList, kCombo),
      ENTRY(_HideList, kCombo),
      ENTRY(_SetEditText, kEdit, kText),
      ENTRY(_GetEditText, kEdit, kBuffer),
      ENTRY(_SetEditInt, kEdit, N(42), N(1)),
      ENTRY(_GetEditInt, kEdit, kBuffer, N(1)),
      KEEP(Kind::Graph, _CreateGraphWindow, kText, N(20), N(WS_OVERLAPPEDWINDOW), N(40), N(40), N(200), N(150),
           N(64), N(64), kWindow),
      KEEP(Kind::Dc, _GetDC, kGraph),
      ENTRY(_MoveTo, kDc, N(1), N(1)),
      ENTRY(_LineTo, kDc, N(20), N(20)),
      ENTRY(_Rectangle, kDc, N(2), N(2), N(30), N(30)),
      ENTRY(_Ellipse, kDc, N(2), N(2), N(30), N(30)),
      ENTRY(_TextOut, kDc, N(2), N(2), kText, N(3)),
      ENTRY(_SetPixel, kDc, N(3), N(3), N(0x0000FF)),
      ENTRY(_GetPixel, kDc, N(3), N(3)),
      ENTRY(_GetCurrentPosition, kDc, kBuffer),
      ENTRY(_GetDeviceCaps, kDc, N(HORZRES)),
      KEEP(Kind::Pen, _CreatePen, N(PS_SOLID), N(1), N(0)),
      ENTRY(_SelectObject, kDc, kPen),
      ENTRY(_GetStockObject, N(BLACK_PEN)),
      Entry{MANTLE_SET_PIXELS_EXPORT, stack_probe::Signature<decltype(_SetPixels)>::count,
            stack_probe::Signature<decltype(_SetPixels)>::bytes, {kDc, N(1), kBuffer}},
      ENTRY(_ReleaseDC, kGraph, kDc),
      ENTRY(_DeleteDC, N(0)),
      ENTRY(_DeleteObject, kPen),
      MODAL(_ExecFileDialog, kWindow, N(MANTLE_FILE_OPEN), kBuffer),
      MODAL(_ExecInputDialog, kWindow, kText, kText, kBuffer, N(64)),
      ENTRY(_PostMessage, kWindow, N(WM_NULL), N(0), N(0)),
      ENTRY(_SendMessage, kWindow, N(WM_NULL), N(0), N(0)),
      KEEP(Kind::Memory, _GlobalAlloc, N(GMEM_MOVEABLE), N(16)),
      ENTRY(_GlobalLock, kMemory),
      ENTRY(_GlobalUnlock, kMemory),
      ENTRY(_GlobalSize, kMemory),
      ENTRY(_GlobalFree, kMemory),
      ENTRY(_CreateFile, kNoFile, N(GENERIC_READ), N(0), N(OPEN_EXISTING), N(0)),
      ENTRY(_ReadFile, N(0), kBuffer, N(0), kBuffer),
      ENTRY(_WriteFile, N(0), kBuffer, N(0), kBuffer),
      ENTRY(_SetFilePointer, N(0), N(0), N(FILE_BEGIN)),
      ENTRY(_GetFileSize, N(0), kBuffer),
      ENTRY(_CloseFile, N(0)),
      ENTRY(_GetLastError),
      ENTRY(_CreateMenuIndirect, kNoFile, kText),
      ENTRY(_CreateIconIndirect, kNoFile, kText),
      ENTRY(_RetrieveMessage, kBuffer),
      ENTRY(_PeekMessage, kBuffer, N(0xFFFF), N(0), N(0), N(1)),
      ENTRY(_CloseWindow, kGraph),
      ENTRY(_DeleteWindow, kWindow),
      ENTRY(_EnableMantle, N(0)),
  };
  return entries;
}

// The board libraries' interface: no board answers here, so each call ends
// at once (kestrel finds no driver; link.dll's port access is refused).
const std::vector<Entry>& LinkEntries() {
  using namespace link_interface;
  static const std::vector<Entry> entries = {
      TYPED("OpenLink", OpenLinkFn, N(0), N(10)),
      TYPED("WriteLink", WriteLinkFn, N(1), kBuffer, N(4)),
      TYPED("ReadLink", ReadLinkFn, N(1), kBuffer, N(4)),
      TYPED("TestError", TestErrorFn, N(1)),
      TYPED("TestRead", TestReadFn, N(1)),
      TYPED("TestWrite", TestWriteFn, N(1)),
      TYPED("ResetLink", ResetLinkFn, N(1)),
      TYPED("AnalyseLink", AnalyseLinkFn, N(1)),
      TYPED("CloseLink", CloseLinkFn, N(1)),
  };
  return entries;
}

// The protocol library as the server declares it; with no board and no boot
// file each entry only answers.
const std::vector<Entry>& ProtocolEntries() {
  using namespace server;
  static const std::vector<Entry> entries = {
      TYPED("SetupServer", SetupServerFn, N(0)),
      TYPED("CallServer", CallServerFn, N(1), N(0), N(0)),
      TYPED("SuspendServer", SuspendServerFn),
      TYPED("TerminateServer", TerminateServerFn),
  };
  return entries;
}

// The libraries checked: adding one is one line here.
struct Library {
  const char* file;
  const std::vector<Entry>& (*entries)();
};
const Library kLibraries[] = {
    {"mantle.dll", MantleEntries},
    {"link.dll", LinkEntries},
    {"kestrel.dll", LinkEntries},
    {"iserver.dll", ProtocolEntries},
};

// Closes what a modal call opens: every visible top-level window of this
// process that was not there before the call gets Cancel and a close request.
class ModalCloser {
 public:
  ModalCloser() : before_(TopWindows()), worker_([this] { Run(); }) {}
  ~ModalCloser() {
    done_ = true;
    worker_.join();
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM data) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window))
      reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
  }
  static std::vector<HWND> TopWindows() {
    std::vector<HWND> windows;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
  }
  void Run() {
    while (!done_) {
      Sleep(300);
      for (HWND window : TopWindows()) {
        if (std::find(before_.begin(), before_.end(), window) != before_.end()) continue;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
      }
    }
  }

  std::vector<HWND> before_;
  std::atomic<bool> done_{false};
  std::thread worker_;
};

// Runs a library's entries in order and returns one line per fault.
std::string CheckLibrary(const Library& library) {
  HMODULE module = LoadLibraryA(library.file);
  if (!module) return std::string(library.file) + ": cannot load, error " + std::to_string(GetLastError()) + "\n";
  std::uint32_t kept[16] = {};  // results kept for later entries, by Kind
  std::vector<char> buffer(4096);
  std::string faults;
  const char* text = "abi";
  const char* no_file = "abi-check-no-such-file.res";
  for (const Entry& entry : library.entries()) {
    const std::string name = std::string(library.file) + " " + entry.name;
    if (entry.args.size() != entry.declared_count) {
      faults += name + ": the table gives " + std::to_string(entry.args.size()) + " arguments\n";
      continue;
    }
    const void* function = reinterpret_cast<const void*>(GetProcAddress(module, entry.name));
    if (!function) {
      faults += name + ": not exported\n";
      continue;
    }
    std::vector<std::uint32_t> words;
    for (const Arg& arg : entry.args) {
      switch (arg.kind) {
        case Kind::Number: words.push_back(arg.value); break;
        case Kind::Buffer: words.push_back(stack_probe::Word(buffer.data())); break;
        case Kind::Text: words.push_back(stack_probe::Word(text)); break;
        case Kind::NoFile: words.push_back(stack_probe::Word(no_file)); break;
        default: words.push_back(kept[static_cast<int>(arg.kind)]); break;
      }
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    stack_probe::Outcome outcome;
    if (entry.modal) {
      ModalCloser closer;
      outcome = stack_probe::Run(function, words.data(), static_cast<std::uint32_t>(words.size()), entry.declared_bytes);
    } else {
      outcome = stack_probe::Run(function, words.data(), static_cast<std::uint32_t>(words.size()), entry.declared_bytes);
    }
    if (!outcome.sound()) faults += name + ": " + outcome.Describe() + "\n";
    if (entry.keeps != Kind::Number) kept[static_cast<int>(entry.keeps)] = outcome.result;
    // Let posted and sent messages run, as a client's loop would.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  FreeLibrary(module);
  return faults;
}

class AbiCheck : public ::testing::TestWithParam<Library> {};

TEST_P(AbiCheck, EveryExportPopsItsDeclaredArgumentsAndKeepsCalleeSavedRegisters) {
  char log[MAX_PATH];
  GetTempPathA(sizeof log, log);
  std::strcat(log, "abi_check_iserver.log");
  SetEnvironmentVariableA("ISERVER_STUB_LOG", log);
  EXPECT_EQ(CheckLibrary(GetParam()), "");
  DeleteFileA(log);
}

INSTANTIATE_TEST_SUITE_P(Shipped, AbiCheck, ::testing::ValuesIn(kLibraries),
                         [](const ::testing::TestParamInfo<Library>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

// The probe itself must see a mismatch: a cdecl function and a stdcall one
// declared with fewer arguments than it pops.
extern "C" int __cdecl LeavesItsArguments(int a, int b) { return a + b; }
extern "C" int WINAPI PopsThree(int a, int b, int c) { return a + b + c; }

TEST(StackProbe, ReportsCalleesThatPopTooFewOrTooMany) {
  const std::uint32_t args[3] = {1, 2, 3};
  stack_probe::Outcome cdecl_call = stack_probe::Run(reinterpret_cast<const void*>(&LeavesItsArguments), args, 2, 8);
  EXPECT_EQ(cdecl_call.result, 3u);
  EXPECT_EQ(cdecl_call.popped, 0u);
  EXPECT_FALSE(cdecl_call.sound());
  stack_probe::Outcome extra = stack_probe::Run(reinterpret_cast<const void*>(&PopsThree), args, 3, 8);
  EXPECT_EQ(extra.popped, 12u);
  EXPECT_FALSE(extra.sound());
  EXPECT_EQ(extra.Describe(), "popped 12 of 8 bytes");
  stack_probe::Outcome right = stack_probe::Call(&PopsThree, 1, 2, 3);
  EXPECT_TRUE(right.sound()) << right.Describe();
  EXPECT_EQ(right.result, 6u);
}

}  // namespace
