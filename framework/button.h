// TButton: a push button (BUTTON), the default push button if asked.
#pragma once
#include "framework/control.h"

class TButton : public TControl {
 public:
  TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h, bool isDefault = false)
      : TControl(parent, id, text, x, y, w, h) {
    Attr.Style |= isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  }
  TButton(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

  const char* GetClassName() override { return "BUTTON"; }
};
