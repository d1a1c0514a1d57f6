// Puts one dialog of tessel.exe, or its pictures, on the screen for a few
// seconds so that a screenshot can be taken:
//   resources_gallery DIALOG-NAME | pictures | tooltip   [seconds]
// Dialogs are filled with the default configuration's texts, as the server
// shows them; "tooltip" shows the pictures with the tip of the Run glyph.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>

#include "server/resources/resource_ids.h"
#include "server/toolbars/tip_window_win32.h"

namespace {

HINSTANCE Module() {
  return GetModuleHandleA(nullptr);
}

void FillLikeTheServer(HWND dialog, const char* name) {
  auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
  if (is("PROTOCOLS") || is("BOARDS"))
    SendDlgItemMessageA(dialog, IDC_LIBRARY_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(is("PROTOCOLS") ? "Inmos (iserver)" : "Inmos B004"));
  if (is("PROTOCOLS_PROPERTIES")) {
    SetDlgItemTextA(dialog, IDC_PROPERTY_DESCRIPTION, "Inmos (iserver)");
    SetDlgItemTextA(dialog, IDC_PROPERTY_LIBRARY_NAME, "iserver.dll");
    SetDlgItemTextA(dialog, IDC_PROPERTY_FILE_EXTENSION, "btl");
  }
  if (is("BOARDS_PROPERTIES")) {
    SetDlgItemTextA(dialog, IDC_PROPERTY_DESCRIPTION, "Inmos B004");
    SetDlgItemTextA(dialog, IDC_PROPERTY_LIBRARY_NAME, "link.dll");
    SetDlgItemTextA(dialog, IDC_PROPERTY_LINK_NAME, "0x150");
    SetDlgItemTextA(dialog, IDC_PROPERTY_LINK_TIMEOUT, "10000");
  }
  if (is("RUNTIME")) {
    for (auto [id, text] :
         {std::pair{IDC_RUNTIME_PROTOCOL, "Inmos (iserver)"}, {IDC_RUNTIME_BOARD, "Inmos B004"}}) {
      SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      SendDlgItemMessageA(dialog, id, CB_SETCURSEL, 0, 0);
    }
    SetDlgItemTextA(dialog, IDC_RUNTIME_PARAMETERS, "-sb demo.btl");
  }
}

tessel::toolbars::TipTiming* shownTip = nullptr;
HFONT tipFont = nullptr;

LRESULT CALLBACK TipWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && shownTip) {
    shownTip->OnTimer();
    return 0;
  }
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  char text[128] = {};
  const int length = GetWindowTextA(window, text, sizeof text);
  RECT client;
  GetClientRect(window, &client);
  tessel::toolbars::PaintTip(dc, client, std::string_view(text, length), tipFont);
  EndPaint(window, &paint);
  return 0;
}

INT_PTR CALLBACK GalleryDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

LRESULT CALLBACK PicturesWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HDC memory = CreateCompatibleDC(dc);
  auto draw = [&](const char* name, int x, int y, int scale) {
    HBITMAP bitmap = LoadBitmapA(Module(), name);
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    HGDIOBJ old = SelectObject(memory, bitmap);
    StretchBlt(dc, x, y, info.bmWidth * scale, info.bmHeight * scale, memory, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  };
  draw("TS8", 10, 10, 1);
  int x = 10;
  for (const char* glyph : {"RUN", "RESET", "TERMINATE", "SUSPEND", "CONTINUE", "SETUP", "QUIT", "ABOUT"}) {
    draw(glyph, x, 260, 1);
    draw(glyph, x, 290, 2);
    x += 48;
  }
  DrawIcon(dc, 10, 340, LoadIconA(Module(), "TESSEL"));
  DrawIcon(dc, 60, 340, LoadIconA(Module(), "IO"));
  DeleteDC(memory);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  const char* what = __argv[1];
  const UINT seconds = __argc > 2 ? static_cast<UINT>(std::atoi(__argv[2])) : 5;

  HWND shown;
  std::unique_ptr<tessel::toolbars::Win32TipWindow> tipPort;
  std::unique_ptr<tessel::toolbars::TipTiming> tip;
  const bool withTip = std::strcmp(what, "tooltip") == 0;
  if (withTip || std::strcmp(what, "pictures") == 0) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PicturesWindow;
    wc.hInstance = Module();
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "TesselPictures";
    RegisterClassA(&wc);
    shown = CreateWindowA("TesselPictures", "Pictures", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 440, 420,
                          nullptr, nullptr, Module(), nullptr);
    if (withTip) {
      wc.lpfnWndProc = TipWindow;
      wc.style = CS_SAVEBITS;
      wc.hbrBackground = nullptr;
      wc.lpszClassName = "Moss:Tooltip";
      RegisterClassA(&wc);
      LOGFONTA logFont = tessel::toolbars::TipLogFont();
      tipFont = CreateFontIndirectA(&logFont);
      HWND tipWindow = CreateWindowExA(WS_EX_TOPMOST, "Moss:Tooltip", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                       nullptr, Module(), nullptr);
      tipPort = std::make_unique<tessel::toolbars::Win32TipWindow>(tipWindow, tipFont);
      tip = std::make_unique<tessel::toolbars::TipTiming>(*tipPort, *tipPort);
      shownTip = tip.get();
      // Over the large Run glyph of the pictures window.
      SetCursorPos(20 + 10 + 20, 20 + 40 + 290 + 20);
      tip->SetTipText("Run");
    }
  } else {
    shown = CreateDialogParamA(Module(), what, nullptr, GalleryDialog, 0);
    if (shown) {
      FillLikeTheServer(shown, what);
      ShowWindow(shown, SW_SHOW);
    }
  }
  if (!shown) return 1;
  SetTimer(nullptr, 0, seconds * 1000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
    if (!IsDialogMessageA(shown, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return 0;
}
