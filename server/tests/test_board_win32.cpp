// A board library for the end-to-end test, installed as link.dll beside a copy
// of tessel.exe: it logs every call into the stand-in protocol library's log
// (ISERVER_STUB_LOG), so the order of protocol and board calls shows in one
// file. The file named by TEST_BOARD_CONTROL steers it, so that it can play a
// board library that misbehaves:
//   "fail"              every OpenLink fails
//   "fail-after-first"  OpenLink fails after the first (a board that answered
//                       the start-up probe and is gone by the time of a run)
//   "fault-after-first" OpenLink writes through a null pointer after the first
//   "broken"            the link opens; every other function fails (-1)
//   "nonsense"          counts that make no sense: ReadLink and WriteLink
//                       claim 1000 more than asked (ReadLink stores 'r' in
//                       only what was asked), a byte always waits (TestRead
//                       1), TestWrite and AnalyseLink answer 7
//   "silent"            the link opens and never answers: no byte ever
//                       waits, ReadLink and WriteLink move nothing
// Anything else (or no file): opens; the other functions fail.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Variable(const char* name) {
  char value[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? value : "";
}

void Log(const std::string& line) {
  const std::string path = Variable("ISERVER_STUB_LOG");
  if (path.empty()) return;
  if (FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

std::string Control() {
  const std::string path = Variable("TEST_BOARD_CONTROL");
  char text[32] = "";
  if (FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb")) {
    text[std::fread(text, 1, sizeof text - 1, file)] = '\0';
    std::fclose(file);
  }
  std::string control = text;
  while (!control.empty() && (control.back() == '\n' || control.back() == '\r')) control.pop_back();
  return control;
}

bool Failing() {
  static int opens = 0;
  const bool first = opens++ == 0;
  const std::string control = Control();
  if (control == "fault-after-first" && !first) {
    Log("board open fault");
    *static_cast<volatile int*>(nullptr) = 1;
  }
  if (control == "fail-after-first") return !first;
  return control == "fail";
}

// What the link functions other than OpenLink answer for the current control.
std::int32_t Answer(const char* function, std::int32_t nonsense, std::int32_t silent) {
  const std::string control = Control();
  const std::int32_t result = control == "nonsense" ? nonsense : control == "silent" ? silent : -1;
  // A protocol library polls a silent link without end: the log keeps the start.
  static int logged = 0;
  if (logged++ < 64) Log(std::string("board ") + function + " " + std::to_string(result));
  return result;
}

}  // namespace

extern "C" {

int WINAPI OpenLink(const char* name, unsigned timeout) {
  const int result = Failing() ? -1 : 1;
  Log("board open " + std::string(name ? name : "(null)") + " " + std::to_string(timeout) + " " +
      std::to_string(result));
  return result;
}

int WINAPI ResetLink(int link) {
  const std::string control = Control();
  if (control == "broken") return Answer("reset", -1, -1);
  Log("board reset " + std::to_string(link));
  return link == 1 ? 1 : -1;
}

int WINAPI ReadLink(int, void* buffer, int count) {
  // Nonsense in the count only: the bytes stored stay within what was asked.
  if (buffer && count > 0) std::memset(buffer, 'r', static_cast<std::size_t>(count));
  return Answer("read", count + 1000, 0);
}

int WINAPI WriteLink(int, const void*, int count) { return Answer("write", count + 1000, 0); }
int WINAPI AnalyseLink(int) { return Answer("analyse", 7, 0); }
int WINAPI TestError(int) { return Answer("test-error", 0, 0); }
int WINAPI TestRead(int) { return Answer("test-read", 1, 0); }
int WINAPI TestWrite(int) { return Answer("test-write", 7, 0); }

int WINAPI CloseLink(int link) {
  Log("board close " + std::to_string(link));
  return link == 1 ? 1 : -1;
}

}  // extern "C"
