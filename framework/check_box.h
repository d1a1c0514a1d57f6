// TCheckBox: an automatic check box (BUTTON) with its check state, optionally
// in a group box.
#pragma once
#include "framework/control.h"

class TGroupBox;

class TCheckBox : public TControl {
 public:
  TCheckBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h, TGroupBox* group = nullptr)
      : TControl(parent, id, text, x, y, w, h), Group(group) {
    Attr.Style |= BS_AUTOCHECKBOX;
  }
  TCheckBox(TWindow* parent, int resourceId, TGroupBox* group = nullptr)
      : TControl(parent, resourceId), Group(group) {}

  const char* GetClassName() override { return "BUTTON"; }
  UINT GetCheck() { return static_cast<UINT>(SendMessage(BM_GETCHECK)); }
  void SetCheck(UINT state) { SendMessage(BM_SETCHECK, state); }
  void Check() { SetCheck(BST_CHECKED); }
  TGroupBox* GetGroup() const { return Group; }

 private:
  TGroupBox* Group;
};
