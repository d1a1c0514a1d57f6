// TButtonGadget: a tool-bar button with a bitmap glyph from a resource and a
// command id. Its enabled flag is set by enabler handlers (at idle) or
// directly; it looks up or down; a click (press and release on it) posts
// WM_COMMAND with its id to the gadget window's parent.
#pragma once
#include "framework/command_enabler.h"
#include "framework/gadget.h"
#include "framework/res_id.h"

class TButtonGadget : public TGadget {
 public:
  enum TType { Command, Exclusive, NonExclusive };
  enum TState { Up, Down, Indeterminate };

  TButtonGadget(TResId glyph, int id, TType type = Command, bool enabled = false, TState state = Up,
                bool repeat = false);
  ~TButtonGadget() override;

  void SetButtonState(TState state);
  bool GetRepeat() const { return Repeat; }
  bool IsPressed() const { return Pressed; }

  SIZE GetDesiredSize() override;
  void Paint(HDC dc) override;
  void LButtonDown(UINT modKeys, POINT point) override;
  void LButtonUp(UINT modKeys, POINT point) override;
  void MouseMove(UINT modKeys, POINT point) override;
  void CommandEnable() override;
  void Inserted() override;

 protected:
  virtual void Activate();

 private:
  TResId GlyphResource;
  HBITMAP Glyph = nullptr;
  SIZE GlyphSize{};
  TType Type;
  TState State;
  bool Repeat;
  bool Pressed = false;  // held down by the mouse, pointer on it
};

// The enabler a button gadget presents to the command route.
class TButtonGadgetEnabler : public TCommandEnabler {
 public:
  explicit TButtonGadgetEnabler(TButtonGadget& gadget)
      : TCommandEnabler(static_cast<UINT>(gadget.GetId())), Gadget(gadget) {}

 private:
  void DoEnable(bool enable) override { Gadget.SetEnabled(enable); }

  TButtonGadget& Gadget;
};
