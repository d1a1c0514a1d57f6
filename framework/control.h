// TControl: the base of the control classes: a child window of a predefined
// platform class, created in any library window with an id, a text and a
// geometry, or bound to a dialog item by its resource id.
#pragma once
#include "framework/window.h"

class TControl : public TWindow {
 public:
  TControl(TWindow* parent, int id, const char* text, int x, int y, int w, int h);
  TControl(TWindow* parent, int resourceId);

  bool Register() override { return true; }  // predefined classes
  // Window text, bounded: at most size - 1 characters and a NUL; returns the count.
  int GetText(char* buffer, int size) const;
  void SetText(const char* text) { SetWindowText(text); }
  int GetTextLen() const { return ::GetWindowTextLengthA(HWindow); }
};
