#include "framework/control.h"

TControl::TControl(TWindow* parent, int id, const char* text, int x, int y, int w, int h)
    : TWindow(parent, text) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
  Attr.Id = id;
  Attr.X = x;
  Attr.Y = y;
  Attr.W = w;
  Attr.H = h;
}

TControl::TControl(TWindow* parent, int resourceId) : TWindow(parent) {
  Attr.Style = 0;
  SetResourceId(resourceId);
}

int TControl::GetText(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  return ::GetWindowTextA(HWindow, buffer, size);
}
