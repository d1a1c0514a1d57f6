// TComboBox: a combo box control (COMBOBOX) with the list operations, the
// drop-down operations and "setting to a text" (SetText).
#pragma once
#include "framework/control.h"

class TComboBox : public TControl {
 public:
  TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style, UINT textLimit);
  TComboBox(TWindow* parent, int resourceId, UINT textLimit = 0);

  const char* GetClassName() override { return "COMBOBOX"; }
  void SetupWindow() override;

  int AddString(const char* s) { return Msg(CB_ADDSTRING, 0, s); }
  int InsertString(const char* s, int index) { return Msg(CB_INSERTSTRING, index, s); }
  int DeleteString(int index) { return Msg(CB_DELETESTRING, index); }
  void ClearList() { Msg(CB_RESETCONTENT); }
  int GetCount() { return Msg(CB_GETCOUNT); }
  int GetString(char* buffer, int index) { return Msg(CB_GETLBTEXT, index, buffer); }
  int GetStringLen(int index) { return Msg(CB_GETLBTEXTLEN, index); }
  int GetSelIndex() { return Msg(CB_GETCURSEL); }
  int GetSelString(char* buffer, int maxChars);
  int SetSelIndex(int index) { return Msg(CB_SETCURSEL, index); }
  int SetSelString(const char* s, int startIndex) { return Msg(CB_SELECTSTRING, startIndex, s); }
  void ShowList(bool show = true) { Msg(CB_SHOWDROPDOWN, show); }
  void HideList() { ShowList(false); }
  // Selects the first item that begins with the text, ignoring case; when
  // none does, writes the text into the box and selects all of it.
  void SetText(const char* text);

 private:
  int Msg(UINT msg, WPARAM wp = 0, const void* lp = nullptr) {
    return static_cast<int>(SendMessage(msg, wp, reinterpret_cast<LPARAM>(lp)));
  }
  UINT TextLimit;
};
