// TApplication: the program's application object. It knows its name and
// module instance, builds the main window in InitMainWindow (a derived
// application overrides it), runs the message loop with idle-time command
// enabling, and loads resources from its module.
#pragma once
#include <windows.h>

#include <string>

#include "framework/event.h"

class TWindow;
class TFrameWindow;

class TApplication {
 public:
  // The instance defaults to the program's; a DLL passes its own.
  explicit TApplication(const char* name, HINSTANCE instance = nullptr);
  virtual ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The most recently constructed application of this module, or null.
  static TApplication* Current();

  const char* GetName() const { return Name.c_str(); }
  HINSTANCE GetInstance() const { return Instance; }
  const TCurrentEvent& GetCurrentEvent() const;

  // Builds the main window (not yet created); override and call SetMainWindow.
  virtual void InitMainWindow() {}
  void SetMainWindow(TFrameWindow* window);  // takes ownership
  TFrameWindow* GetMainWindow() const { return MainWindow; }

  // InitMainWindow, creation and showing of the main window, message loop.
  virtual int Run(int cmdShow = SW_SHOWNORMAL);
  virtual int MessageLoop();
  // Gives the main window (and so its gadget windows) idle time.
  virtual bool IdleAction(long idleCount);
  // Lets the main window translate a message before dispatch.
  virtual bool ProcessAppMsg(MSG& msg);

  HBITMAP LoadBitmap(LPCSTR name) const { return ::LoadBitmapA(Instance, name); }
  HICON LoadIcon(LPCSTR name) const { return ::LoadIconA(Instance, name); }
  HMENU LoadMenu(LPCSTR name) const { return ::LoadMenuA(Instance, name); }
  int LoadString(UINT id, char* buffer, int size) const { return ::LoadStringA(Instance, id, buffer, size); }

 private:
  std::string Name;
  HINSTANCE Instance;
  TFrameWindow* MainWindow = nullptr;
  TApplication* Previous = nullptr;
};
