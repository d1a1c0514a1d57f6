// Response-table entries, the current-event record and the macros that bind
// messages and command ids to member handlers.
//
//   class TMyWindow : public TWindow { ... DECLARE_RESPONSE_TABLE(TMyWindow); };
//   DEFINE_RESPONSE_TABLE1(TMyWindow, TWindow)
//     EV_MESSAGE(WM_TIMER, EvTimer),          // LRESULT EvTimer(WPARAM, LPARAM)
//     EV_COMMAND(101, CmRun),                 // void CmRun()
//     EV_COMMAND_ENABLE(101, CeRun),          // void CeRun(TCommandEnabler&)
//   END_RESPONSE_TABLE;
#pragma once
#include <windows.h>

#include "framework/response_table.h"

class TWindow;
class TCommandEnabler;

// Private message number under which enabler entries are filed; never sent.
constexpr UINT WM_COMMAND_ENABLE = 0x7FFF;

struct TEventEntry {
  UINT Msg;  // the message, WM_COMMAND for command entries, WM_COMMAND_ENABLE for enablers
  UINT Id;   // the command id (command and enabler entries only)
  LRESULT (*Dispatch)(TWindow& window, WPARAM wParam, LPARAM lParam);
};

using TWindowResponseTable = TResponseTable<TEventEntry>;

// The message being dispatched: set around every message a library window receives.
struct TCurrentEvent {
  TWindow* Win = nullptr;
  UINT Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

// clang-format off
#define DECLARE_RESPONSE_TABLE(cls)                                              \
 public:                                                                         \
  static const TWindowResponseTable& ResponseTable();                            \
  const TWindowResponseTable& GetResponseTable() const override { return ResponseTable(); }

#define DEFINE_RESPONSE_TABLE1(cls, base)             \
  const TWindowResponseTable& cls::ResponseTable() {  \
    using TThisClass = cls;                           \
    using TBaseClass = base;                          \
    static const TEventEntry entries[] = {

#define END_RESPONSE_TABLE                                                              \
  {0, 0, nullptr}};                                                                    \
  static const TWindowResponseTable table{entries, &TBaseClass::ResponseTable()};      \
  return table;                                                                        \
  }                                                                                     \
  static_assert(true)

// LRESULT method(WPARAM, LPARAM)
#define EV_MESSAGE(msg, method)                                                    \
  {msg, 0, [](TWindow& w, WPARAM wp, LPARAM lp) -> LRESULT {                       \
     return static_cast<TThisClass&>(w).method(wp, lp);                            \
   }}

// void method(): any notification code of the id counts
#define EV_COMMAND(id, method)                                                     \
  {WM_COMMAND, id, [](TWindow& w, WPARAM, LPARAM) -> LRESULT {                     \
     static_cast<TThisClass&>(w).method();                                         \
     return 0;                                                                     \
   }}

// void method(TCommandEnabler&)
#define EV_COMMAND_ENABLE(id, method)                                              \
  {WM_COMMAND_ENABLE, id, [](TWindow& w, WPARAM, LPARAM lp) -> LRESULT {           \
     static_cast<TThisClass&>(w).method(*reinterpret_cast<TCommandEnabler*>(lp));  \
     return 0;                                                                     \
   }}
// clang-format on
