// TListBox: a list box control (LISTBOX) with its string and selection
// operations. The default style is the standard one: notify, sort, vertical
// scroll bar, border.
#pragma once
#include "framework/control.h"

class TListBox : public TControl {
 public:
  TListBox(TWindow* parent, int id, int x, int y, int w, int h);
  TListBox(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

  const char* GetClassName() override { return "LISTBOX"; }

  int AddString(const char* s) { return Msg(LB_ADDSTRING, 0, s); }
  int InsertString(const char* s, int index) { return Msg(LB_INSERTSTRING, index, s); }
  int DeleteString(int index) { return Msg(LB_DELETESTRING, index); }
  void ClearList() { Msg(LB_RESETCONTENT); }
  int GetCount() { return Msg(LB_GETCOUNT); }
  // The buffer must hold GetStringLen(index) + 1 characters.
  int GetString(char* buffer, int index) { return Msg(LB_GETTEXT, index, buffer); }
  int GetStringLen(int index) { return Msg(LB_GETTEXTLEN, index); }
  // -1 for a multiple-selection list or when nothing is selected.
  int GetSelIndex();
  // The selected string, at most maxChars - 1 characters and a NUL; its
  // length, or -1 when nothing is selected.
  int GetSelString(char* buffer, int maxChars);
  int SetSelIndex(int index);
  int SetSelString(const char* s, int startIndex);
  bool IsMultipleSel() const {
    return GetWindowLongPtrA(HWindow, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  }

 private:
  int Msg(UINT msg, WPARAM wp = 0, const void* lp = nullptr) {
    return static_cast<int>(SendMessage(msg, wp, reinterpret_cast<LPARAM>(lp)));
  }
};
