#include "mantle/resource_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/template_writer.h"
#include "mantle/dialog_template.h"
#include "mantle/icon_image.h"
#include "mantle/menu_template.h"
#include "mantle/tests/res_builder.h"

namespace mantle {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::IconGroup;
using testing::IconImage;
using testing::ResBuilder;
using testing::StoreU32;

Bytes PatternBytes(std::uint16_t type, ResourceName name) {
  const auto pattern = BuildSearchPattern(type, name);
  if (!pattern) return {};
  const auto view = pattern->view();
  return Bytes(view.begin(), view.end());
}

Bytes DataOf(const std::optional<std::span<const std::uint8_t>>& found) {
  return found ? Bytes(found->begin(), found->end()) : Bytes{0xEE};
}

TEST(SearchPattern, TypeAndNameBytes) {
  EXPECT_EQ(PatternBytes(kDialogType, std::uint16_t{100}),
            (Bytes{0xFF, 0xFF, 0x05, 0x00, 0xFF, 0xFF, 0x64, 0x00}));
  EXPECT_EQ(PatternBytes(kMenuType, std::string_view("MAIN")),
            (Bytes{0xFF, 0xFF, 0x04, 0x00, 0x4D, 0x00, 0x41, 0x00, 0x49, 0x00, 0x4E, 0x00, 0x00, 0x00}));
  // Ids go low byte first; only the type's low byte is used.
  EXPECT_EQ(PatternBytes(0x0105, std::uint16_t{0x1234}),
            (Bytes{0xFF, 0xFF, 0x05, 0x00, 0xFF, 0xFF, 0x34, 0x12}));
  // Characters above 127 are widened as single bytes, not converted.
  EXPECT_EQ(PatternBytes(kMenuType, std::string_view("\xE9")),
            (Bytes{0xFF, 0xFF, 0x04, 0x00, 0xE9, 0x00, 0x00, 0x00}));
  EXPECT_EQ(PatternBytes(kMenuType, std::string_view("")).size(), 6u);
}

TEST(SearchPattern, NamesUpToTwentyNineCharacters) {
  const std::string longest(29, 'N');
  EXPECT_EQ(PatternBytes(kMenuType, std::string_view(longest)).size(), 2 * 29 + 6u);
  const std::string too_long(30, 'N');
  EXPECT_FALSE(BuildSearchPattern(kMenuType, std::string_view(too_long)));
}

class ResourceScan : public ::testing::Test {
 protected:
  std::optional<std::span<const std::uint8_t>> Find(std::uint16_t type, ResourceName name) {
    return FindResourceData(res.bytes, *BuildSearchPattern(type, name));
  }
  ResBuilder res;
};

TEST_F(ResourceScan, FindsEntriesByNumberAndExactName) {
  res.Add(kMenuType, std::string_view("MAIN"), {1, 2, 3});
  res.Add(kDialogType, std::uint16_t{100}, {4, 5, 6, 7, 8});
  res.Add(kMenuType, std::uint16_t{100}, {9});
  EXPECT_EQ(DataOf(Find(kMenuType, std::string_view("MAIN"))), (Bytes{1, 2, 3}));
  EXPECT_EQ(DataOf(Find(kDialogType, std::uint16_t{100})), (Bytes{4, 5, 6, 7, 8}));
  EXPECT_EQ(DataOf(Find(kMenuType, std::uint16_t{100})), (Bytes{9}));
  EXPECT_FALSE(Find(kMenuType, std::string_view("main")));
  EXPECT_FALSE(Find(kMenuType, std::string_view("MAI")));
  EXPECT_FALSE(Find(kDialogType, std::string_view("MAIN")));
  EXPECT_FALSE(Find(kMenuType, std::uint16_t{101}));
}

TEST_F(ResourceScan, FirstMatchAnywhereWinsEvenInsideAnotherEntrysData) {
  res.Add(kMenuType, std::string_view("TWIN"), {1});
  res.Add(kMenuType, std::string_view("TWIN"), {2, 2});
  EXPECT_EQ(DataOf(Find(kMenuType, std::string_view("TWIN"))), (Bytes{1}));

  // Data that happens to hold a type and name field is taken for an entry:
  // the 8 bytes before it become its data size and header size.
  ResBuilder inner;
  Bytes data = {3, 0, 0, 0, 16, 0, 0, 0, 0xFF, 0xFF, 4, 0, 0xFF, 0xFF, 5, 0, 0xA, 0xB, 0xC};
  inner.Add(kDialogType, std::uint16_t{1}, data);
  inner.Add(kMenuType, std::uint16_t{5}, {0x77});
  EXPECT_EQ(DataOf(FindResourceData(inner.bytes, *BuildSearchPattern(kMenuType, std::uint16_t{5}))),
            (Bytes{0xA, 0xB, 0xC}));
}

TEST_F(ResourceScan, EntriesReachingPastTheImageAreNotFound) {
  const std::size_t entry = res.Add(kMenuType, std::uint16_t{1}, {1, 2, 3, 4});
  const std::size_t header_size = res.bytes.size() - entry - 4;
  ASSERT_EQ(DataOf(Find(kMenuType, std::uint16_t{1})), (Bytes{1, 2, 3, 4}));

  const Bytes intact = res.bytes;
  struct Case {
    const char* what;
    std::size_t field;
    std::uint32_t value;
  };
  const Case cases[] = {
      {"data size one too many", entry, 5},
      {"data size wraps the sum", entry, 0xFFFFFFFF},
      {"header size points past the end", entry + 4, 0x7FFFFFFF},
      {"header size wraps the sum", entry + 4, 0xFFFFFFF8},
  };
  for (const Case& c : cases) {
    res.bytes = intact;
    StoreU32(res.bytes, c.field, c.value);
    EXPECT_FALSE(Find(kMenuType, std::uint16_t{1})) << c.what;
  }
  // The image cut inside the data.
  res.bytes = intact;
  res.bytes.resize(entry + header_size + 3);
  EXPECT_FALSE(Find(kMenuType, std::uint16_t{1}));
  // Empty data at the very end is still data.
  res.bytes = intact;
  StoreU32(res.bytes, entry, 0);
  res.bytes.resize(entry + header_size);
  const auto empty = Find(kMenuType, std::uint16_t{1});
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

TEST(ResourceScanBounds, MatchesStartAtOffsetEightAndFitWholly) {
  const Bytes pattern = PatternBytes(kMenuType, std::uint16_t{1});
  // A match at offset 0..7 would have no room for its sizes.
  Bytes image(pattern.begin(), pattern.end());
  image.resize(16, 0);
  EXPECT_FALSE(FindPattern(image, *BuildSearchPattern(kMenuType, std::uint16_t{1})));
  // Only part of the pattern fits at the end.
  Bytes tail(8, 0);
  tail.insert(tail.end(), pattern.begin(), pattern.end() - 1);
  EXPECT_FALSE(FindPattern(tail, *BuildSearchPattern(kMenuType, std::uint16_t{1})));
  EXPECT_FALSE(FindPattern({}, *BuildSearchPattern(kMenuType, std::uint16_t{1})));
  tail.push_back(pattern.back());
  EXPECT_EQ(FindPattern(tail, *BuildSearchPattern(kMenuType, std::uint16_t{1})), 8u);
}

TEST(IconGroupDirectory, FirstImageIdFromTheFirstEntry) {
  EXPECT_EQ(FirstIconImageId(IconGroup(0x0203, 3)), 0x0203);
  Bytes short_group = IconGroup(1);
  short_group.pop_back();
  EXPECT_FALSE(FirstIconImageId(short_group));
  EXPECT_FALSE(FirstIconImageId({}));
}

TEST(IconImageHeader, RewritesTheHeaderAndFindsTheBits) {
  Bytes image = IconImage(32, 32, 4);
  ASSERT_EQ(image.size(), 40 + 64 + 512 + 128u);
  const auto layout = PrepareIconImage(image);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 32);
  EXPECT_EQ(layout->height, 32);
  EXPECT_EQ(layout->bit_count, 4);
  EXPECT_EQ(layout->colour_offset, 104u);
  EXPECT_EQ(layout->colour_bytes, 512u);
  EXPECT_EQ(layout->mask_offset, 616u);
  const std::span<const std::uint8_t> header(image);
  EXPECT_EQ(ReadU32(header, 8), 32u);    // height halved
  EXPECT_EQ(ReadU32(header, 20), 512u);  // image size
  EXPECT_EQ(ReadU32(header, 32), 16u);   // colours used
  EXPECT_EQ(ReadU32(header, 36), 0u);    // important colours
}

TEST(IconImageHeader, OddHeightsHalveTowardZeroAndRowsAreNotPadded) {
  // 10 pixels at 4 bits: 5 bytes a row by the formula, 8 as the platform
  // reads colour rows, 2 for each mask row.
  Bytes image(40 + 64 + 32, 0);
  StoreU32(image, 0, 40);
  StoreU32(image, 4, 10);
  StoreU32(image, 8, 9);  // halves to 4
  image[14] = 4;
  const auto layout = PrepareIconImage(image);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->height, 4);
  EXPECT_EQ(layout->colour_bytes, 20u);
  EXPECT_EQ(layout->mask_offset, 124u);
  image.pop_back();  // padded colour rows no longer fit
  StoreU32(image, 8, 9);
  EXPECT_FALSE(PrepareIconImage(image));
}

TEST(IconImageHeader, RefusesImagesThePlatformWouldReadPast) {
  const Bytes good = IconImage(32, 32, 4);
  struct Case {
    const char* what;
    std::size_t at;       // field to change, or SIZE_MAX to cut the block
    std::uint32_t value;  // new field value, or new block size
    bool byte_field = false;
  };
  const Case cases[] = {
      {"no room for the header", SIZE_MAX, 39},
      {"colour table cut", SIZE_MAX, 100},
      {"colour bits one byte short", SIZE_MAX, 104 + 511},
      {"mask bits one byte short", SIZE_MAX, 744 - 1},
      {"bit count 0", 14, 0, true},
      {"bit count 9", 14, 9, true},
      {"bit count 32", 14, 32, true},
      {"header of another size", 0, 108},
      {"compressed bits", 16, 2},
      {"width 0", 4, 0},
      {"negative width", 4, 0xFFFFFFE0},
      {"height 1 halves to 0", 8, 1},
      {"negative height", 8, 0xFFFFFFC0},
      {"width far beyond the block", 4, 0x7FFFFFFF},
      {"height far beyond the block", 8, 0x7FFFFFFE},
  };
  for (const Case& c : cases) {
    Bytes image = good;
    if (c.at == SIZE_MAX) {
      image.resize(c.value);
    } else if (c.byte_field) {
      image[c.at] = static_cast<std::uint8_t>(c.value);
    } else {
      StoreU32(image, c.at, c.value);
    }
    const Bytes before = image;
    EXPECT_FALSE(PrepareIconImage(image)) << c.what;
    EXPECT_EQ(image, before) << c.what;
  }
  // 8 bits per pixel is the deepest image taken.
  Bytes deep = IconImage(16, 16, 8);
  EXPECT_TRUE(PrepareIconImage(deep));
}

// A standard dialog template's fixed header, menu 0, then the class field's
// UTF-16 characters as given, and `trailing_bytes` of zeros.
Bytes DialogTemplate(std::u16string class_field, std::size_t trailing_bytes = 4) {
  TTemplateWriter t;
  t.DWord(0x90C80000).Fill(14, 0).Word(0);
  for (const char16_t c : class_field) t.Word(c);
  t.Fill(trailing_bytes, 0);
  return t.Bytes();
}

TEST(DialogTemplateClass, WritesTheDigitsIntoThePlaceholders) {
  Bytes t = DialogTemplate(u"OWLZDialog0000");
  ASSERT_EQ(FindDialogClassField(t), 20u);
  ASSERT_TRUE(PrepareDialogTemplate(t, {'1', 'A', '2', 'F'}));
  EXPECT_EQ(ReadU32(t, 0), 0x90C80004u);
  const Bytes expected_field = {'O', 0, 'W', 0, 'L', 0, 'Z', 0, 'D', 0, 'i', 0, 'a', 0,
                                'l', 0, 'o', 0, 'g', 0, '1', 0, 'A', 0, '2', 0, 'F', 0};
  EXPECT_EQ(Bytes(t.begin() + 20, t.begin() + 48), expected_field);
}

TEST(DialogTemplateClass, WritesOnlyLowBytesAndNeverPastTheTemplate) {
  // The placeholders' high bytes stay as the template has them.
  Bytes wide = DialogTemplate(u"OWLZDialog\x0100\x0100\x0100\x0100");
  ASSERT_TRUE(PrepareDialogTemplate(wide, {'0', '0', '0', '1'}));
  EXPECT_EQ(wide[20 + 27], 0x01);
  EXPECT_EQ(wide[20 + 26], '1');

  // The four placeholders exactly at the end are inside.
  Bytes exact = DialogTemplate(u"OWLZDialog0000", 0);
  EXPECT_TRUE(PrepareDialogTemplate(exact, {'1', '2', '3', '4'}));
  // Three placeholders left: the fourth would be written past the end.
  Bytes cut = DialogTemplate(u"OWLZDialog000", 0);
  const Bytes before = cut;
  EXPECT_FALSE(PrepareDialogTemplate(cut, {'1', '2', '3', '4'}));
  EXPECT_EQ(cut, before);
}

TEST(DialogTemplateClass, OtherClassesAndMatchesInTheFixedHeaderDoNotCount) {
  for (const std::u16string& field :
       {std::u16string(u"OWLZDIALOG0000"), std::u16string(u"Edit"), std::u16string(u"OWLZDialo")}) {
    Bytes t = DialogTemplate(field, 16);
    EXPECT_FALSE(PrepareDialogTemplate(t, {'1', '2', '3', '4'}));
  }
  // "OWLZDialog" starting inside the 18-byte fixed header is not a class field.
  Bytes early(2, 0);
  for (const char c : std::string("OWLZDialog0000")) {
    early.push_back(static_cast<std::uint8_t>(c));
    early.push_back(0);
  }
  early.resize(64, 0);
  EXPECT_FALSE(FindDialogClassField(early));
  EXPECT_FALSE(FindDialogClassField({}));
}

// Dialog templates built field by field, standard or extended.
class DialogBytes {
 public:
  DialogBytes(bool extended, std::uint32_t style, std::uint16_t items) : extended_(extended) {
    if (extended) {
      out_.Word(1).Word(0xFFFF).DWord(0).DWord(0).DWord(style);  // version, signature, help id, extended style
    } else {
      out_.DWord(style).DWord(0);
    }
    out_.Word(items);
    for (int i = 0; i < 4; ++i) out_.Word(10);
  }
  DialogBytes& Word(std::uint16_t v) {
    out_.Word(v);
    return *this;
  }
  DialogBytes& Text(const std::string& text) {
    out_.String(text);
    return *this;
  }
  DialogBytes& Ordinal(std::uint16_t id) {
    out_.Ordinal(id);
    return *this;
  }
  DialogBytes& Font(const std::string& face) {
    out_.Word(8);
    if (extended_) out_.Word(400).Word(0);
    return Text(face);
  }
  DialogBytes& Item(const std::string& title, std::uint16_t class_atom, std::uint16_t data_bytes) {
    out_.AlignDWord();
    for (int i = 0; i < (extended_ ? 3 : 2); ++i) out_.DWord(0);
    for (int i = 0; i < 4; ++i) out_.Word(5);
    if (extended_)
      out_.DWord(1);
    else
      out_.Word(1);
    out_.Ordinal(class_atom).String(title).Word(data_bytes).Fill(data_bytes, 0xAB);
    return *this;
  }
  Bytes bytes() const { return out_.Bytes(); }

 private:
  TTemplateWriter out_;
  bool extended_;
};

TEST(DialogTemplateExtent, WholeTemplatesFitAndEveryCutOneIsRefused) {
  constexpr std::uint32_t kSetFontStyle = 0x90C80040;
  const Bytes templates[] = {
      DialogBytes(false, kSetFontStyle, 2)
          .Word(0)
          .Text("OWLZDialog0000")
          .Text("Caption")
          .Font("MS Sans Serif")
          .Item("OK", 0x80, 0)
          .Item("Name", 0x81, 6)
          .bytes(),
      DialogBytes(false, 0x90C80000, 1).Ordinal(7).Word(0).Text("").Item("", 0x82, 0).bytes(),
      DialogBytes(true, kSetFontStyle, 2)
          .Text("MENU")
          .Text("OWLZDialog0000")
          .Text("Ex")
          .Font("Tahoma")
          .Item("OK", 0x80, 3)
          .Item("Cancel", 0x80, 0)
          .bytes(),
  };
  for (const Bytes& whole : templates) {
    EXPECT_TRUE(DialogTemplateFits(whole));
    for (std::size_t n = 0; n < whole.size(); ++n) {
      EXPECT_FALSE(DialogTemplateFits(std::span(whole.data(), n))) << "cut at " << n;
    }
  }
  // An item count beyond the items present.
  Bytes more = templates[1];
  more[8] = 2;
  EXPECT_FALSE(DialogTemplateFits(more));
}

#ifdef MANTLE_TEST_RES
// The resource compiler's own output: upper-cased names, icon groups naming
// their images, and the dialog class field kept in its case.
TEST(CompiledResourceFile, LoaderFindsWhatTheCompilerWrote) {
  std::ifstream file(MANTLE_TEST_RES, std::ios::binary);
  ASSERT_TRUE(file) << MANTLE_TEST_RES;
  const Bytes image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto find = [&](std::uint16_t type, ResourceName name) {
    return FindResourceData(image, *BuildSearchPattern(type, name));
  };
  const auto main_menu = find(kMenuType, std::string_view("MAIN"));
  ASSERT_TRUE(main_menu);
  EXPECT_TRUE(MenuTemplateFits(*main_menu));
  EXPECT_FALSE(find(kMenuType, std::string_view("Main")));
  EXPECT_TRUE(find(kMenuType, std::uint16_t{100}));
  const auto twin = find(kMenuType, std::string_view("TWIN"));
  ASSERT_TRUE(twin);
  EXPECT_NE(std::string(twin->begin(), twin->end()).find('F'), std::string::npos);  // "First"

  const auto group = find(kIconGroupType, std::string_view("APPICON"));
  ASSERT_TRUE(group);
  const auto first = FirstIconImageId(*group);
  ASSERT_TRUE(first);
  const auto icon = find(kIconImageType, *first);
  ASSERT_TRUE(icon);
  Bytes copy(icon->begin(), icon->end());
  const auto layout = PrepareIconImage(copy);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 32);
  EXPECT_EQ(layout->bit_count, 4);

  const auto dialog = find(kDialogType, std::string_view("SETTINGS"));
  ASSERT_TRUE(dialog);
  Bytes dialog_copy(dialog->begin(), dialog->end());
  EXPECT_TRUE(PrepareDialogTemplate(dialog_copy, {'B', 'E', 'E', 'F'}));
  const auto plain = find(kDialogType, std::string_view("PLAIN"));
  ASSERT_TRUE(plain);
  EXPECT_FALSE(FindDialogClassField(*plain));
  EXPECT_TRUE(DialogTemplateFits(*dialog));
  EXPECT_TRUE(DialogTemplateFits(*plain));
}
#endif

}  // namespace
}  // namespace mantle
