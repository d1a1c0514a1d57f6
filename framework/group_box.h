// TGroupBox: a group frame (BUTTON, BS_GROUPBOX), no tab stop; check boxes
// and radio buttons may name it as their group.
#pragma once
#include "framework/control.h"

class TGroupBox : public TControl {
 public:
  TGroupBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h)
      : TControl(parent, id, text, x, y, w, h) {
    Attr.Style = (Attr.Style & ~WS_TABSTOP) | BS_GROUPBOX;
  }
  TGroupBox(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

  const char* GetClassName() override { return "BUTTON"; }
};
