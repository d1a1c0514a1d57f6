// TListControl: the base of TListBox and TComboBox, a control with the list
// operations they share (TListHandle) on its window.
#pragma once
#include "framework/control.h"
#include "framework/list_handle.h"

class TListControl : public TControl {
 public:
  int AddString(const char* s) { return List().AddString(s); }
  int InsertString(const char* s, int index) { return List().InsertString(s, index); }
  int DeleteString(int index) { return List().DeleteString(index); }
  void ClearList() { List().ClearList(); }
  int GetCount() { return List().GetCount(); }
  // The buffer must hold GetStringLen(index) + 1 characters.
  int GetString(char* buffer, int index) { return List().GetString(buffer, index); }
  int GetStringLen(int index) { return List().GetStringLen(index); }
  // -1 for a list with several selections or when nothing is selected.
  int GetSelIndex() { return List().GetSelIndex(); }
  // The selected string, at most maxChars - 1 characters and a NUL; its
  // length, or -1 when nothing is selected.
  int GetSelString(char* buffer, int maxChars) { return List().GetSelString(buffer, maxChars); }
  int SetSelIndex(int index) { return List().SetSelIndex(index); }
  int SetSelString(const char* s, int startIndex) { return List().SetSelString(s, startIndex); }

  TListHandle List() const { return {HWindow, Kind}; }

 protected:
  TListControl(TWindow* parent, int id, int x, int y, int w, int h, TListHandle::TKind kind)
      : TControl(parent, id, nullptr, x, y, w, h), Kind(kind) {}
  TListControl(TWindow* parent, int resourceId, TListHandle::TKind kind)
      : TControl(parent, resourceId), Kind(kind) {}

 private:
  TListHandle::TKind Kind;
};
