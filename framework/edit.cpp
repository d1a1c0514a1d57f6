#include "framework/edit.h"

TEdit::TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit,
             bool multiline)
    : TControl(parent, id, text, x, y, w, h), TextLimit(textLimit) {
  Attr.Style |= ES_LEFT | ES_AUTOHSCROLL | WS_BORDER;
  if (multiline) Attr.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;
}

void TEdit::SetupWindow() {
  TControl::SetupWindow();
  if (TextLimit > 1) LimitText(TextLimit - 1);
}
