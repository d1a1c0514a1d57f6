// TListBox: a list box control (LISTBOX) with its string and selection
// operations. The default style is the standard one: notify, sort, vertical
// scroll bar, border.
#pragma once
#include "framework/list_control.h"

class TListBox : public TListControl {
 public:
  TListBox(TWindow* parent, int id, int x, int y, int w, int h);
  TListBox(TWindow* parent, int resourceId) : TListControl(parent, resourceId, TListHandle::ListBox) {}

  const char* GetClassName() override { return "LISTBOX"; }
};
