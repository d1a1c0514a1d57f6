// TTextGadget: a gadget that shows a text, with a border and an alignment,
// sized for a given number of average characters.
#pragma once
#include <string>

#include "framework/gadget.h"

class TTextGadget : public TGadget {
 public:
  enum TAlign { Left, Center, Right };

  TTextGadget(int id = 0, TBorderStyle border = Recessed, TAlign align = Left, UINT numChars = 10,
              const char* text = nullptr);

  void SetText(const char* text);
  const char* GetText() const { return Text.c_str(); }

  SIZE GetDesiredSize() override;
  void Paint(HDC dc) override;

 protected:
  // What is drawn: the text, unless a derived gadget shows something else.
  virtual const char* DisplayText() const { return Text.c_str(); }

 private:
  std::string Text;
  TAlign Align;
  UINT NumChars;
};
