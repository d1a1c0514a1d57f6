#include "server/shell/setup_dialogs.h"

#include <cstddef>

#include "server/resources/resource_ids.h"

namespace {

// The table entry a properties dialog shows: the one selected in its parent's
// list. The list holds entry 0 only, sorted, so the index maps straight on;
// anything out of the table's range shows nothing rather than reading past it.
template <typename Entry, std::size_t N>
const Entry* SelectedEntry(TWindow* parent, const std::array<Entry, N>& table) {
  auto* list = dynamic_cast<TLibraryListDlg*>(parent);
  if (!list) return nullptr;
  const int index = list->List->GetSelIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= N) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

void SetItemText(TWindow& dialog, int id, const server::TextField& field) {
  SetDlgItemTextA(dialog.HWindow, id, field.c_str());
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TSETUPDlg, TDialog)
  EV_COMMAND(IDC_SETUP_PROTOCOLS, CmProtocols),
  EV_COMMAND(IDC_SETUP_BOARDS, CmBoards),
  EV_COMMAND(IDC_SETUP_RUNTIME, CmRunTime),
END_RESPONSE_TABLE;

void TSETUPDlg::CmProtocols() { TPROTOCOLSDlg(this, Context).Execute(); }
void TSETUPDlg::CmBoards() { TBOARDSDlg(this, Context).Execute(); }
void TSETUPDlg::CmRunTime() { TRUNTIMEDlg(this, Context).Execute(); }

DEFINE_RESPONSE_TABLE1(TLibraryListDlg, TDialog)
  EV_COMMAND(IDC_LIBRARY_PROPERTIES, CmProperties),
END_RESPONSE_TABLE;

void TLibraryListDlg::CmProperties() {
  if (List->GetSelIndex() < 0) return;
  ShowProperties();
}

void TPROTOCOLSDlg::SetupWindow() {
  TLibraryListDlg::SetupWindow();
  List->AddString(Context.config.protocols[0].description.c_str());
}

void TPROTOCOLSDlg::ShowProperties() { TPROTOCOLSPROPERTIESDlg(this, Context.config).Execute(); }

void TBOARDSDlg::SetupWindow() {
  TLibraryListDlg::SetupWindow();
  List->AddString(Context.config.boards[0].description.c_str());
}

void TBOARDSDlg::ShowProperties() { TBOARDSPROPERTIESDlg(this, Context.config).Execute(); }

void TPROTOCOLSPROPERTIESDlg::SetupWindow() {
  TDialog::SetupWindow();
  if (const auto* entry = SelectedEntry(GetParent(), Config.protocols)) {
    SetItemText(*this, IDC_PROPERTY_DESCRIPTION, entry->description);
    SetItemText(*this, IDC_PROPERTY_LIBRARY_NAME, entry->library);
    SetItemText(*this, IDC_PROPERTY_FILE_EXTENSION, entry->extension);
  }
}

void TBOARDSPROPERTIESDlg::SetupWindow() {
  TDialog::SetupWindow();
  if (const auto* entry = SelectedEntry(GetParent(), Config.boards)) {
    SetItemText(*this, IDC_PROPERTY_DESCRIPTION, entry->description);
    SetItemText(*this, IDC_PROPERTY_LIBRARY_NAME, entry->library);
    SetItemText(*this, IDC_PROPERTY_LINK_NAME, entry->link_name);
    SetItemText(*this, IDC_PROPERTY_LINK_TIMEOUT, entry->link_timeout);
  }
}

DEFINE_RESPONSE_TABLE1(TRUNTIMEDlg, TDialog)
  EV_COMMAND(IDOK, CmOk),
END_RESPONSE_TABLE;

void TRUNTIMEDlg::SetupWindow() {
  TDialog::SetupWindow();
  Protocol->AddString(Context.config.protocols[0].description.c_str());
  Protocol->SetText(Context.config.protocol.description.c_str());
  Board->AddString(Context.config.boards[0].description.c_str());
  Board->SetText(Context.config.board.description.c_str());
  SetDlgItemTextA(HWindow, IDC_RUNTIME_PARAMETERS, Context.parameters ? Context.parameters : "");
}

void TRUNTIMEDlg::CmOk() {
  if (Context.rebind) Context.rebind(HWindow);
  TDialog::CmOk();
}
