// Modal dialogs from a resource with bound controls; modeless dialogs from a
// template in memory with a registered copy of the dialog class.
#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/dialog_template.h"
#include "framework/edit.h"
#include "framework/file_dialog.h"
#include "framework/input_dialog.h"
#include "framework/list_box.h"
#include "framework/tests/test_support.h"

namespace {

// The "PICK" dialog of the test resources; Close posts the given command
// once the dialog is set up.
class TPICKDlg : public TDialog {
 public:
  TPICKDlg(TWindow* parent, UINT closeWith) : TDialog(parent, "PICK"), CloseWith(closeWith) {}
  TListBox* Names = &InsertChild(std::make_unique<TListBox>(this, 10));
  TComboBox* Kind = &InsertChild(std::make_unique<TComboBox>(this, 11));
  TEdit* Note = &InsertChild(std::make_unique<TEdit>(this, 12, 20));
  TCheckBox* Check = &InsertChild(std::make_unique<TCheckBox>(this, 13));
  UINT CloseWith;
  bool BoundAtSetup = false;
  char Chosen[32] = "";
  HWND NamesHandle = nullptr;

  void SetupWindow() override {
    TDialog::SetupWindow();
    BoundAtSetup = Names->HWindow == GetDlgItem(HWindow, 10) && GetWindowPtr(Names->HWindow) == Names &&
                   Kind->HWindow && Note->HWindow && Check->HWindow;
    NamesHandle = Names->HWindow;
    Names->AddString("Inmos (iserver)");
    Names->SetSelIndex(0);
    Kind->AddString("Inmos B004");
    Kind->SetText("inmos");
    Check->Check();
    if (CloseWith == WM_CLOSE)
      PostMessage(WM_CLOSE);
    else
      PostMessage(WM_COMMAND, MAKEWPARAM(CloseWith, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(HWindow, CloseWith)));
  }
  void CmOk() override {
    Names->GetSelString(Chosen, sizeof Chosen);
    TDialog::CmOk();
  }
};

TEST(ModalDialog, OkEndsWithIdOkAfterTheBoundControlsWereSetUp) {
  TTopWindow owner;
  ASSERT_TRUE(owner.Create());
  TPICKDlg dlg(&owner, IDOK);
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_TRUE(dlg.BoundAtSetup);
  EXPECT_STREQ(dlg.Chosen, "Inmos (iserver)");
  EXPECT_EQ(dlg.HWindow, nullptr);
  EXPECT_EQ(dlg.Names->HWindow, nullptr);
  EXPECT_EQ(TWindow::GetWindowPtr(dlg.NamesHandle), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner.HWindow));
}

TEST(ModalDialog, CancelAndCloseEndWithIdCancel) {
  TTopWindow owner;
  ASSERT_TRUE(owner.Create());
  for (UINT how : {UINT{IDCANCEL}, UINT{WM_CLOSE}}) {
    TPICKDlg dlg(&owner, how);
    EXPECT_EQ(dlg.Execute(), IDCANCEL) << how;
    EXPECT_STREQ(dlg.Chosen, "");
  }
}

// A dialog whose template, built here, names a class registered for it.
class TMemoryDialog : public TDialog {
 public:
  explicit TMemoryDialog(TWindow* parent) : TDialog(parent, TResId()) {}
  const char* GetClassName() override { return "FwTestDialog"; }
  bool SetUp = false;
  int Oks = 0;
  void SetupWindow() override {
    TDialog::SetupWindow();
    SetUp = true;
  }
  void CmOk() override {
    ++Oks;
    TDialog::CmOk();
  }

 protected:
  HWND DoCreate() override {
    TDialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, "Memory", 10, 10, 120, 60, "FwTestDialog", 8,
                      "MS Sans Serif");
    t.AddItem(TDialogTemplate::Button, IDOK, "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 30, 40, 14);
    return CreateIndirect(t.Get());
  }
};

TEST(ModelessDialog, FromATemplateInMemoryWithARegisteredCopyOfTheDialogClass) {
  TTopWindow owner;
  ASSERT_TRUE(owner.Create());
  TMemoryDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create());
  EXPECT_EQ(ClassNameOf(dlg.HWindow), "FwTestDialog");
  EXPECT_TRUE(dlg.SetUp);
  EXPECT_EQ(TWindow::GetWindowPtr(dlg.HWindow), &dlg);
  EXPECT_FALSE(dlg.IsModal());
  // The copy behaves as the platform's dialog class: it has its items.
  HWND ok = GetDlgItem(dlg.HWindow, IDOK);
  ASSERT_TRUE(ok);
  SendMessageA(ok, BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(dlg.Oks, 1);
  EXPECT_EQ(dlg.HWindow, nullptr);  // OK destroyed the modeless dialog
}

TEST(InputDialog, OkWritesTheEditedTextBackWithinTheBuffer) {
  TTopWindow owner;
  ASSERT_TRUE(owner.Create());
  char buffer[6] = "abc";
  class TTyping : public TInputDialog {
   public:
    using TInputDialog::TInputDialog;
    void SetupWindow() override {
      TInputDialog::SetupWindow();
      char initial[16] = "";
      GetDlgItemTextA(HWindow, EditId, initial, sizeof initial);
      Initial = initial;
      // More than fits: the buffer holds five characters and a NUL.
      SetDlgItemTextA(HWindow, EditId, "0123456789");
      PostMessage(WM_COMMAND, IDOK);
    }
    std::string Initial;
  } dlg(&owner, "Title", "Prompt", buffer, sizeof buffer);
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(dlg.Initial, "abc");
  EXPECT_STREQ(buffer, "01234");
}

}  // namespace

namespace {

// Presses a button of the file dialog once it is up, from a timer of this thread.
UINT PressInFileDialog = IDCANCEL;

BOOL CALLBACK FindShownDialog(HWND h, LPARAM found) {
  if (ClassNameOf(h) != "#32770" || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(found) = h;
  return FALSE;
}

void CALLBACK PressButton(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  PostMessageA(dialog, WM_COMMAND, PressInFileDialog,
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, PressInFileDialog)));
}

TEST(FileDialogs, CancelKeepsTheDataAndOkReturnsTheChosenPath) {
  TTopWindow owner;
  ASSERT_TRUE(owner.Create());
  TOpenSaveDialog::TData data(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, "User Files(*.exe)|*.exe|");
  EXPECT_EQ(data.Filter, std::string("User Files(*.exe)\0*.exe\0", 24));
  strcpy(data.FileName, "framework_test.exe");  // in the working directory

  PressInFileDialog = IDCANCEL;
  UINT_PTR timer = SetTimer(nullptr, 0, 200, &PressButton);
  EXPECT_EQ(TFileOpenDialog(&owner, data).Execute(), IDCANCEL);
  KillTimer(nullptr, timer);
  EXPECT_STREQ(data.FileName, "framework_test.exe");

  PressInFileDialog = IDOK;
  timer = SetTimer(nullptr, 0, 200, &PressButton);
  EXPECT_EQ(TFileOpenDialog(&owner, data).Execute(), IDOK);
  KillTimer(nullptr, timer);
  const std::string chosen = data.FileName;
  EXPECT_GT(chosen.size(), strlen("framework_test.exe"));  // now a full path
  EXPECT_EQ(chosen.substr(chosen.size() - 18), "framework_test.exe");
  EXPECT_STREQ(data.FileTitle, "framework_test.exe");
}

}  // namespace
