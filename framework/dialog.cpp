#include "framework/dialog.h"

// clang-format off
DEFINE_RESPONSE_TABLE1(TDialog, TWindow)
  EV_COMMAND(IDOK, CmOk),
  EV_COMMAND(IDCANCEL, CmCancel),
  EV_WM_CLOSE(EvClose),
END_RESPONSE_TABLE;
// clang-format on

INT_PTR CALLBACK StdDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* window = TWindow::GetWindowPtr(hwnd);
  if (!window) {
    // The first message of a dialog being created (these two may arrive for
    // another reason first) attaches the pending dialog object.
    if (msg == WM_CANCELMODE || msg == WM_ENABLE) return FALSE;
    window = TWindow::GetCreationWindow();
    if (!window || window->HWindow) return FALSE;
    TWindow::SetCreationWindow(nullptr);
    window->AttachSubclass(hwnd);
  }
  auto* dialog = dynamic_cast<TDialog*>(window);
  return dialog ? dialog->DialogFunction(msg, wParam, lParam) : FALSE;
}

TDialog::TDialog(TWindow* parent, TResId resource) : TWindow(parent), Resource(std::move(resource)) {
  Attr.Style = 0;
}

HWND TDialog::OwnerHandle() const {
  return GetParentHandle();
}

namespace {
// The platform's dialog class, by its atom.
const LPCSTR kDialogClass = MAKEINTRESOURCEA(0x8002);
}  // namespace

const char* TDialog::GetClassName() {
  return kDialogClass;
}

bool TDialog::RegisterDialogClass(const char* name, HINSTANCE instance) {
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, name, &wc)) return true;
  if (!GetClassInfoA(nullptr, kDialogClass, &wc)) return false;
  wc.hInstance = instance;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

bool TDialog::Register() {
  const char* name = GetClassName();
  if (IS_INTRESOURCE(name)) return true;  // the platform's own class
  return RegisterDialogClass(name, GetInstance());
}

HWND TDialog::DoCreate() {
  return CreateDialogParamA(GetInstance(), Resource.Get(), OwnerHandle(), &StdDlgProc,
                            reinterpret_cast<LPARAM>(Attr.Param));
}

INT_PTR TDialog::DoExecute() {
  return DialogBoxParamA(GetInstance(), Resource.Get(), OwnerHandle(), &StdDlgProc,
                         reinterpret_cast<LPARAM>(Attr.Param));
}

HWND TDialog::CreateIndirect(const void* dialogTemplate) {
  return CreateDialogIndirectParamA(GetInstance(), static_cast<LPCDLGTEMPLATEA>(dialogTemplate),
                                    OwnerHandle(), &StdDlgProc, reinterpret_cast<LPARAM>(Attr.Param));
}

INT_PTR TDialog::ExecuteIndirect(const void* dialogTemplate) {
  return DialogBoxIndirectParamA(GetInstance(), static_cast<LPCDLGTEMPLATEA>(dialogTemplate), OwnerHandle(),
                                 &StdDlgProc, reinterpret_cast<LPARAM>(Attr.Param));
}

bool TDialog::Create() {
  if (HWindow) return true;
  Modal = false;
  if (!Register()) return false;
  HWND handle;
  {
    const TCreationScope creating(this);
    handle = DoCreate();
  }
  if (!handle) {
    Destroy();
    return false;
  }
  return HWindow == handle;
}

int TDialog::Execute() {
  if (HWindow) return -1;
  Modal = true;
  if (!Register()) return -1;
  INT_PTR result;
  {
    const TCreationScope creating(this);
    result = DoExecute();
  }
  Modal = false;
  return static_cast<int>(result);
}

void TDialog::Destroy(int retVal) {
  if (!HWindow) return;
  if (Modal)
    EndDialog(HWindow, retVal);
  else
    TWindow::Destroy(retVal);
}

void TDialog::CloseWindow(int retVal) {
  if (CanClose()) Destroy(retVal);
}

INT_PTR TDialog::DialogFunction(UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return EvInitDialog(reinterpret_cast<HWND>(wParam));
  return FALSE;
}

bool TDialog::EvInitDialog(HWND) {
  SetupWindow();
  return true;  // the platform sets the focus
}

void TDialog::EvClose() {
  // The dialog manager turns Close into Cancel.
  DefWindowProc(WM_CLOSE, 0, 0);
}
