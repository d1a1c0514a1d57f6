#include "mantle/menu_template.h"

#include <cstddef>
#include <vector>

#include "mantle/resource_image.h"

namespace mantle {
namespace {

constexpr std::uint16_t kPopup = 0x0010;          // standard item opens a submenu
constexpr std::uint16_t kExtendedPopup = 0x0001;  // extended item opens a submenu
constexpr std::uint16_t kEnd = 0x0080;            // last item of its level

// Walks one template. Levels are tracked without recursion, so that deep
// nesting in a hostile file costs memory in proportion to the file only.
class MenuWalker {
 public:
  explicit MenuWalker(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Walk() {
    std::uint16_t version = 0;
    std::uint16_t offset = 0;
    if (!Word(version) || !Word(offset)) return false;
    if (version > 1) return false;
    at_ += offset;
    const bool extended = version == 1;
    std::vector<bool> open_popups_end;  // per open submenu: its popup item was the last
    for (;;) {
      std::uint16_t flags = 0;
      bool popup = false;
      if (extended) {
        std::uint16_t resinfo = 0;
        if (!Skip(12) || !Word(resinfo) || !String() || !AlignToDword()) return false;
        flags = resinfo;
        popup = (resinfo & kExtendedPopup) != 0;
        if (popup && !Skip(4)) return false;  // the submenu's help id
      } else {
        if (!Word(flags)) return false;
        popup = (flags & kPopup) != 0;
        if (!popup && !Skip(2)) return false;  // the item id
        if (!String()) return false;
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
  bool Skip(std::size_t n) {
    if (n > bytes_.size() || at_ > bytes_.size() - n) return false;
    at_ += n;
    return true;
  }
  bool Word(std::uint16_t& value) {
    if (at_ > bytes_.size() || bytes_.size() - at_ < 2) return false;
    value = ReadU16(bytes_, at_);
    at_ += 2;
    return true;
  }
  // A zero-terminated UTF-16 string.
  bool String() {
    std::uint16_t c = 0;
    do {
      if (!Word(c)) return false;
    } while (c != 0);
    return true;
  }
  // Extended items start on 4-byte boundaries; running off the end here is
  // harmless only when nothing follows, which the next read then reports.
  bool AlignToDword() {
    at_ = (at_ + 3) & ~std::size_t{3};
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

bool MenuTemplateFits(std::span<const std::uint8_t> menu_template) {
  return MenuWalker(menu_template).Walk();
}

}  // namespace mantle
