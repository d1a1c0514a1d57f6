// A hook DLL that the end-to-end test installs on tessel.exe's GUI thread
// (SetWindowsHookExA with WH_GETMESSAGE): menus of another process cannot be
// read from outside under Wine, so the state of the main menu is read here,
// inside the program, after the program's own enablers have run.
//
// On the registered message "TesselMenuProbe" posted to the main window it
// writes a line per popup, "popup <left|right> <title>", and one per command
// item, "<id> <on|off> <text>", to
// %TEMP%\tessel_menu_probe_<process id>.txt (complete when it appears).
//
// On "TesselScreenProbe" it repaints the I/O Window
// and writes the text rows that the repaint drew (tessel.exe's TextOutA calls,
// caught in its import table), one line each without trailing blanks, to
// %TEMP%\tessel_menu_probe_<process id>.screen.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::string ReportPath(const char* suffix) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + "tessel_menu_probe_" + std::to_string(GetCurrentProcessId()) + suffix;
}

void WriteReport(const std::string& text, const char* suffix) {
  const std::string partial = ReportPath(".part"), done = ReportPath(suffix);
  if (FILE* file = std::fopen(partial.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    MoveFileExA(partial.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

using TextOutFn = BOOL(WINAPI*)(HDC, int, int, LPCSTR, int);
TextOutFn g_text_out = nullptr;
std::map<int, std::string>* g_rows = nullptr;  // while a repaint is recorded: row y -> text

BOOL WINAPI RecordTextOut(HDC dc, int x, int y, LPCSTR text, int count) {
  if (g_rows != nullptr && x == 0 && count >= 0) (*g_rows)[y] = std::string(text, static_cast<std::size_t>(count));
  return g_text_out(dc, x, y, text, count);
}

// Points the program's import of TextOutA at RecordTextOut, once. The import
// is found by name: the loader's resolved address need not be the one
// GetProcAddress gives.
bool CatchTextOut() {
  static bool caught = false;
  if (caught) return true;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
    if (entry->OriginalFirstThunk == 0) continue;
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; name->u1.AddressOfData; ++name, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
      const auto* import = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (std::string(reinterpret_cast<const char*>(import->Name)) != "TextOutA") continue;
      g_text_out = reinterpret_cast<TextOutFn>(slot->u1.Function);
      DWORD protection = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordTextOut);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      caught = true;
      return true;
    }
  }
  return false;
}

BOOL CALLBACK FindConsole(HWND window, LPARAM found) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "TStdioWindow") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void ReportScreen(HWND frame) {
  std::string lines;
  if (CatchTextOut()) {
    std::map<int, std::string> rows;
    g_rows = &rows;
    HWND console = nullptr;
    EnumChildWindows(frame, FindConsole, reinterpret_cast<LPARAM>(&console));
    // Sent, not invalidated: a window laid out with no room (the frame
    // started minimized) has nothing to invalidate, yet paints every row.
    if (console) SendMessageA(console, WM_PAINT, 0, 0);
    g_rows = nullptr;
    for (auto& [y, text] : rows) {
      text.erase(text.find_last_not_of(' ') + 1);
      lines += text + "\n";
    }
  } else {
    lines = "no TextOutA import\n";
  }
  WriteReport(lines, ".screen");
}

void Report(HWND frame) {
  HMENU bar = GetMenu(frame);
  std::string lines;
  const int popups = bar ? GetMenuItemCount(bar) : 0;
  for (int pos = 0; pos < popups; ++pos) {
    HMENU popup = GetSubMenu(bar, pos);
    char title[128] = "";
    GetMenuStringA(bar, static_cast<UINT>(pos), title, sizeof title, MF_BYPOSITION);
    // A maximized MDI child puts its system menu, a picture without text, first.
    if (!popup || title[0] == '\0') continue;
    // GetMenuState gives a popup's item count in the high byte, hiding the flag.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(bar, static_cast<UINT>(pos), TRUE, &info);
    const bool right = (info.fType & MFT_RIGHTJUSTIFY) != 0;
    lines += std::string("popup ") + (right ? "right " : "left ") + title + "\n";
    // What the program does as the user opens the popup: its enablers run.
    SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(pos, FALSE));
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
      const UINT id = GetMenuItemID(popup, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
      char text[128] = "";
      GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      lines += std::to_string(id) + ((state & (MF_GRAYED | MF_DISABLED)) ? " off " : " on ") + text + "\n";
    }
  }
  WriteReport(lines, ".txt");
}

}  // namespace

extern "C" LRESULT CALLBACK MenuProbeHook(int code, WPARAM removed, LPARAM data) {
  static const UINT request = RegisterWindowMessageA("TesselMenuProbe");
  static const UINT screen = RegisterWindowMessageA("TesselScreenProbe");
  auto* msg = reinterpret_cast<MSG*>(data);
  if (code == HC_ACTION && removed == PM_REMOVE && (msg->message == request || msg->message == screen) &&
      msg->hwnd) {
    if (msg->message == request) {
      Report(msg->hwnd);
    } else {
      ReportScreen(msg->hwnd);
    }
    msg->message = WM_NULL;  // the program never sees the request
  }
  return CallNextHookEx(nullptr, code, removed, data);
}
