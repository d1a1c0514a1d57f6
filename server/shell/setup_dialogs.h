// The setup dialogs: a hub (Setup), the protocol and board lists with their
// read-only properties, and the Run-time dialog whose OK re-binds the
// libraries. None of them changes a setting.
#pragma once

#include <functional>
#include <memory>

#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/list_box.h"
#include "server/core/configuration.h"
#include "server/resources/resource_ids.h"

namespace server {

// What the dialogs show, and the re-binding that the Run-time OK asks for
// (given the dialog's window, which owns any failure box).
struct SetupContext {
  const Configuration& config;
  const char* parameters;  // shown by the Run-time dialog, never read back
  std::function<void(HWND dialog)> rebind;
};

}  // namespace server

class TSETUPDlg : public TDialog {
 public:
  TSETUPDlg(TWindow* parent, server::SetupContext& context) : TDialog(parent, "SETUP"), Context(context) {}

  void CmProtocols();
  void CmBoards();
  void CmRunTime();

  DECLARE_RESPONSE_TABLE(TSETUPDlg);

 private:
  server::SetupContext& Context;
};

// The list of known libraries, shared by the Protocols and Boards dialogs.
class TLibraryListDlg : public TDialog {
 public:
  TLibraryListDlg(TWindow* parent, const char* resource, server::SetupContext& context)
      : TDialog(parent, resource), Context(context) {}

  TListBox* List = &InsertChild(std::make_unique<TListBox>(this, IDC_LIBRARY_LIST));

  void CmProperties();
  virtual void ShowProperties() = 0;

  DECLARE_RESPONSE_TABLE(TLibraryListDlg);

 protected:
  server::SetupContext& Context;
};

class TPROTOCOLSDlg : public TLibraryListDlg {
 public:
  TPROTOCOLSDlg(TWindow* parent, server::SetupContext& context) : TLibraryListDlg(parent, "PROTOCOLS", context) {}
  void SetupWindow() override;
  void ShowProperties() override;
};

class TBOARDSDlg : public TLibraryListDlg {
 public:
  TBOARDSDlg(TWindow* parent, server::SetupContext& context) : TLibraryListDlg(parent, "BOARDS", context) {}
  void SetupWindow() override;
  void ShowProperties() override;
};

class TPROTOCOLSPROPERTIESDlg : public TDialog {
 public:
  TPROTOCOLSPROPERTIESDlg(TWindow* parent, const server::Configuration& config)
      : TDialog(parent, "PROTOCOLS_PROPERTIES"), Config(config) {}
  void SetupWindow() override;

 private:
  const server::Configuration& Config;
};

class TBOARDSPROPERTIESDlg : public TDialog {
 public:
  TBOARDSPROPERTIESDlg(TWindow* parent, const server::Configuration& config)
      : TDialog(parent, "BOARDS_PROPERTIES"), Config(config) {}
  void SetupWindow() override;

 private:
  const server::Configuration& Config;
};

class TRUNTIMEDlg : public TDialog {
 public:
  TRUNTIMEDlg(TWindow* parent, server::SetupContext& context) : TDialog(parent, "RUNTIME"), Context(context) {}
  void SetupWindow() override;
  void CmOk() override;

  DECLARE_RESPONSE_TABLE(TRUNTIMEDlg);

 private:
  server::SetupContext& Context;
  TComboBox* Protocol = &InsertChild(std::make_unique<TComboBox>(this, IDC_RUNTIME_PROTOCOL));
  TComboBox* Board = &InsertChild(std::make_unique<TComboBox>(this, IDC_RUNTIME_BOARD));
};
