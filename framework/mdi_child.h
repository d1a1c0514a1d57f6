// TMDIChild: a child frame inside an MDI client. It is created through the
// client (WM_MDICREATE), destroyed through it (WM_MDIDESTROY), and its
// default processing is the platform's MDI child procedure. WS_MAXIMIZE in
// its style creates it maximized.
#pragma once
#include "framework/frame_window.h"

class TMDIClient;

class TMDIChild : public TFrameWindow {
 public:
  // Insert the object into the client (InsertChild), which deletes it.
  explicit TMDIChild(TMDIClient& parent, const char* title = nullptr);
  ~TMDIChild() override;

  const char* GetClassName() override { return "TMDIChild"; }
  void Destroy(int retVal = 0) override;
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 protected:
  HWND PerformCreate() override;
};
