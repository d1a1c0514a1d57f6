// Dialog templates in memory, both ways. TDialogTemplate builds a standard
// (not extended) template for dialogs that have no resource: the input
// dialog, and tests. ReadDialogTemplate walks a template, standard or
// extended, and gives back its fields. The byte layout is the platform's: a
// header, menu, class, caption, optional font, then each item DWORD-aligned.
// Platform-free.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/template_writer.h"

class TDialogTemplate {
 public:
  // Predefined control classes, by their atoms.
  enum TControlClass : uint16_t {
    Button = 0x80,
    Edit = 0x81,
    Static = 0x82,
    ListBox = 0x83,
    ScrollBar = 0x84,
    ComboBox = 0x85
  };
  static constexpr uint32_t DsSetFont = 0x40;

  // A class name of "" leaves the platform's dialog class; a point size of 0
  // writes no font (and clears DS_SETFONT).
  TDialogTemplate(uint32_t style, std::string_view caption, int16_t x, int16_t y, int16_t cx, int16_t cy,
                  std::string_view className = {}, uint16_t pointSize = 0, std::string_view face = {});

  void AddItem(TControlClass cls, uint16_t id, std::string_view text, uint32_t style, int16_t x, int16_t y,
               int16_t cx, int16_t cy);

  const std::vector<uint8_t>& Bytes() const { return Out.Bytes(); }
  // Aligned for the platform's DWORD reads.
  const void* Get() const { return Out.Bytes().data(); }
  uint16_t ItemCount() const { return Count; }

 private:
  TTemplateWriter Out;
  uint16_t Count = 0;
};

// A template as read back. Names are text: a string as written, an ordinal
// as "#n", a predefined item class by its platform name ("BUTTON", "EDIT",
// "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX").
struct TDialogItemInfo {
  uint32_t HelpId = 0;  // extended templates only
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int16_t X = 0, Y = 0, CX = 0, CY = 0;
  uint32_t Id = 0;  // 16 bits in a standard template
  std::string ClassName;
  std::string Text;
  uint16_t CreationDataSize = 0;
};

struct TDialogTemplateInfo {
  bool Extended = false;
  uint32_t HelpId = 0;  // extended templates only
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int16_t X = 0, Y = 0, CX = 0, CY = 0;
  std::string Menu;
  std::string ClassName;
  std::string Caption;
  uint16_t PointSize = 0;
  std::string Face;
  std::vector<TDialogItemInfo> Items;
};

// The fields of the template at the start of `bytes`; nothing unless the
// whole template, with every item and its creation data, lies inside them.
std::optional<TDialogTemplateInfo> ReadDialogTemplate(std::span<const uint8_t> bytes);
