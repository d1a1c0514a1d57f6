// TComboBox: a combo box control (COMBOBOX) with the list operations, the
// drop-down operations and "setting to a text" (SetText).
#pragma once
#include "framework/list_control.h"

class TComboBox : public TListControl {
 public:
  TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style, UINT textLimit);
  TComboBox(TWindow* parent, int resourceId, UINT textLimit = 0);

  const char* GetClassName() override { return "COMBOBOX"; }
  void SetupWindow() override;

  void ShowList(bool show = true) { SendMessage(CB_SHOWDROPDOWN, show); }
  void HideList() { ShowList(false); }
  // Selects the first item that begins with the text, ignoring case; when
  // none does, writes the text into the box and selects all of it.
  void SetText(const char* text);

 private:
  UINT TextLimit;
};
