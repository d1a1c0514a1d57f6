// TApplication: the program's application object. It knows its name and
// module instance, builds the main window in InitMainWindow (a derived
// application overrides it), runs the message loop with idle-time command
// enabling, and loads resources from its module.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

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

  // Builds the main window (not yet created); override and call SetMainWindow.
  virtual void InitMainWindow() {}
  // Takes ownership of the main window; the previous one is deleted.
  template <class T>
  T& SetMainWindow(std::unique_ptr<T> window) {
    T& set = *window;
    ReplaceMainWindow(std::move(window));
    return set;
  }
  // Deletes the main window now (its destruction posts no quit message).
  void DeleteMainWindow();
  TFrameWindow* GetMainWindow() const { return MainWindow.get(); }
  bool IsMainWindow(const TWindow& window) const;

  // InitMainWindow, creation and showing of the main window, message loop.
  virtual int Run(int cmdShow = SW_SHOWNORMAL);
  virtual int MessageLoop();
  // Gives the main window (and so its gadget windows) idle time.
  virtual bool IdleAction(long idleCount);
  // Lets the main window translate a message before dispatch.
  virtual bool ProcessAppMsg(MSG& msg);

  int LoadString(UINT id, char* buffer, int size) const { return ::LoadStringA(Instance, id, buffer, size); }

 private:
  void ReplaceMainWindow(std::unique_ptr<TFrameWindow> window);

  std::string Name;
  HINSTANCE Instance;
  std::unique_ptr<TFrameWindow> MainWindow;
  TApplication* Previous = nullptr;
};
