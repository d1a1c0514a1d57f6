#include "framework/dialog_template.h"

#include "framework/template_reader.h"

namespace {
constexpr size_t ItemCountOffset = 8;  // after style and extended style
constexpr uint16_t ExtendedSignature = 0xFFFF;
constexpr uint16_t ExtendedVersion = 1;
}  // namespace

TDialogTemplate::TDialogTemplate(uint32_t style, std::string_view caption, int16_t x, int16_t y, int16_t cx,
                                 int16_t cy, std::string_view className, uint16_t pointSize,
                                 std::string_view face) {
  if (pointSize)
    style |= DsSetFont;
  else
    style &= ~DsSetFont;
  Out.DWord(style).DWord(0);  // extended style
  Out.Word(0);                // item count, patched by AddItem
  Out.Word(static_cast<uint16_t>(x)).Word(static_cast<uint16_t>(y));
  Out.Word(static_cast<uint16_t>(cx)).Word(static_cast<uint16_t>(cy));
  Out.Word(0);  // no menu
  if (className.empty())
    Out.Word(0);
  else
    Out.String(className);
  Out.String(caption);
  if (pointSize) Out.Word(pointSize).String(face);
}

void TDialogTemplate::AddItem(TControlClass cls, uint16_t id, std::string_view text, uint32_t style,
                              int16_t x, int16_t y, int16_t cx, int16_t cy) {
  Out.AlignDWord().DWord(style).DWord(0);
  Out.Word(static_cast<uint16_t>(x)).Word(static_cast<uint16_t>(y));
  Out.Word(static_cast<uint16_t>(cx)).Word(static_cast<uint16_t>(cy));
  Out.Word(id).Ordinal(cls).String(text);
  Out.Word(0);  // no creation data
  Out.SetWord(ItemCountOffset, ++Count);
}

namespace {

bool ReadName(TTemplateReader& in, std::string& text, bool itemClass) {
  std::optional<uint16_t> ordinal;
  if (!in.NameOrOrdinal(&text, &ordinal)) return false;
  if (!ordinal) return true;
  static const char* const Predefined[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
  // Built apart and moved in: GCC 12 warns falsely (-Wrestrict) on assigning
  // a C string or "#" + string here.
  std::string name;
  if (itemClass && *ordinal >= TDialogTemplate::Button && *ordinal <= TDialogTemplate::ComboBox) {
    name = std::string(Predefined[*ordinal - TDialogTemplate::Button]);
  } else {
    name.push_back('#');
    name += std::to_string(*ordinal);
  }
  text = std::move(name);
  return true;
}

bool ReadPlace(TTemplateReader& in, int16_t& x, int16_t& y, int16_t& cx, int16_t& cy) {
  uint16_t w[4];
  for (uint16_t& v : w)
    if (!in.Word(v)) return false;
  x = static_cast<int16_t>(w[0]);
  y = static_cast<int16_t>(w[1]);
  cx = static_cast<int16_t>(w[2]);
  cy = static_cast<int16_t>(w[3]);
  return true;
}

bool ReadItem(TTemplateReader& in, bool extended, TDialogItemInfo& item) {
  in.AlignDWord();
  if (extended) {
    if (!in.DWord(item.HelpId) || !in.DWord(item.ExStyle) || !in.DWord(item.Style)) return false;
  } else if (!in.DWord(item.Style) || !in.DWord(item.ExStyle)) {
    return false;
  }
  if (!ReadPlace(in, item.X, item.Y, item.CX, item.CY)) return false;
  if (extended) {
    if (!in.DWord(item.Id)) return false;
  } else {
    uint16_t id = 0;
    if (!in.Word(id)) return false;
    item.Id = id;
  }
  return ReadName(in, item.ClassName, true) && ReadName(in, item.Text, false) &&
         in.Word(item.CreationDataSize) && in.Skip(item.CreationDataSize);
}

}  // namespace

std::optional<TDialogTemplateInfo> ReadDialogTemplate(std::span<const uint8_t> bytes) {
  TTemplateReader in(bytes);
  TDialogTemplateInfo dlg;
  uint16_t version = 0, signature = 0, count = 0;
  if (!in.Word(version) || !in.Word(signature)) return std::nullopt;
  dlg.Extended = version == ExtendedVersion && signature == ExtendedSignature;
  if (dlg.Extended) {
    if (!in.DWord(dlg.HelpId) || !in.DWord(dlg.ExStyle) || !in.DWord(dlg.Style)) return std::nullopt;
  } else {
    dlg.Style = uint32_t{signature} << 16 | version;
    if (!in.DWord(dlg.ExStyle)) return std::nullopt;
  }
  if (!in.Word(count) || !ReadPlace(in, dlg.X, dlg.Y, dlg.CX, dlg.CY)) return std::nullopt;
  if (!ReadName(in, dlg.Menu, false) || !ReadName(in, dlg.ClassName, false) || !in.String(&dlg.Caption))
    return std::nullopt;
  if (dlg.Style & TDialogTemplate::DsSetFont) {
    if (!in.Word(dlg.PointSize)) return std::nullopt;
    // Extended templates add weight, italic and character set.
    if (dlg.Extended && !in.Skip(4)) return std::nullopt;
    if (!in.String(&dlg.Face)) return std::nullopt;
  }
  // Item by item: a count the bytes cannot hold costs nothing up front.
  for (uint16_t i = 0; i < count; ++i) {
    TDialogItemInfo item;
    if (!ReadItem(in, dlg.Extended, item)) return std::nullopt;
    dlg.Items.push_back(std::move(item));
  }
  return dlg;
}
