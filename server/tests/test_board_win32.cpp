// A board library for the end-to-end test, installed as link.dll beside a copy
// of tessel.exe: it logs every call into the stand-in protocol library's log
// (ISERVER_STUB_LOG), so the order of protocol and board calls shows in one
// file. The file named by TEST_BOARD_CONTROL steers OpenLink: "fail" fails
// every call, "fail-after-first" only those after the first (a board that
// answered the start-up probe and is gone by the time of a run), anything
// else (or no file) opens.
#include <windows.h>

#include <cstdio>
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

bool Failing() {
  static int opens = 0;
  const bool first = opens++ == 0;
  const std::string path = Variable("TEST_BOARD_CONTROL");
  char text[32] = "";
  if (FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb")) {
    text[std::fread(text, 1, sizeof text - 1, file)] = '\0';
    std::fclose(file);
  }
  const std::string control = text;
  if (control.rfind("fail-after-first", 0) == 0) return !first;
  return control.rfind("fail", 0) == 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI OpenLink(const char* name, unsigned timeout) {
  const int result = Failing() ? -1 : 1;
  Log("board open " + std::string(name ? name : "(null)") + " " + std::to_string(timeout) + " " +
      std::to_string(result));
  return result;
}

__declspec(dllexport) int WINAPI ResetLink(int link) {
  Log("board reset " + std::to_string(link));
  return link == 1 ? 1 : -1;
}

__declspec(dllexport) int WINAPI CloseLink(int link) {
  Log("board close " + std::to_string(link));
  return link == 1 ? 1 : -1;
}

}  // extern "C"
