// TDialog: a dialog window from a dialog resource, run modally (Execute) or
// modeless (Create). Its platform procedure is StdDlgProc, which attaches the
// window to the object on its first message and subclasses it, so the
// dialog's messages pass through its response table like any window's, and
// the dialog manager's messages reach DialogFunction. WM_INITDIALOG runs the
// set-up step (which binds child control objects to their resource ids);
// OK and Cancel end the dialog with IDOK and IDCANCEL.
//
// A dialog whose template names a window class of its own returns that name
// from GetClassName; Register then makes the class as a copy of the
// platform's dialog class. A dialog that builds its template itself overrides
// DoCreate / DoExecute (see CreateIndirect / ExecuteIndirect).
#pragma once
#include "framework/res_id.h"
#include "framework/window.h"

class TDialog : public TWindow {
 public:
  TDialog(TWindow* parent, TResId resource);

  // Modal: returns the value passed to CloseWindow (IDOK, IDCANCEL, ...), or -1.
  virtual int Execute();
  // Modeless.
  bool Create() override;
  void Destroy(int retVal = 0) override;
  // Ends the dialog with this value if CanClose agrees.
  virtual void CloseWindow(int retVal);

  virtual INT_PTR DialogFunction(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual bool EvInitDialog(HWND focus);
  virtual void CmOk() { CloseWindow(IDOK); }
  virtual void CmCancel() { CloseWindow(IDCANCEL); }

  // The platform's dialog class, unless a derived dialog names its own.
  const char* GetClassName() override;
  bool Register() override;
  // Registers `name` as a copy of the platform's dialog class.
  static bool RegisterDialogClass(const char* name, HINSTANCE instance);

  bool IsModal() const { return Modal; }

  void EvClose();

  DECLARE_RESPONSE_TABLE(TDialog);

 protected:
  // The creation steps; the defaults use the dialog resource.
  virtual HWND DoCreate();
  virtual INT_PTR DoExecute();
  // Helpers for dialogs with a template in memory.
  HWND CreateIndirect(const void* dialogTemplate);
  INT_PTR ExecuteIndirect(const void* dialogTemplate);
  HWND OwnerHandle() const;

  TResId Resource;
  bool Modal = false;
};
