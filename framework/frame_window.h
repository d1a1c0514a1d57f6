// TFrameWindow: a top-level (or MDI child) frame around a client window. It
// carries the menu (from a resource or a TMenuDescr), and it lays out the
// decorations inserted at its top and bottom (tool bars, status bars) with
// the client window in the space between.
//
// With menu-selection tracking on, the frame shows command hints: it records
// the id of a WM_MENUSELECT and at the following WM_ENTERIDLE loads the
// string with that id (at most 127 characters) and passes it to the status
// bar's SetHintText; the menu-closed form passes a null text at once. Gadget
// windows in hint mode "enter" report through the same two messages.
#pragma once
#include <memory>
#include <vector>

#include "framework/menu_descr.h"
#include "framework/window.h"

class TStatusBar;

class TFrameWindow : public TWindow {
 public:
  enum TLocation { Top, Bottom };

  TFrameWindow(TWindow* parent, const char* title = nullptr, TWindow* clientWnd = nullptr,
               bool trackMenuSelection = false);
  ~TFrameWindow() override;

  TWindow* GetClientWindow() const { return ClientWnd; }
  // Installs a menu resource now, or at creation.
  bool AssignMenu(TResId menu);
  // Installs the descriptor's menu (again, if the window exists).
  virtual void SetMenuDescr(const TMenuDescr& descr);
  const TMenuDescr* GetMenuDescr() const { return MenuDescr.get(); }

  // Decorations: the window becomes a child of the frame, created with it.
  void Insert(TWindow& decoration, TLocation location);
  virtual void Layout();
  // Hands a hint to the status bar among the decorations (null: hint off).
  void SetHintText(const char* text);
  TStatusBar* GetStatusBar() const;
  bool GetTrackMenuSelection() const { return TrackMenuSelection; }
  void SetTrackMenuSelection(bool track) { TrackMenuSelection = track; }

  const char* GetClassName() override { return "TFrameWindow"; }
  void SetupWindow() override;
  TWindow* GetCommandTarget() override;

  LRESULT EvSize(WPARAM, LPARAM);
  LRESULT EvMenuSelect(WPARAM, LPARAM);
  LRESULT EvEnterIdle(WPARAM, LPARAM);

  DECLARE_RESPONSE_TABLE(TFrameWindow);

 protected:
  // Puts a menu on the bar; the frame owns it from then on.
  virtual void InstallMenu(HMENU menu);

  TWindow* ClientWnd;
  std::unique_ptr<TMenuDescr> MenuDescr;

 private:
  struct TDecoration {
    TWindow* Window;
    TLocation Location;
  };
  std::vector<TDecoration> Decorations;
  bool TrackMenuSelection;
  UINT MenuItemId = 0;
};
