// TSeparatorGadget: empty space of a given size between gadgets.
#pragma once
#include "framework/gadget.h"

class TSeparatorGadget : public TGadget {
 public:
  explicit TSeparatorGadget(int size = 6) : TGadget(0, None), Size(size) {}
  SIZE GetDesiredSize() override { return {Size, 0}; }
  void Paint(HDC) override {}

 private:
  int Size;
};
