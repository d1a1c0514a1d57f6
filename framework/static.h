// TStatic: a static text control (STATIC), no tab stop.
#pragma once
#include "framework/control.h"

class TStatic : public TControl {
 public:
  TStatic(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit = 0)
      : TControl(parent, id, text, x, y, w, h), TextLimit(textLimit) {
    Attr.Style = (Attr.Style & ~WS_TABSTOP) | SS_LEFT;
  }
  TStatic(TWindow* parent, int resourceId, UINT textLimit = 0)
      : TControl(parent, resourceId), TextLimit(textLimit) {}

  const char* GetClassName() override { return "STATIC"; }
  UINT GetTextLimit() const { return TextLimit; }

 private:
  UINT TextLimit;
};
