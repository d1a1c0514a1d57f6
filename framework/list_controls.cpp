// The list operations shared by TListBox and TComboBox.
#include "framework/combo_box.h"
#include "framework/item_text.h"
#include "framework/list_box.h"

TListBox::TListBox(TWindow* parent, int id, int x, int y, int w, int h)
    : TControl(parent, id, nullptr, x, y, w, h) {
  Attr.Style |= LBS_STANDARD;
}

int TListBox::GetSelIndex() {
  return IsMultipleSel() ? -1 : Msg(LB_GETCURSEL);
}

int TListBox::GetSelString(char* buffer, int maxChars) {
  return BoundedItemText(
      GetSelIndex(), buffer, maxChars, [this](int i) { return GetStringLen(i); },
      [this](char* b, int i) { return GetString(b, i); });
}

int TListBox::SetSelIndex(int index) {
  return IsMultipleSel() ? -1 : Msg(LB_SETCURSEL, index);
}

int TListBox::SetSelString(const char* s, int startIndex) {
  return IsMultipleSel() ? -1 : Msg(LB_SELECTSTRING, startIndex, s);
}

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style, UINT textLimit)
    : TControl(parent, id, nullptr, x, y, w, h), TextLimit(textLimit) {
  Attr.Style |= style;
}

TComboBox::TComboBox(TWindow* parent, int resourceId, UINT textLimit)
    : TControl(parent, resourceId), TextLimit(textLimit) {}

void TComboBox::SetupWindow() {
  TControl::SetupWindow();
  // The limit counts the terminating NUL.
  if (TextLimit > 1) Msg(CB_LIMITTEXT, TextLimit - 1);
}

int TComboBox::GetSelString(char* buffer, int maxChars) {
  return BoundedItemText(
      GetSelIndex(), buffer, maxChars, [this](int i) { return GetStringLen(i); },
      [this](char* b, int i) { return GetString(b, i); });
}

void TComboBox::SetText(const char* text) {
  // CB_SELECTSTRING matches a prefix, ignoring case, from the first item on.
  if (SetSelString(text, -1) >= 0) return;
  SetWindowText(text);
  SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}
