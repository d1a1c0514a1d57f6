// Dialogs from resource files, the control creators and the control
// accessors, which work on the library's control objects and on plain
// platform controls (a template dialog's items) alike.
#include <algorithm>
#include <cctype>
#include <new>
#include <string_view>
#include <vector>

#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/edit.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/radio_button.h"
#include "framework/static.h"
#include "mantle/library_win32.h"
#include "mantle/mantle.h"
#include "mantle/zwindow_win32.h"

using namespace mantle;

namespace {

// ---- creation -------------------------------------------------------------------

// Creates a control object's window in its owner; the object goes again if
// that fails.
HWND Made(TWindow& owner, std::unique_ptr<TControl> control) {
  TWindow* made = AdoptAndCreate(owner, std::move(control));
  return made != nullptr ? made->HWindow : nullptr;
}

TGroupBox* GroupOf(HWND groupBox) {
  return dynamic_cast<TGroupBox*>(TWindow::GetWindowPtr(groupBox));
}

int Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(SendMessageA(control, message, wParam, lParam));
}

// ---- the list accessors -------------------------------------------------------

bool IsForeignList(HWND control) {
  char name[16] = "";
  GetClassNameA(control, name, static_cast<int>(sizeof name));
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string_view(name).substr(0, 7) == "LISTBOX";
}

// The list operations of a control: a library list or combo box by its
// class, any other control by its platform class name (a list box, else
// taken for a combo box).
TListHandle ListOf(HWND control) {
  if (auto* list = dynamic_cast<TListControl*>(TWindow::GetWindowPtr(control))) return list->List();
  return {control, IsForeignList(control) ? TListHandle::ListBox : TListHandle::ComboBox};
}

// The parent and item id of an edit field, for the dialog-item calls.
struct DialogItem {
  HWND parent;
  int id;
};
DialogItem ItemOf(HWND control) {
  if (TWindow* object = TWindow::GetWindowPtr(control)) {
    if (object->GetParent() != nullptr) return {object->GetParentHandle(), object->GetId()};
  }
  return {GetParent(control), GetWindowLongA(control, GWL_ID)};
}

}  // namespace

extern "C" HWND WINAPI _CreateDialogIndirect(LPCSTR resourceFile, LPCSTR dialogName, HWND parent, int id,
                                             int disableParent) {
  if (Application() == nullptr) return nullptr;
  const bool fileIsString = !IS_INTRESOURCE(resourceFile);
  TWindow* owner = TWindow::GetWindowPtr(parent);
  auto made =
      MakeOrNull<TZDialog>(owner, dialogName, fileIsString ? resourceFile : nullptr, id, disableParent);
  if (made == nullptr) return nullptr;
  if (!made->Create() || made->CreationError() != 0) return nullptr;
  // Its owner's object, else the client, has it until _DeleteWindow.
  TZDialog* dialog = owner != nullptr ? &owner->InsertChild(std::move(made)) : made.release();
  dialog->ShowWindow(SW_SHOW);
  if (parent != nullptr && disableParent != 0) {
    EnableWindow(parent, FALSE);
    dialog->DisabledParent = parent;
  }
  return dialog->HWindow;
}

extern "C" HWND WINAPI _CreateListBox(HWND parent, int id, UINT x, UINT y, UINT width, UINT height) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  return Made(*owner, MakeOrNull<TListBox>(owner, id, Low16(x), Low16(y), Low16(width), Low16(height)));
}

extern "C" HWND WINAPI _CreateComboBox(HWND parent, int id, UINT x, UINT y, UINT width, UINT height,
                                       DWORD style, UINT textLimit) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  auto box = MakeOrNull<TComboBox>(owner, id, Low16(x), Low16(y), Low16(width), Low16(height), style,
                                   static_cast<UINT>(Low16(textLimit)));
  if (box != nullptr) box->Attr.Style = style | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_SORT | CBS_AUTOHSCROLL;
  return Made(*owner, std::move(box));
}

extern "C" HWND WINAPI _CreateGroupBox(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width,
                                       UINT height) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  return Made(*owner,
              MakeOrNull<TGroupBox>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height)));
}

extern "C" HWND WINAPI _CreateStatic(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width,
                                     UINT height, UINT textLimit) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  return Made(*owner, MakeOrNull<TStatic>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height),
                                          static_cast<UINT>(Low16(textLimit))));
}

extern "C" HWND WINAPI _CreateButton(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width,
                                     UINT height, int isDefault) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  return Made(*owner, MakeOrNull<TButton>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height),
                                          isDefault != 0));
}

extern "C" HWND WINAPI _CreateEdit(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width, UINT height,
                                   UINT textLimit, int multiline) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  return Made(*owner, MakeOrNull<TEdit>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height),
                                        static_cast<UINT>(Low16(textLimit)), multiline != 0));
}

extern "C" HWND WINAPI _CreateCheckBox(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width,
                                       UINT height, HWND groupBox) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  auto box = MakeOrNull<TCheckBox>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height),
                                   GroupOf(groupBox));
  if (box != nullptr) box->Attr.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
  return Made(*owner, std::move(box));
}

extern "C" HWND WINAPI _CreateRadioButton(HWND parent, int id, LPCSTR text, UINT x, UINT y, UINT width,
                                          UINT height, HWND groupBox) {
  TWindow* owner = TWindow::GetWindowPtr(parent);
  if (owner == nullptr) return nullptr;
  auto button = MakeOrNull<TRadioButton>(owner, id, text, Low16(x), Low16(y), Low16(width), Low16(height),
                                         GroupOf(groupBox));
  if (button != nullptr) button->Attr.Style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
  return Made(*owner, std::move(button));
}

extern "C" int WINAPI _GetId(HWND control) {
  if (control == nullptr) return 0;
  if (TWindow* object = TWindow::GetWindowPtr(control)) return object->GetId();
  return GetWindowLongA(control, GWL_ID);
}

extern "C" int WINAPI _GetStaticText(HWND control, LPSTR buffer, UINT count) {
  if (control == nullptr) return 0;
  return GetWindowTextA(control, buffer, std::min(Low16(count), 1024));
}

extern "C" int WINAPI _SetStaticText(HWND control, LPCSTR text) {
  if (control == nullptr) return 0;
  return SetWindowTextA(control, text);
}

extern "C" int WINAPI _GetCheck(HWND control) {
  if (control == nullptr) return 0;
  if (auto* box = dynamic_cast<TCheckBox*>(TWindow::GetWindowPtr(control)))
    return static_cast<int>(box->GetCheck());
  return Send(control, BM_GETCHECK);
}

extern "C" void WINAPI _SetCheck(HWND control, int state) {
  if (control == nullptr) return;
  if (auto* box = dynamic_cast<TCheckBox*>(TWindow::GetWindowPtr(control))) {
    box->SetCheck(static_cast<UINT>(state));
    return;
  }
  Send(control, BM_SETCHECK, static_cast<WPARAM>(state));
}

extern "C" int WINAPI _GetRadio(HWND control) {
  return _GetCheck(control);
}

extern "C" void WINAPI _SetRadio(HWND control, int state) {
  _SetCheck(control, state);
}

extern "C" int WINAPI _AddString(HWND control, LPCSTR text) {
  return control ? ListOf(control).AddString(text) : -1;
}

extern "C" int WINAPI _InsertString(HWND control, LPCSTR text, int index) {
  return control ? ListOf(control).InsertString(text, index) : 0;
}

extern "C" int WINAPI _DeleteString(HWND control, int index) {
  return control ? ListOf(control).DeleteString(index) : -1;
}

extern "C" void WINAPI _ClearList(HWND control) {
  if (control) ListOf(control).ClearList();
}

extern "C" int WINAPI _GetCount(HWND control) {
  return control ? ListOf(control).GetCount() : -1;
}

extern "C" int WINAPI _GetString(HWND control, LPSTR buffer, int index) {
  return control ? ListOf(control).GetString(buffer, index) : 0;
}

extern "C" int WINAPI _GetStringLen(HWND control, int index) {
  return control ? ListOf(control).GetStringLen(index) : 0;
}

extern "C" int WINAPI _GetSelIndex(HWND control) {
  return control ? ListOf(control).GetSelIndex() : -1;
}

extern "C" int WINAPI _GetSelString(HWND control, LPSTR buffer, int count) {
  return control ? ListOf(control).GetSelString(buffer, count) : -1;
}

extern "C" int WINAPI _SetSelIndex(HWND control, int index) {
  return control ? ListOf(control).SetSelIndex(index) : -1;
}

extern "C" int WINAPI _SetSelString(HWND control, LPCSTR text, int startIndex) {
  return control ? ListOf(control).SetSelString(text, startIndex) : -1;
}

namespace {
void DropDown(HWND control, bool show) {
  if (control == nullptr) return;
  if (auto* box = dynamic_cast<TComboBox*>(TWindow::GetWindowPtr(control))) {
    box->ShowList(show);
    return;
  }
  // Both drop-down kinds (CBS_DROPDOWN, CBS_DROPDOWNLIST) have this bit.
  if (GetWindowLongA(control, GWL_STYLE) & CBS_DROPDOWN) Send(control, CB_SHOWDROPDOWN, show ? 1 : 0);
}
}  // namespace

extern "C" void WINAPI _ShowList(HWND control) {
  DropDown(control, true);
}

extern "C" void WINAPI _HideList(HWND control) {
  DropDown(control, false);
}

extern "C" int WINAPI _GetEditText(HWND control, LPSTR buffer) {
  if (control == nullptr) return 0;
  const DialogItem item = ItemOf(control);
  return static_cast<int>(GetDlgItemTextA(item.parent, item.id, buffer, 512));
}

extern "C" int WINAPI _GetEditInt(HWND control, int* translated, int isSigned) {
  if (control == nullptr) return 0;
  const DialogItem item = ItemOf(control);
  BOOL ok = FALSE;
  const UINT value = GetDlgItemInt(item.parent, item.id, &ok, isSigned);
  if (translated != nullptr) *translated = ok;
  return static_cast<int>(value & 0xFFFFu);
}

extern "C" void WINAPI _SetEditText(HWND control, LPCSTR text) {
  if (control == nullptr) return;
  const DialogItem item = ItemOf(control);
  SetDlgItemTextA(item.parent, item.id, text);
}

extern "C" void WINAPI _SetEditInt(HWND control, int value, int isSigned) {
  if (control == nullptr) return;
  const DialogItem item = ItemOf(control);
  SetDlgItemInt(item.parent, item.id, static_cast<UINT>(value), isSigned);
}
