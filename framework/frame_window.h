// TFrameWindow: a top-level (or MDI child) frame around a client window. It
// carries the menu (from a resource or a TMenuDescr), and it lays out the
// decorations inserted at its top and bottom (tool bars, status bars) with
// the client window in the space between.
//
// With menu-selection tracking on, the frame shows command hints: it records
// the id of a WM_MENUSELECT and at the following WM_ENTERIDLE loads the
// string with that id (at most 127 characters) and passes it to the first
// decoration that shows hints (the status bar); the menu-closed form passes
// a null text at once. Gadget windows in hint mode "enter" report through
// the same two messages.
#pragma once
#include <memory>
#include <type_traits>
#include <vector>

#include "framework/decoration.h"
#include "framework/menu_descr.h"
#include "framework/window.h"

class TFrameWindow : public TWindow {
 public:
  enum TLocation { Top, Bottom };

  // The frame owns its client window (none: an empty frame).
  TFrameWindow(TWindow* parent, const char* title = nullptr, std::unique_ptr<TWindow> clientWnd = nullptr,
               bool trackMenuSelection = false);
  ~TFrameWindow() override;

  TWindow* GetClientWindow() const { return ClientWnd; }
  // Installs a menu resource now, or at creation.
  bool AssignMenu(TResId menu);
  // Installs the descriptor's menu (again, if the window exists).
  virtual void SetMenuDescr(const TMenuDescr& descr);

  // Decorations: the frame owns the window, a child created with the frame
  // (or at once, if the frame exists) and laid out in the given place.
  template <class T>
  T& Insert(std::unique_ptr<T> decoration, TLocation location) {
    T& inserted = *decoration;
    TDecoration* bar = nullptr;
    if constexpr (std::is_convertible_v<T*, TDecoration*>) bar = &inserted;
    InsertDecoration(std::move(decoration), bar, location);
    return inserted;
  }
  virtual void Layout();
  // Hands a hint to the decoration that shows hints (null: hint off).
  void SetHintText(const char* text);

  const char* GetClassName() override { return "TFrameWindow"; }
  void SetupWindow() override;
  TWindow* GetCommandTarget() override;

  void EvSize(UINT sizeType, int cx, int cy);
  void EvMenuSelect(UINT item, UINT flags, HMENU menu);
  void EvEnterIdle(UINT source, HWND window);

  DECLARE_RESPONSE_TABLE(TFrameWindow);

 protected:
  // Puts a menu on the bar; the frame owns it from then on.
  virtual void InstallMenu(HMENU menu);

  TWindow* ClientWnd;
  std::unique_ptr<TMenuDescr> MenuDescr;

 private:
  struct TPlacedDecoration {
    TWindow* Window;
    TDecoration* Bar;  // null for a plain window
    TLocation Location;
  };
  void InsertDecoration(std::unique_ptr<TWindow> window, TDecoration* bar, TLocation location);

  std::vector<TPlacedDecoration> Decorations;
  bool TrackMenuSelection;
  UINT MenuItemId = 0;
};
