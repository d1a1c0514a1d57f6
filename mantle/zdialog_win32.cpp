// TZDialog: a modeless dialog from a template in the client's resource file,
// created with the library's own dialog class so that its events are queued.
#include "framework/command_enabler.h"
#include "mantle/dialog_template.h"
#include "mantle/global_block_win32.h"
#include "mantle/library_win32.h"
#include "mantle/resource_image.h"
#include "mantle/zwindow_win32.h"

namespace mantle {

// clang-format off
DEFINE_RESPONSE_TABLE1(TZDialog, TDialog)
  EV_MESSAGE(WM_HSCROLL, EvQueueThenDefault),
  EV_MESSAGE(WM_VSCROLL, EvQueueThenDefault),
  EV_WM_CLOSE(EvClose),
END_RESPONSE_TABLE;
// clang-format on

TZDialog::TZDialog(TWindow* parent, LPCSTR name, const char* file, std::int32_t id, int disableParent)
    : TDialog(parent, TResId(name)),
      Id(id),
      DisableParent(disableParent),
      Tick(static_cast<std::uint16_t>(GetTickCount())),
      ClassName(KindClassName(WindowKind::kDialog, Tick)) {
  if (file != nullptr) File = file;
}

const char* TZDialog::GetClassName() {
  return IsModal() ? TDialog::GetClassName() : ClassName.data();
}

HWND TZDialog::DoCreate() {
  Error = 0;
  GlobalBlock block;
  if (File) block = GlobalBlock(LoadResourceFromFile(File->c_str(), Resource.Get(), kDialogType));
  if (!block) {
    Error = -5;
    return nullptr;
  }
  const LockedBlock bytes(block.get());
  // The platform reads the template without its size: it must end inside.
  if (!DialogTemplateFits(bytes.bytes())) {
    Error = -5;
    return nullptr;
  }
  const std::array<char, 4> digits{ClassName[10], ClassName[11], ClassName[12], ClassName[13]};
  if (!PrepareDialogTemplate(bytes.bytes(), digits)) return nullptr;
  const HWND handle = CreateIndirect(bytes.data());
  if (handle == nullptr) Error = -5;
  return handle;
}

INT_PTR TZDialog::DialogFunction(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    QueueEvent(HWindow, WM_INITDIALOG, wParam, lParam);
    return TDialog::DialogFunction(msg, wParam, lParam);
  }
  // Handled: the dialog manager never acts on OK or Cancel by itself.
  if (msg == WM_COMMAND) return TRUE;
  return FALSE;
}

LRESULT TZDialog::EvCommand(const TMessage& message) {
  return HandleThenQueue(*this, message, [&] { return TDialog::EvCommand(message); });
}

void TZDialog::EvCommandEnable(TCommandEnabler& enabler) {
  enabler.Enable(true);
}

void TZDialog::QueueButton(int id) {
  QueueEvent(HWindow, WM_COMMAND, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(GetDlgItem(HWindow, id)));
}

void TZDialog::CmOk() {
  QueueButton(IDOK);
}

void TZDialog::CmCancel() {
  QueueButton(IDCANCEL);
}

LRESULT TZDialog::EvQueueThenDefault(const TMessage& message) {
  QueueEvent(HWindow, message);
  return DefaultProcessing(message);
}

}  // namespace mantle
