// The list operations shared by list boxes and combo boxes, on a handle,
// and the two control classes over them.
#include "framework/combo_box.h"
#include "framework/item_text.h"
#include "framework/list_box.h"
#include "framework/list_handle.h"

int TListHandle::Send(UINT listMsg, UINT comboMsg, WPARAM wp, const void* lp) const {
  return static_cast<int>(
      SendMessageA(Handle, Kind == ListBox ? listMsg : comboMsg, wp, reinterpret_cast<LPARAM>(lp)));
}

int TListHandle::AddString(const char* s) const { return Send(LB_ADDSTRING, CB_ADDSTRING, 0, s); }

int TListHandle::InsertString(const char* s, int index) const {
  return Send(LB_INSERTSTRING, CB_INSERTSTRING, static_cast<WPARAM>(index), s);
}

int TListHandle::DeleteString(int index) const {
  return Send(LB_DELETESTRING, CB_DELETESTRING, static_cast<WPARAM>(index));
}

void TListHandle::ClearList() const { Send(LB_RESETCONTENT, CB_RESETCONTENT); }

int TListHandle::GetCount() const { return Send(LB_GETCOUNT, CB_GETCOUNT); }

int TListHandle::GetString(char* buffer, int index) const {
  return Send(LB_GETTEXT, CB_GETLBTEXT, static_cast<WPARAM>(index), buffer);
}

int TListHandle::GetStringLen(int index) const {
  return Send(LB_GETTEXTLEN, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
}

bool TListHandle::IsMultipleSel() const {
  return Kind == ListBox && (GetWindowLongPtrA(Handle, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

int TListHandle::GetSelIndex() const { return IsMultipleSel() ? -1 : Send(LB_GETCURSEL, CB_GETCURSEL); }

int TListHandle::GetSelString(char* buffer, int maxChars) const {
  return BoundedItemText(
      GetSelIndex(), buffer, maxChars, [this](int i) { return GetStringLen(i); },
      [this](char* b, int i) { return GetString(b, i); });
}

int TListHandle::SetSelIndex(int index) const {
  return IsMultipleSel() ? -1 : Send(LB_SETCURSEL, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int TListHandle::SetSelString(const char* s, int startIndex) const {
  return IsMultipleSel() ? -1 : Send(LB_SELECTSTRING, CB_SELECTSTRING, static_cast<WPARAM>(startIndex), s);
}

TListBox::TListBox(TWindow* parent, int id, int x, int y, int w, int h)
    : TListControl(parent, id, x, y, w, h, TListHandle::ListBox) {
  Attr.Style |= LBS_STANDARD;
}

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style, UINT textLimit)
    : TListControl(parent, id, x, y, w, h, TListHandle::ComboBox), TextLimit(textLimit) {
  Attr.Style |= style;
}

TComboBox::TComboBox(TWindow* parent, int resourceId, UINT textLimit)
    : TListControl(parent, resourceId, TListHandle::ComboBox), TextLimit(textLimit) {}

void TComboBox::SetupWindow() {
  TListControl::SetupWindow();
  // The limit counts the terminating NUL.
  if (TextLimit > 1) SendMessage(CB_LIMITTEXT, TextLimit - 1);
}

void TComboBox::SetText(const char* text) {
  // CB_SELECTSTRING matches a prefix, ignoring case, from the first item on.
  if (SetSelString(text, -1) >= 0) return;
  SetWindowText(text);
  SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}
