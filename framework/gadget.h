// TGadget: an item of a gadget window (a button, a text field, a separator):
// not a window of its own but a rectangle of its gadget window, which lays it
// out, paints it and passes it the mouse. Gadgets with a command id take part
// in command enabling and hints.
#pragma once
#include <windows.h>

class TGadgetWindow;

class TGadget {
 public:
  enum TBorderStyle { None, Plain, Raised, Recessed, Embossed };

  explicit TGadget(int id = 0, TBorderStyle border = None) : Id(id), Border(border) {}
  virtual ~TGadget() = default;
  TGadget(const TGadget&) = delete;
  TGadget& operator=(const TGadget&) = delete;

  int GetId() const { return Id; }
  const RECT& GetBounds() const { return Bounds; }
  bool GetEnabled() const { return Enabled; }
  virtual void SetEnabled(bool enabled);
  // Takes the rest of the window's width in the layout.
  bool WideAsPossible = false;

  virtual SIZE GetDesiredSize();
  virtual void Paint(HDC dc);
  void Invalidate();
  // Mouse, in the gadget window's client coordinates.
  virtual void LButtonDown(UINT modKeys, POINT point);
  virtual void LButtonUp(UINT modKeys, POINT point);
  virtual void MouseMove(UINT modKeys, POINT point);
  // Asks the command route whether the gadget's command is enabled.
  virtual void CommandEnable() {}
  // Called when the gadget joins a window (resources can be loaded then).
  virtual void Inserted() {}

 protected:
  void PaintBorder(HDC dc);
  int BorderWidth() const { return Border == None ? 0 : (Border == Plain ? 1 : 2); }

  TGadgetWindow* Window = nullptr;
  RECT Bounds{};
  int Id;
  TBorderStyle Border;
  bool Enabled = true;

 private:
  friend class TGadgetWindow;
};
