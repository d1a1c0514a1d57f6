// TListHandle: the string and selection operations that list boxes and combo
// boxes share, on a control's handle. One message map serves TListBox,
// TComboBox and callers that hold only a handle (the items of a dialog made
// from a template). A list box that allows several selections, with
// LBS_MULTIPLESEL or LBS_EXTENDEDSEL, has no single selection: there
// LB_GETCURSEL answers the caret item, selected or not, and LB_SETCURSEL
// fails, so the selection calls answer -1 without asking the control.
#pragma once
#include <windows.h>

class TListHandle {
 public:
  enum TKind { ListBox, ComboBox };

  TListHandle(HWND handle, TKind kind) : Handle(handle), Kind(kind) {}

  int AddString(const char* s) const;
  int InsertString(const char* s, int index) const;
  int DeleteString(int index) const;
  void ClearList() const;
  int GetCount() const;
  // The buffer must hold GetStringLen(index) + 1 characters.
  int GetString(char* buffer, int index) const;
  int GetStringLen(int index) const;
  // -1 for a list with several selections or when nothing is selected.
  int GetSelIndex() const;
  // The selected string, at most maxChars - 1 characters and a NUL; its
  // length, or -1 when nothing is selected.
  int GetSelString(char* buffer, int maxChars) const;
  int SetSelIndex(int index) const;
  // The first item from startIndex on that begins with s, ignoring case.
  int SetSelString(const char* s, int startIndex) const;
  bool IsMultipleSel() const;

 private:
  int Send(UINT listMsg, UINT comboMsg, WPARAM wp = 0, const void* lp = nullptr) const;
  HWND Handle;
  TKind Kind;
};
