// Response-table entries, the message record handlers receive, and the macros
// that bind messages, commands and child notifications to member handlers.
//
//   class TMyWindow : public TWindow { ... DECLARE_RESPONSE_TABLE(TMyWindow); };
//   DEFINE_RESPONSE_TABLE1(TMyWindow, TWindow)
//     EV_WM_TIMER(EvTimer),                   // void EvTimer(UINT_PTR id)
//     EV_COMMAND(101, CmRun),                 // void CmRun()
//     EV_COMMAND_ENABLE(101, CeRun),          // void CeRun(TCommandEnabler&)
//     EV_CHILD_NOTIFY(10, LBN_DBLCLK, Pick),  // void Pick()
//     EV_MESSAGE(WM_USER, EvUser),            // LRESULT EvUser(const TMessage&)
//   END_RESPONSE_TABLE;
//
// Typed handlers get the message's fields decoded; a handler that wants the
// platform's default as well calls DefaultProcessing with the message (the
// raw form) or the base class's handler. EV_MESSAGE is the escape hatch for
// messages without a typed macro; it refuses WM_COMMAND, which only the
// command and child-notification entries can bind.
#pragma once
#include <windows.h>

#include "framework/response_table.h"

class TWindow;
class TCommandEnabler;

// Private message number under which enabler entries are filed; never sent.
constexpr UINT WM_COMMAND_ENABLE = 0x7FFF;

// A message as the window procedure received it.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

struct TEventEntry {
  // The code of command entries (EV_COMMAND): any notification counts.
  static constexpr UINT AnyCode = 0xFFFFFFFFu;

  UINT Msg;   // the message, WM_COMMAND for command entries, WM_COMMAND_ENABLE for enablers
  UINT Id;    // the command or control id (command, notification and enabler entries only)
  UINT Code;  // a child notification's code, or AnyCode
  LRESULT (*Dispatch)(TWindow& window, const TMessage& message);
};

using TWindowResponseTable = TResponseTable<TEventEntry>;

// The message number of a raw entry: WM_COMMAND would be filed as command 0.
template <UINT Msg>
constexpr UINT RawEntryMessage() {
  static_assert(Msg != WM_COMMAND, "bind WM_COMMAND with EV_COMMAND or EV_CHILD_NOTIFY");
  static_assert(Msg != WM_COMMAND_ENABLE, "bind enablers with EV_COMMAND_ENABLE");
  return Msg;
}

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
  {0, 0, 0, nullptr}};                                                                 \
  static const TWindowResponseTable table{entries, &TBaseClass::ResponseTable()};      \
  return table;                                                                        \
  }                                                                                     \
  static_assert(true)

// An entry for `msg` whose dispatcher runs `body` with `self` (the window as
// TThisClass), `wp` and `lp` in scope; the body returns the result.
#define TESSEL_EV_ENTRY(msg, id, code, body)                                       \
  {msg, id, code, [](TWindow& w, const TMessage& m) -> LRESULT {                   \
     [[maybe_unused]] auto& self = static_cast<TThisClass&>(w);                    \
     [[maybe_unused]] const WPARAM wp = m.WParam;                                  \
     [[maybe_unused]] const LPARAM lp = m.LParam;                                  \
     body                                                                          \
   }}
#define TESSEL_EV_VOID(msg, call) TESSEL_EV_ENTRY(msg, 0, 0, self.call; return 0;)

// LRESULT method(const TMessage&): any message but WM_COMMAND.
#define EV_MESSAGE(msg, method) \
  TESSEL_EV_ENTRY(RawEntryMessage<msg>(), 0, 0, return self.method(m);)

// void method(): a menu, accelerator or posted command, or any notification of a control with the id.
#define EV_COMMAND(id, method) \
  TESSEL_EV_ENTRY(WM_COMMAND, id, TEventEntry::AnyCode, self.method(); return 0;)
// void method(): the notification `code` of the child control `id`.
#define EV_CHILD_NOTIFY(id, code, method) \
  TESSEL_EV_ENTRY(WM_COMMAND, id, code, self.method(); return 0;)
// void method(TCommandEnabler&)
#define EV_COMMAND_ENABLE(id, method) \
  TESSEL_EV_ENTRY(WM_COMMAND_ENABLE, id, TEventEntry::AnyCode, self.method(*reinterpret_cast<TCommandEnabler*>(lp)); return 0;)

// void method()
#define EV_WM_CLOSE(method) TESSEL_EV_VOID(WM_CLOSE, method())
#define EV_WM_MOUSELEAVE(method) TESSEL_EV_VOID(WM_MOUSELEAVE, method())
// void method(UINT sizeType, int cx, int cy)
#define EV_WM_SIZE(method) TESSEL_EV_VOID(WM_SIZE, method(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp)))
// void method(UINT_PTR timerId)
#define EV_WM_TIMER(method) TESSEL_EV_VOID(WM_TIMER, method(static_cast<UINT_PTR>(wp)))
// void method(HWND other): the window that lost (SETFOCUS) or gets (KILLFOCUS) the focus
#define EV_WM_SETFOCUS(method) TESSEL_EV_VOID(WM_SETFOCUS, method(reinterpret_cast<HWND>(wp)))
#define EV_WM_KILLFOCUS(method) TESSEL_EV_VOID(WM_KILLFOCUS, method(reinterpret_cast<HWND>(wp)))
// void method(UINT key, UINT repeatCount, UINT flags): flags are the high word of lParam
#define TESSEL_EV_KEY(msg, method) TESSEL_EV_VOID(msg, method(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp)))
#define EV_WM_KEYDOWN(method) TESSEL_EV_KEY(WM_KEYDOWN, method)
#define EV_WM_KEYUP(method) TESSEL_EV_KEY(WM_KEYUP, method)
#define EV_WM_SYSKEYDOWN(method) TESSEL_EV_KEY(WM_SYSKEYDOWN, method)
#define EV_WM_SYSKEYUP(method) TESSEL_EV_KEY(WM_SYSKEYUP, method)
#define EV_WM_CHAR(method) TESSEL_EV_KEY(WM_CHAR, method)
// void method(UINT modKeys, POINT point): the point in client coordinates
#define TESSEL_EV_MOUSE(msg, method) \
  TESSEL_EV_VOID(msg, method(static_cast<UINT>(wp), POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}))
#define EV_WM_MOUSEMOVE(method) TESSEL_EV_MOUSE(WM_MOUSEMOVE, method)
#define EV_WM_LBUTTONDOWN(method) TESSEL_EV_MOUSE(WM_LBUTTONDOWN, method)
#define EV_WM_LBUTTONUP(method) TESSEL_EV_MOUSE(WM_LBUTTONUP, method)
#define EV_WM_LBUTTONDBLCLK(method) TESSEL_EV_MOUSE(WM_LBUTTONDBLCLK, method)
// void method(UINT scrollCode, int thumbPos, HWND scrollBar): the bar is null for the window's own
#define TESSEL_EV_SCROLL(msg, method) \
  TESSEL_EV_VOID(msg, method(LOWORD(wp), static_cast<short>(HIWORD(wp)), reinterpret_cast<HWND>(lp)))
#define EV_WM_HSCROLL(method) TESSEL_EV_SCROLL(WM_HSCROLL, method)
#define EV_WM_VSCROLL(method) TESSEL_EV_SCROLL(WM_VSCROLL, method)
// void method(UINT item, UINT flags, HMENU menu)
#define EV_WM_MENUSELECT(method) \
  TESSEL_EV_VOID(WM_MENUSELECT, method(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp)))
// void method(UINT source, HWND window): source MSGF_MENU or MSGF_DIALOGBOX
#define EV_WM_ENTERIDLE(method) \
  TESSEL_EV_VOID(WM_ENTERIDLE, method(static_cast<UINT>(wp), reinterpret_cast<HWND>(lp)))
// clang-format on
