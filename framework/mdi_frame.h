// TMDIFrame: the frame of an MDI program. Its client is a TMDIClient; its
// default processing is the platform's frame procedure; menu commands go to
// the active MDI child first (else the client), then up to the frame. Like
// every frame it lays out tool bars and status bars (TFrameWindow::Insert),
// so the decorated MDI frame is this class under its usual name.
#pragma once
#include "framework/frame_window.h"
#include "framework/mdi_client.h"

class TMDIFrame : public TFrameWindow {
 public:
  // The frame owns its client.
  TMDIFrame(const char* title, TResId menu, std::unique_ptr<TMDIClient> client,
            bool trackMenuSelection = false);

  TMDIClient* GetClientWindow() const { return Client; }
  const char* GetClassName() override { return "TMDIFrame"; }
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PreProcessMsg(MSG& msg) override;
  TWindow* GetCommandTarget() override;

  void EvSize(UINT sizeType, int cx, int cy);

  DECLARE_RESPONSE_TABLE(TMDIFrame);

 protected:
  void InstallMenu(HMENU menu) override;

 private:
  TMDIClient* Client;
};

using TDecoratedMDIFrame = TMDIFrame;
