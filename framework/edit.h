// TEdit: an edit control (EDIT): automatic horizontal scroll and a border by
// default; multiline adds automatic vertical scroll and both scroll bars. The
// text limit counts the terminating NUL.
#pragma once
#include "framework/control.h"

class TEdit : public TControl {
 public:
  TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit = 0,
        bool multiline = false);
  TEdit(TWindow* parent, int resourceId, UINT textLimit = 0)
      : TControl(parent, resourceId), TextLimit(textLimit) {}

  const char* GetClassName() override { return "EDIT"; }
  void SetupWindow() override;
  void LimitText(UINT chars) { SendMessage(EM_LIMITTEXT, chars); }
  void SetSelection(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
  UINT GetTextLimit() const { return TextLimit; }

 private:
  UINT TextLimit;
};
