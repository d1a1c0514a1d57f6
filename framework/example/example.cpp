// A small program on the class library: a decorated MDI frame with a tool
// bar of bitmap buttons and a status bar, a scrolling MDI child, and a
// dialog with bound controls. Started with "/dialog" it opens the dialog
// modeless at once and rests the mouse on the Run button (for screenshots).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/application.h"
#include "framework/button_gadget.h"
#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/control_bar.h"
#include "framework/dialog.h"
#include "framework/gadget_window_font.h"
#include "framework/list_box.h"
#include "framework/mdi_child.h"
#include "framework/mdi_frame.h"
#include "framework/scroller.h"
#include "framework/separator_gadget.h"
#include "framework/status_bar.h"
#include "framework/text_gadget.h"

namespace {

constexpr int CM_RUN = 101, CM_STOP = 102, CM_NEWNOTE = 103, CM_EXIT = 199, CM_OPTIONS = 402;
// The status bar's clock shows seconds.
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockTickMs = 1000;

// Forty numbered lines, scrolled in character cells.
class TNoteWindow : public TMDIChild {
 public:
  TNoteWindow(TMDIClient& client, const char* title) : TMDIChild(client, title) {
    Attr.Style |= WS_VSCROLL | WS_HSCROLL;
    SetScroller(std::make_unique<TScroller>(this, 8, 16, 20, 30));
  }
  void Paint(HDC dc, bool, RECT&) override {
    SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    for (int line = 0; line < 40; ++line) {
      char text[64];
      const int n = snprintf(text, sizeof text, "%2d  The quick brown fox jumps over the lazy dog", line + 1);
      TextOutA(dc, 4, line * 16, text, n);
    }
  }
};

class TOPTIONSDlg : public TDialog {
 public:
  explicit TOPTIONSDlg(TWindow* parent) : TDialog(parent, "OPTIONS") {}
  void SetupWindow() override {
    TDialog::SetupWindow();
    for (const char* board : {"Inmos B004", "Inmos B008", "Transtech TMB08"}) Boards.AddString(board);
    Boards.SetSelIndex(0);
    for (const char* speed : {"10 Mbit/s", "20 Mbit/s"}) Speed.AddString(speed);
    Speed.SetText("20");
    Reset.Check();
  }

 private:
  // Members, bound to the template's items by id when the dialog is set up.
  TListBox Boards{this, 10};
  TComboBox Speed{this, 11};
  TCheckBox Reset{this, 12};
};

// Hints are "status text\ntool tip"; this bar shows the status part.
class TExampleStatusBar : public TStatusBar {
 public:
  explicit TExampleStatusBar(TWindow* parent)
      : TStatusBar(parent, TGadget::Recessed, 0, std::make_unique<TGadgetWindowFont>(8)) {}
  void SetHintText(const char* text) override {
    if (!text) return TStatusBar::SetHintText(nullptr);
    std::string hint = text;
    TStatusBar::SetHintText(hint.substr(0, hint.find('\n')).c_str());
  }
};

// The frame builds its own client, menu, tool bar and status bar.
class TExampleFrame : public TDecoratedMDIFrame {
 public:
  explicit TExampleFrame(bool dialogAtStart)
      : TDecoratedMDIFrame("Framework example", "EXAMPLE", std::make_unique<TMDIClient>(), true),
        DialogAtStart(dialogAtStart) {
    GetClientWindow()->SetBkgndColor(RGB(0, 128, 128));
    SetMenuDescr(TMenuDescr("EXAMPLE", 1, 0, 0, 0, 1, 1));

    ToolBar = &Insert(std::make_unique<TControlBar>(this), Top);
    ToolBar->Insert(std::make_unique<TButtonGadget>("RUN", CM_RUN));
    ToolBar->Insert(std::make_unique<TButtonGadget>("STOP", CM_STOP));
    ToolBar->Insert(std::make_unique<TSeparatorGadget>(12));
    ToolBar->Insert(std::make_unique<TButtonGadget>("TILE", CM_TILECHILDREN, TButtonGadget::Command, true));
    ToolBar->Insert(std::make_unique<TSeparatorGadget>(12));
    ToolBar->Insert(std::make_unique<TButtonGadget>("ABOUT", CM_OPTIONS, TButtonGadget::Command, true));
    ToolBar->SetHintMode(TGadgetWindow::EnterHints);

    Status = &Insert(std::make_unique<TExampleStatusBar>(this), Bottom);
    Status->SetText("Stopped");
    Status->Insert(std::make_unique<TSeparatorGadget>(12));
    Status->Insert(
        std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Center, 10, "Free: 640K"));
    Status->Insert(std::make_unique<TSeparatorGadget>(12));
    Clock = &Status->Insert(std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Center, 10));

    Attr.X = Attr.Y = 20;
    Attr.W = 640;
    Attr.H = 440;
  }

  void SetupWindow() override {
    TDecoratedMDIFrame::SetupWindow();
    SetTimer(kClockTimer, kClockTickMs);
    Tick();
    NewNote("Notes", WS_MAXIMIZE);
    if (DialogAtStart) {
      auto& options = InsertChild(std::make_unique<TOPTIONSDlg>(this));
      if (options.Create()) options.ShowWindow(SW_SHOWNA);
      PostMessage(WM_USER);  // once the frame is shown
    }
  }

  void CmRun() { SetRunning(true); }
  void CmStop() { SetRunning(false); }
  void CmNewNote() { NewNote("Another note"); }
  void CmExit() { PostMessage(WM_CLOSE); }
  void CmOptions() { TOPTIONSDlg(this).Execute(); }
  void CeRun(TCommandEnabler& ce) { ce.Enable(!Running); }
  void CeStop(TCommandEnabler& ce) { ce.Enable(Running); }
  void EvTimer(UINT_PTR) { Tick(); }
  LRESULT EvPointAtRun(const TMessage&) {
    const RECT& button = ToolBar->FirstGadget()->GetBounds();
    POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(ToolBar->HWindow, &at);
    SetCursorPos(at.x, at.y);
    return 0;
  }

  DECLARE_RESPONSE_TABLE(TExampleFrame);

 private:
  void NewNote(const char* title, DWORD extraStyle = 0) {
    TMDIClient& client = *GetClientWindow();
    auto& note = client.InsertChild(std::make_unique<TNoteWindow>(client, title));
    note.Attr.Style |= extraStyle;
    note.Create();
  }
  void SetRunning(bool running) {
    Running = running;
    Status->SetText(running ? "Running" : "Stopped");
  }
  void Tick() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    Clock->SetText(text);
  }
  TControlBar* ToolBar = nullptr;
  TStatusBar* Status = nullptr;
  TTextGadget* Clock = nullptr;
  bool Running = false;
  bool DialogAtStart;
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TExampleFrame, TDecoratedMDIFrame)
  EV_COMMAND(CM_RUN, CmRun),
  EV_COMMAND(CM_STOP, CmStop),
  EV_COMMAND(CM_NEWNOTE, CmNewNote),
  EV_COMMAND(CM_EXIT, CmExit),
  EV_COMMAND(CM_OPTIONS, CmOptions),
  EV_COMMAND_ENABLE(CM_RUN, CeRun),
  EV_COMMAND_ENABLE(CM_STOP, CeStop),
  EV_WM_TIMER(EvTimer),
  EV_MESSAGE(WM_USER, EvPointAtRun),
END_RESPONSE_TABLE;
// clang-format on

class TExampleApp : public TApplication {
 public:
  explicit TExampleApp(bool dialogAtStart) : TApplication("EXAMPLE"), DialogAtStart(dialogAtStart) {}

  void InitMainWindow() override { SetMainWindow(std::make_unique<TExampleFrame>(DialogAtStart)); }

 private:
  bool DialogAtStart;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int cmdShow) {
  TExampleApp app(cmdLine && strstr(cmdLine, "/dialog"));
  return app.Run(cmdShow);
}
