// The message boxes and the file-open dialog of run control and binding, for
// the main window's UserInterface to hand on to.
#pragma once

#include <windows.h>

#include "server/core/user_interface.h"

namespace server {

// MB_ flags for a box's buttons and icon.
UINT MessageBoxStyle(Buttons buttons, Icon icon);
Answer AnswerFromId(int id);

class Win32Dialogs {
 public:
  explicit Win32Dialogs(HWND main_window) : main_window_(main_window) {}

  // The dialog that owns boxes raised on its behalf (the Run-time dialog).
  void set_dialog(HWND dialog) { dialog_ = dialog; }

  Answer ShowMessage(Owner owner, const char* text, const char* caption, Buttons buttons, Icon icon);
  // Owned by the focus window; the file must exist; the read-only box is hidden.
  bool OpenFileDialog(const DialogBuffer& filter, DialogBuffer& path);

 private:
  HWND OwnerWindow(Owner owner) const;

  HWND main_window_;
  HWND dialog_ = nullptr;
};

}  // namespace server
