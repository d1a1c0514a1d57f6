#include "server/shell/prompts.h"

#include <commdlg.h>

namespace server {

UINT MessageBoxStyle(Buttons buttons, Icon icon) {
  UINT style = MB_OK;
  switch (buttons) {
    case Buttons::kOk:
      style = MB_OK;
      break;
    case Buttons::kOkCancel:
      style = MB_OKCANCEL;
      break;
    case Buttons::kYesNo:
      style = MB_YESNO;
      break;
  }
  switch (icon) {
    case Icon::kExclamation:
      style |= MB_ICONEXCLAMATION;
      break;
    case Icon::kQuestion:
      style |= MB_ICONQUESTION;
      break;
    case Icon::kInformation:
      style |= MB_ICONINFORMATION;
      break;
    case Icon::kStop:
      style |= MB_ICONSTOP;
      break;
  }
  return style;
}

Answer AnswerFromId(int id) {
  switch (id) {
    case IDOK:
      return Answer::kOk;
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return Answer::kCancel;  // IDCANCEL, or 0 when the box failed
  }
}

HWND Win32Dialogs::OwnerWindow(Owner owner) const {
  switch (owner) {
    case Owner::kFocusWindow:
      return GetFocus();
    case Owner::kDialog:
      return dialog_ ? dialog_ : main_window_;
    case Owner::kMainWindow:
      break;
  }
  return main_window_;
}

Answer Win32Dialogs::ShowMessage(Owner owner, const char* text, const char* caption, Buttons buttons,
                                 Icon icon) {
  return AnswerFromId(MessageBoxA(OwnerWindow(owner), text, caption, MessageBoxStyle(buttons, icon)));
}

bool Win32Dialogs::OpenFileDialog(const DialogBuffer& filter, DialogBuffer& path) {
  DialogBuffer title{};
  path[0] = '\0';
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetFocus();
  dialog.lpstrFilter = filter.data();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrFileTitle = title.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(title.size());
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  return GetOpenFileNameA(&dialog) != FALSE;
}

}  // namespace server
