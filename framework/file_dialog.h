// The file-open and file-save dialogs (GetOpenFileName, GetSaveFileName) over
// a data record that outlives them: flags, a filter written with '|'
// separators ("Text files (*.txt)|*.txt|"), the initial directory, the
// default extension, and the file name (in: initial, out: chosen).
#pragma once
#include <windows.h>

#include <string>

class TWindow;

class TOpenSaveDialog {
 public:
  struct TData {
    TData(DWORD flags = 0, const char* filter = nullptr, const char* customFilter = nullptr,
          const char* initialDir = nullptr, const char* defExt = nullptr);
    void SetFilter(const char* filter);

    DWORD Flags;
    DWORD Error = 0;           // CommDlgExtendedError after a failed run
    std::string Filter;        // the platform form, NUL-separated
    std::string CustomFilter;  // empty: none
    int FilterIndex = 0;
    std::string InitialDir;
    std::string DefExt;
    char FileName[MAX_PATH] = "";
    char FileTitle[MAX_PATH] = "";  // out: the chosen file's name without its directory
  };

  TOpenSaveDialog(TWindow* parent, TData& data, const char* title = nullptr);
  virtual ~TOpenSaveDialog() = default;
  // IDOK with the chosen path in the data, else IDCANCEL.
  virtual int Execute() = 0;

 protected:
  int Run(BOOL(WINAPI* dialog)(LPOPENFILENAMEA));
  TWindow* Parent;
  TData& Data;
  std::string Title;
};

class TFileOpenDialog : public TOpenSaveDialog {
 public:
  using TOpenSaveDialog::TOpenSaveDialog;
  int Execute() override { return Run(&GetOpenFileNameA); }
};

class TFileSaveDialog : public TOpenSaveDialog {
 public:
  using TOpenSaveDialog::TOpenSaveDialog;
  int Execute() override { return Run(&GetSaveFileNameA); }
};
