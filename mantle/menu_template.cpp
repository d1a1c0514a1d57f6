#include "mantle/menu_template.h"

#include <cstddef>
#include <vector>

#include "framework/template_reader.h"

namespace mantle {
namespace {

constexpr std::uint16_t kPopup = 0x0010;          // standard item opens a submenu
constexpr std::uint16_t kExtendedPopup = 0x0001;  // extended item opens a submenu
constexpr std::uint16_t kEnd = 0x0080;            // last item of its level

// Walks one template. Levels are tracked without recursion, so that deep
// nesting in a hostile file costs memory in proportion to the file only.
class MenuWalker {
 public:
  explicit MenuWalker(std::span<const std::uint8_t> bytes) : reader_(bytes) {}

  bool Walk() {
    std::uint16_t version = 0;
    std::uint16_t offset = 0;
    if (!reader_.Word(version) || !reader_.Word(offset)) return false;
    if (version > 1) return false;
    if (!reader_.Skip(offset)) return false;
    const bool extended = version == 1;
    std::vector<bool> open_popups_end;  // per open submenu: its popup item was the last
    for (;;) {
      std::uint16_t flags = 0;
      bool popup = false;
      if (extended) {
        std::uint16_t resinfo = 0;
        if (!reader_.Skip(12) || !reader_.Word(resinfo) || !reader_.String()) return false;
        reader_.AlignDWord();
        flags = resinfo;
        popup = (resinfo & kExtendedPopup) != 0;
        if (popup && !reader_.Skip(4)) return false;  // the submenu's help id
      } else {
        if (!reader_.Word(flags)) return false;
        popup = (flags & kPopup) != 0;
        if (!popup && !reader_.Skip(2)) return false;  // the item id
        if (!reader_.String()) return false;
      }
      bool end = (flags & kEnd) != 0;
      if (popup) {
        open_popups_end.push_back(end);
        continue;
      }
      // The last item closes its level, and the level of its popup when that
      // popup was the last item too.
      while (end) {
        if (open_popups_end.empty()) return true;
        end = open_popups_end.back();
        open_popups_end.pop_back();
      }
    }
  }

 private:
  TTemplateReader reader_;
};

}  // namespace

bool MenuTemplateFits(std::span<const std::uint8_t> menu_template) {
  return MenuWalker(menu_template).Walk();
}

}  // namespace mantle
