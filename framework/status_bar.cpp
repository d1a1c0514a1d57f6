#include "framework/status_bar.h"

#include <iterator>

// Shows the bar's hint while one is set, else its own text.
class TStatusBar::TMessageGadget : public TTextGadget {
 public:
  TMessageGadget(TStatusBar& bar, TBorderStyle border) : TTextGadget(0, border, Left, 0), Bar(bar) {
    WideAsPossible = true;
  }

 protected:
  const char* DisplayText() const override {
    const char* hint = Bar.GetHintText();
    return hint ? hint : GetText();
  }

 private:
  TStatusBar& Bar;
};

namespace {
struct TIndicator {
  UINT Mode;
  int VirtualKey;
  const char* Text;
};
constexpr TIndicator Indicators[] = {
    {TStatusBar::CapsLock, VK_CAPITAL, "CAPS"},
    {TStatusBar::NumLock, VK_NUMLOCK, "NUM"},
    {TStatusBar::ScrollLock, VK_SCROLL, "SCRL"},
};
}  // namespace

TStatusBar::TStatusBar(TWindow* parent, TGadget::TBorderStyle borderStyle, UINT modeIndicators,
                       std::unique_ptr<TFont> font)
    : TGadgetWindow(parent, Horizontal, std::move(font)),
      Message(Insert(std::make_unique<TMessageGadget>(*this, borderStyle))),
      ModeIndicators(modeIndicators) {
  for (size_t i = 0; i < std::size(Indicators); ++i)
    if (ModeIndicators & Indicators[i].Mode)
      IndicatorGadgets[i] = &Insert(std::make_unique<TTextGadget>(0, borderStyle, TTextGadget::Center, 4));
}

void TStatusBar::SetHintText(const char* text) {
  HintActive = text != nullptr;
  Hint = text ? text : "";
  Message.Invalidate();
}

void TStatusBar::SetText(const char* text) {
  Message.SetText(text);
}

void TStatusBar::IdleAction(long idleCount) {
  for (size_t i = 0; i < std::size(Indicators); ++i)
    if (TTextGadget* gadget = IndicatorGadgets[i])
      gadget->SetText((GetKeyState(Indicators[i].VirtualKey) & 1) ? Indicators[i].Text : "");
  TGadgetWindow::IdleAction(idleCount);
}
