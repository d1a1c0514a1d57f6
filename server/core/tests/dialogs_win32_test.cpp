// Run control's boxes as the user sees them: caption, text, buttons, and the
// answer that comes back when a button is pressed.
#include "server/core/dialogs_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace server {
namespace {

// What the timer found in the box, and which button it pressed.
struct BoxVisit {
  const char* caption = nullptr;
  int press = IDOK;
  std::string text;
  bool had_yes = false;
  bool had_ok = false;
  bool had_cancel = false;
  bool found = false;
};
BoxVisit* g_visit = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", g_visit->caption);
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  g_visit->text = text;
  g_visit->had_yes = GetDlgItem(box, IDYES) != nullptr;
  g_visit->had_ok = GetDlgItem(box, IDOK) != nullptr;
  g_visit->had_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
  g_visit->found = true;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(g_visit->press, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, g_visit->press)));
}

Answer ShowAndPress(Win32Dialogs& dialogs, BoxVisit& visit, const char* text, Buttons buttons, Icon icon) {
  g_visit = &visit;
  SetTimer(nullptr, 0, 100, AnswerBox);
  const Answer answer = dialogs.ShowMessage(Owner::kMainWindow, text, visit.caption, buttons, icon);
  g_visit = nullptr;
  return answer;
}

TEST(DialogsWin32Test, YesNoBoxShowsItsTextAndReturnsThePressedButton) {
  Win32Dialogs dialogs{nullptr};
  for (int press : {IDYES, IDNO}) {
    BoxVisit visit;
    visit.caption = "Warning";
    visit.press = press;
    const Answer answer =
        ShowAndPress(dialogs, visit, "Terminate active task?", Buttons::kYesNo, Icon::kQuestion);
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.text, "Terminate active task?");
    EXPECT_TRUE(visit.had_yes);
    EXPECT_FALSE(visit.had_ok);
    EXPECT_EQ(answer, press == IDYES ? Answer::kYes : Answer::kNo);
  }
}

TEST(DialogsWin32Test, OkCancelAndOkBoxes) {
  Win32Dialogs dialogs{nullptr};
  BoxVisit leave;
  leave.caption = "Exit";
  leave.press = IDCANCEL;
  EXPECT_EQ(ShowAndPress(dialogs, leave, "Are you sure you want to leave Tessera?", Buttons::kOkCancel,
                         Icon::kQuestion),
            Answer::kCancel);
  EXPECT_TRUE(leave.had_ok && leave.had_cancel);

  BoxVisit error;
  error.caption = "Error";
  EXPECT_EQ(ShowAndPress(dialogs, error, "Can not open the link.", Buttons::kOk, Icon::kExclamation),
            Answer::kOk);
  EXPECT_EQ(error.text, "Can not open the link.");
  EXPECT_FALSE(error.had_yes);
}

}  // namespace
}  // namespace server
