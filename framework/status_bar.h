// TStatusBar: the status line at the bottom of a decorated frame. Its first
// gadget is its own message gadget (a TTextGadget as wide as possible); a
// hint set with SetHintText shows there instead of the message text until a
// null hint switches it off. Mode indicators (Caps, Num, Scroll Lock) are
// optional text gadgets at the end.
#pragma once
#include <array>
#include <string>

#include "framework/gadget_window.h"
#include "framework/text_gadget.h"

class TStatusBar : public TGadgetWindow {
 public:
  enum TModeIndicator { CapsLock = 1, NumLock = 2, ScrollLock = 4 };

  explicit TStatusBar(TWindow* parent = nullptr, TGadget::TBorderStyle borderStyle = TGadget::Recessed,
                      UINT modeIndicators = 0, std::unique_ptr<TFont> font = nullptr);

  // A hint replaces the message text while set; null switches it off.
  virtual void SetHintText(const char* text);
  // The frame's hints land here.
  bool ShowHint(const char* text) override {
    SetHintText(text);
    return true;
  }
  const char* GetHintText() const { return HintActive ? Hint.c_str() : nullptr; }
  // The message gadget's own text.
  void SetText(const char* text);
  TTextGadget* GetMessageGadget() const { return &Message; }

  const char* GetClassName() override { return "TStatusBar"; }
  void IdleAction(long idleCount) override;

 private:
  class TMessageGadget;
  TTextGadget& Message;
  std::string Hint;
  bool HintActive = false;
  UINT ModeIndicators;
  std::array<TTextGadget*, 3> IndicatorGadgets{};  // in the order of CapsLock, NumLock, ScrollLock
};
