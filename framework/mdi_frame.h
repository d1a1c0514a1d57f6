// TMDIFrame: the frame of an MDI program. Its client is a TMDIClient; its
// default processing is the platform's frame procedure; menu commands go to
// the active MDI child first (else the client), then up to the frame.
#pragma once
#include "framework/frame_window.h"
#include "framework/mdi_client.h"

class TMDIFrame : public TFrameWindow {
 public:
  TMDIFrame(const char* title, TResId menu, TMDIClient& client, bool trackMenuSelection = false);

  TMDIClient* GetClientWindow() const { return static_cast<TMDIClient*>(ClientWnd); }
  const char* GetClassName() override { return "TMDIFrame"; }
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PreProcessMsg(MSG& msg) override;
  TWindow* GetCommandTarget() override;

  LRESULT EvSize(WPARAM, LPARAM);

  DECLARE_RESPONSE_TABLE(TMDIFrame);

 protected:
  void InstallMenu(HMENU menu) override;
};
