#include "framework/menu_descr.h"

TMenuDescr::TMenuDescr(TResId menu, int fileGroup, int editGroup, int containerGroup, int objectGroup,
                       int windowGroup, int helpGroup, HINSTANCE module)
    : Menu(std::move(menu)), Module(module), Groups{fileGroup,   editGroup,   containerGroup,
                                                    objectGroup, windowGroup, helpGroup} {}

HMENU TMenuDescr::Load(HINSTANCE fallback) const {
  return LoadMenuA(Module ? Module : fallback, Menu.Get());
}

int TMenuDescr::WindowPopupPosition() const {
  if (Groups[WindowGroup] <= 0) return -1;
  return Groups[FileGroup] + Groups[EditGroup] + Groups[ContainerGroup] + Groups[ObjectGroup];
}
