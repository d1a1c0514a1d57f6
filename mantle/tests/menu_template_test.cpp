#include "mantle/menu_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/template_writer.h"

namespace mantle {
namespace {

using Bytes = std::vector<std::uint8_t>;

class MenuBytes {
 public:
  explicit MenuBytes(std::uint16_t version) {
    out_.Word(version).Word(version == 1 ? 4 : 0);
    if (version == 1) out_.DWord(0);  // help id
  }
  MenuBytes& Item(std::uint16_t flags, std::uint16_t id, const std::string& text) {
    out_.Word(flags);
    if ((flags & 0x10) == 0) out_.Word(id);
    out_.String(text);
    return *this;
  }
  MenuBytes& ExItem(std::uint16_t resinfo, std::uint32_t id, const std::string& text) {
    out_.DWord(0).DWord(0).DWord(id);  // type, state, id
    out_.Word(resinfo).String(text).AlignDWord();
    if (resinfo & 1) out_.DWord(0);  // submenu help id
    return *this;
  }
  Bytes bytes() const { return out_.Bytes(); }

 private:
  TTemplateWriter out_;
};

constexpr std::uint16_t kPopup = 0x10;
constexpr std::uint16_t kEnd = 0x80;

// Every prefix of a whole template must be refused: each would make the
// platform read past the block.
void ExpectFitsOnlyWhole(const Bytes& whole) {
  EXPECT_TRUE(MenuTemplateFits(whole));
  for (std::size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(MenuTemplateFits(std::span(whole.data(), n))) << "cut at " << n;
  }
}

TEST(MenuTemplate, StandardMenusEndWhereTheirLastMarksSay) {
  // File > (Open, Recent > (One, Two)), Help
  const Bytes menu = MenuBytes(0)
                         .Item(kPopup, 0, "&File")
                         .Item(0, 101, "&Open")
                         .Item(kPopup | kEnd, 0, "Recent")
                         .Item(0, 111, "One")
                         .Item(kEnd, 112, "Two")
                         .Item(kEnd, 103, "&Help")
                         .bytes();
  ExpectFitsOnlyWhole(menu);
  // Bytes after the menu are the next resource's business.
  Bytes padded = menu;
  padded.resize(padded.size() + 8, 0xCC);
  EXPECT_TRUE(MenuTemplateFits(padded));
}

TEST(MenuTemplate, MissingLastMarksOrUnknownVersionsAreRefused) {
  EXPECT_FALSE(MenuTemplateFits(MenuBytes(0).Item(0, 1, "A").Item(0, 2, "B").bytes()));
  // The submenu ends, the top level never does.
  EXPECT_FALSE(MenuTemplateFits(MenuBytes(0).Item(kPopup, 0, "P").Item(kEnd, 1, "A").bytes()));
  Bytes v2 = MenuBytes(0).Item(kEnd, 1, "A").bytes();
  v2[0] = 2;
  EXPECT_FALSE(MenuTemplateFits(v2));
  // A header offset past the end.
  Bytes far = MenuBytes(0).Item(kEnd, 1, "A").bytes();
  far[2] = 0xFF;
  far[3] = 0xFF;
  EXPECT_FALSE(MenuTemplateFits(far));
}

TEST(MenuTemplate, ExtendedMenusWithAlignedItems) {
  const Bytes menu = MenuBytes(1)
                         .ExItem(1, 400, "&Tools")
                         .ExItem(0, 401, "Run")
                         .ExItem(kEnd, 402, "&Stop")
                         .ExItem(kEnd, 403, "&About")
                         .bytes();
  ExpectFitsOnlyWhole(menu);
}

TEST(MenuTemplate, DeepNestingIsWalkedWithoutRecursion) {
  MenuBytes deep(0);
  constexpr int kDepth = 100000;
  for (int i = 0; i < kDepth; ++i) deep.Item(kPopup | kEnd, 0, "");
  deep.Item(kEnd, 1, "");
  Bytes whole = deep.bytes();
  EXPECT_TRUE(MenuTemplateFits(whole));
  whole.resize(whole.size() - 2);
  EXPECT_FALSE(MenuTemplateFits(whole));
}

}  // namespace
}  // namespace mantle
