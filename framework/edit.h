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

 private:
  UINT TextLimit;
};
