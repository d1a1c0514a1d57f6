// TCommandEnabler asks the windows on the command route whether a command is
// available; an enabler handler answers with Enable. Menu items
// (at WM_INITMENUPOPUP) and button gadgets (at idle) are enabled this way.
#pragma once
#include <windows.h>

class TCommandEnabler {
 public:
  explicit TCommandEnabler(UINT id) : Id(id) {}
  virtual ~TCommandEnabler() = default;
  UINT GetId() const { return Id; }
  // Answers the enabler; from then on it counts as handled.
  void Enable(bool enable = true) {
    Handled = true;
    DoEnable(enable);
  }
  bool GetHandled() const { return Handled; }
  void SetHandled() { Handled = true; }

 protected:
  virtual void DoEnable(bool enable) = 0;

  UINT Id;
  bool Handled = false;
};

// Enables or greys one item of a popup menu.
class TMenuItemEnabler : public TCommandEnabler {
 public:
  TMenuItemEnabler(HMENU menu, UINT id, UINT position)
      : TCommandEnabler(id), Menu(menu), Position(position) {}

 private:
  void DoEnable(bool enable) override {
    EnableMenuItem(Menu, Position, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
  }

  HMENU Menu;
  UINT Position;
};
