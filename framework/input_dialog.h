// TInputDialog: a modal dialog that asks for one line of text: the title as
// caption, the prompt above an edit field, OK and Cancel. The edit starts with
// the buffer's text; OK writes back at most bufferSize - 1 characters and a
// NUL. Its template is built in memory (no dialog resource is needed).
#pragma once
#include "framework/dialog.h"

class TInputDialog : public TDialog {
 public:
  TInputDialog(TWindow* parent, const char* title, const char* prompt, char* buffer, int bufferSize);

  void SetupWindow() override;
  void CmOk() override;

  static constexpr int PromptId = 101;
  static constexpr int EditId = 102;

 protected:
  INT_PTR DoExecute() override;
  HWND DoCreate() override;

 private:
  std::string Prompt;
  char* Buffer;
  int BufferSize;
};
