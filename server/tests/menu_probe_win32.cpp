// A hook DLL that the end-to-end test installs on tessel.exe's GUI thread
// (SetWindowsHookExA with WH_GETMESSAGE): menus of another process cannot be
// read from outside under Wine, so the state of the main menu is read here,
// inside the program, after the program's own enablers have run.
//
// On the registered message "TesselMenuProbe" posted to the main window it
// writes a line per popup, "popup <left|right> <title>", and one per command
// item, "<id> <on|off> <text>", to
// %TEMP%\tessel_menu_probe_<process id>.txt (complete when it appears).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ReportPath(const char* suffix) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + "tessel_menu_probe_" + std::to_string(GetCurrentProcessId()) + suffix;
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
  const std::string partial = ReportPath(".part"), done = ReportPath(".txt");
  if (FILE* file = std::fopen(partial.c_str(), "wb")) {
    std::fwrite(lines.data(), 1, lines.size(), file);
    std::fclose(file);
    MoveFileExA(partial.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM removed, LPARAM data) {
  static const UINT request = RegisterWindowMessageA("TesselMenuProbe");
  auto* msg = reinterpret_cast<MSG*>(data);
  if (code == HC_ACTION && removed == PM_REMOVE && msg->message == request && msg->hwnd) {
    Report(msg->hwnd);
    msg->message = WM_NULL;  // the program never sees the request
  }
  return CallNextHookEx(nullptr, code, removed, data);
}
