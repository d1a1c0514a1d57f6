// TRadioButton: an automatic radio button (BUTTON), optionally in a group box.
#pragma once
#include "framework/check_box.h"

class TRadioButton : public TCheckBox {
 public:
  TRadioButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
               TGroupBox* group = nullptr)
      : TCheckBox(parent, id, text, x, y, w, h, group) {
    Attr.Style = (Attr.Style & ~(BS_AUTOCHECKBOX | WS_GROUP)) | BS_AUTORADIOBUTTON;
  }
  TRadioButton(TWindow* parent, int resourceId, TGroupBox* group = nullptr)
      : TCheckBox(parent, resourceId, group) {}
};
