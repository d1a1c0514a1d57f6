#include "framework/file_dialog.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/filter_string.h"
#include "framework/window.h"

TOpenSaveDialog::TData::TData(DWORD flags, const char* filter, const char* customFilter,
                              const char* initialDir, const char* defExt)
    : Flags(flags), InitialDir(initialDir ? initialDir : ""), DefExt(defExt ? defExt : "") {
  SetFilter(filter);
  if (customFilter) CustomFilter = ConvertFilter(customFilter);
}

void TOpenSaveDialog::TData::SetFilter(const char* filter) {
  Filter = filter ? ConvertFilter(filter) : std::string();
}

TOpenSaveDialog::TOpenSaveDialog(TWindow* parent, TData& data, const char* title)
    : Parent(parent), Data(data), Title(title ? title : "") {}

int TOpenSaveDialog::Run(BOOL(WINAPI* dialog)(LPOPENFILENAMEA)) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Parent ? Parent->HWindow : nullptr;
  ofn.lpstrFilter = Data.Filter.empty() ? nullptr : Data.Filter.c_str();
  // The custom filter is written by the dialog: give it a private buffer.
  std::string custom = Data.CustomFilter;
  if (!custom.empty()) {
    custom.resize(std::max<size_t>(custom.size(), 256), '\0');
    ofn.lpstrCustomFilter = custom.data();
    ofn.nMaxCustFilter = static_cast<DWORD>(custom.size());
  }
  ofn.nFilterIndex = static_cast<DWORD>(Data.FilterIndex);
  Data.FileName[MAX_PATH - 1] = '\0';
  ofn.lpstrFile = Data.FileName;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrFileTitle = Data.FileTitle;
  ofn.nMaxFileTitle = MAX_PATH;
  ofn.lpstrInitialDir = Data.InitialDir.empty() ? nullptr : Data.InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.Flags = Data.Flags;
  ofn.lpstrDefExt = Data.DefExt.empty() ? nullptr : Data.DefExt.c_str();
  if (dialog(&ofn)) {
    Data.Error = 0;
    Data.Flags = ofn.Flags;
    Data.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return IDOK;
  }
  Data.Error = CommDlgExtendedError();
  return IDCANCEL;
}
