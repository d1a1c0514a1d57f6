#include "framework/input_dialog.h"

#include <cstring>

#include "framework/dialog_template.h"

namespace {
TDialogTemplate InputTemplate(const char* title) {
  constexpr uint32_t style = DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  TDialogTemplate t(style, title ? title : "", 20, 20, 200, 66, {}, 8, "MS Sans Serif");
  t.AddItem(TDialogTemplate::Static, TInputDialog::PromptId, "", WS_CHILD | WS_VISIBLE | SS_LEFT, 6, 6, 188,
            10);
  t.AddItem(TDialogTemplate::Edit, TInputDialog::EditId, "",
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 20, 188, 12);
  t.AddItem(TDialogTemplate::Button, IDOK, "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 40,
            44, 50, 14);
  t.AddItem(TDialogTemplate::Button, IDCANCEL, "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
            110, 44, 50, 14);
  return t;
}
}  // namespace

TInputDialog::TInputDialog(TWindow* parent, const char* title, const char* prompt, char* buffer,
                           int bufferSize)
    : TDialog(parent, TResId()), Prompt(prompt ? prompt : ""), Buffer(buffer), BufferSize(bufferSize) {
  Title = title ? title : "";
}

INT_PTR TInputDialog::DoExecute() {
  return ExecuteIndirect(InputTemplate(Title.c_str()).Get());
}

HWND TInputDialog::DoCreate() {
  return CreateIndirect(InputTemplate(Title.c_str()).Get());
}

void TInputDialog::SetupWindow() {
  TDialog::SetupWindow();
  SetDlgItemTextA(HWindow, PromptId, Prompt.c_str());
  if (BufferSize > 1)
    SendDlgItemMessageA(HWindow, EditId, EM_LIMITTEXT, static_cast<WPARAM>(BufferSize - 1), 0);
  if (Buffer && BufferSize > 0) {
    // The caller's text need not be terminated within the buffer.
    std::string initial(Buffer, strnlen(Buffer, static_cast<size_t>(BufferSize)));
    SetDlgItemTextA(HWindow, EditId, initial.c_str());
  }
}

void TInputDialog::CmOk() {
  if (Buffer && BufferSize > 0) GetDlgItemTextA(HWindow, EditId, Buffer, BufferSize);
  TDialog::CmOk();
}
