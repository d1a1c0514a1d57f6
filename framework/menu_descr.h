// TMenuDescr: a menu resource with the number of popups in each of its six
// groups (file, edit, container, object, window, help). The frame uses the
// counts to find the Window popup that the MDI client keeps its list in.
#pragma once
#include <windows.h>

#include <array>

#include "framework/res_id.h"

class TMenuDescr {
 public:
  enum TGroup { FileGroup, EditGroup, ContainerGroup, ObjectGroup, WindowGroup, HelpGroup, NumGroups };

  TMenuDescr(TResId menu, int fileGroup, int editGroup, int containerGroup, int objectGroup, int windowGroup,
             int helpGroup, HINSTANCE module = nullptr);

  const TResId& GetId() const { return Menu; }
  // A new menu from the resource; the caller owns it.
  HMENU Load(HINSTANCE fallback) const;
  // The position of the Window popup on the menu bar, or -1 if there is none.
  int WindowPopupPosition() const;

 private:
  TResId Menu;
  HINSTANCE Module;
  std::array<int, NumGroups> Groups;
};
