#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/dialog_template.h"
#include "framework/filter_string.h"
#include "framework/item_text.h"
#include "framework/response_table.h"

namespace {

struct Entry {
  int Msg;
  int (*Dispatch)();
};

TEST(ResponseTable, OwnEntriesWinOverTheBaseAndUnknownMessagesFallThrough) {
  static const Entry base[] = {{1, [] { return 10; }}, {2, [] { return 20; }}, {0, nullptr}};
  static const Entry own[] = {{2, [] { return 21; }}, {3, [] { return 31; }}, {0, nullptr}};
  static const TResponseTable<Entry> baseTable{base, nullptr};
  static const TResponseTable<Entry> ownTable{own, &baseTable};
  auto find = [](int msg) {
    const Entry* e = ownTable.Find([msg](const Entry& x) { return x.Msg == msg; });
    return e ? e->Dispatch() : -1;
  };
  EXPECT_EQ(find(1), 10);  // only the base binds it
  EXPECT_EQ(find(2), 21);  // both do: the own entry wins
  EXPECT_EQ(find(3), 31);
  EXPECT_EQ(find(4), -1);
}

// An item source: "Transputer" at index 0; `fail` makes the text request fail.
struct ItemSource {
  bool fail = false;
  int Length(int index) const { return index == 0 ? 10 : -1; }
  int Text(char* out, int index) const {
    if (fail || index != 0) return -1;
    std::memcpy(out, "Transputer", 11);
    return 10;
  }
};

int CopyItem(const ItemSource& source, int index, char* buffer, int size) {
  return BoundedItemText(
      index, buffer, size, [&](int i) { return source.Length(i); },
      [&](char* out, int i) { return source.Text(out, i); });
}

TEST(ItemText, CopiesWithinTheBufferAndReportsFailures) {
  ItemSource source;
  char buffer[16];
  EXPECT_EQ(CopyItem(source, 0, buffer, sizeof buffer), 10);
  EXPECT_STREQ(buffer, "Transputer");

  // Cut to size - 1 characters and a NUL; nothing written past the size.
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(CopyItem(source, 0, buffer, 5), 4);
  EXPECT_STREQ(buffer, "Tran");
  EXPECT_EQ(buffer[5], 'x');

  // No item, no room, no buffer: -1 and the buffer untouched.
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(CopyItem(source, -1, buffer, sizeof buffer), -1);
  EXPECT_EQ(CopyItem(source, 3, buffer, sizeof buffer), -1);
  EXPECT_EQ(CopyItem(source, 0, buffer, 0), -1);
  EXPECT_EQ(CopyItem(source, 0, nullptr, 8), -1);
  EXPECT_EQ(buffer[0], 'x');

  // A failed text request is a failure, not an empty copy.
  source.fail = true;
  EXPECT_EQ(CopyItem(source, 0, buffer, sizeof buffer), -1);
  EXPECT_EQ(buffer[0], 'x');
}

TEST(FilterString, BarsBecomeNulsAndTheListEndsWithTwo) {
  const struct {
    const char* in;
    std::string out;
  } cases[] = {
      {"User Files(*.btl)|*.btl|", std::string("User Files(*.btl)\0*.btl\0", 24)},
      {"Text|*.txt", std::string("Text\0*.txt\0", 11)},  // no closing bar
      {"", std::string("\0", 1)},
  };
  for (const auto& c : cases) {
    const std::string converted = ConvertFilter(c.in);
    EXPECT_EQ(converted, c.out) << c.in;
    EXPECT_EQ(converted.c_str()[converted.size()], '\0');  // second terminator
  }
}

uint16_t WordAt(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t DWordAt(const std::vector<uint8_t>& b, size_t at) {
  return WordAt(b, at) | uint32_t{WordAt(b, at + 2)} << 16;
}

TEST(DialogTemplate, HeaderClassFontAndAlignedItems) {
  TDialogTemplate t(0x80C80000, "Ab", 1, 2, 30, 40, "OWLZDialog0000", 8, "Arial");
  t.AddItem(TDialogTemplate::Edit, 7, "x", 0x50000000, 3, 4, 5, 6);
  t.AddItem(TDialogTemplate::Button, 1, "OK", 0x50010001, 9, 9, 9, 9);
  const auto& b = t.Bytes();
  EXPECT_EQ(DWordAt(b, 0), 0x80C80000u | TDialogTemplate::DsSetFont);
  EXPECT_EQ(WordAt(b, 8), 2);    // item count
  EXPECT_EQ(WordAt(b, 14), 30);  // cx
  EXPECT_EQ(WordAt(b, 18), 0);   // no menu
  // The class name in UTF-16 from offset 20, as a dialog's class field reads.
  const char* name = "OWLZDialog0000";
  for (size_t i = 0; i < strlen(name); ++i) EXPECT_EQ(WordAt(b, 20 + 2 * i), name[i]);
  size_t at = 20 + 2 * (strlen(name) + 1);
  EXPECT_EQ(WordAt(b, at), 'A');
  at += 2 * 3;
  EXPECT_EQ(WordAt(b, at), 8);  // point size, then the face
  at += 2 + 2 * 6;
  at = (at + 3) & ~size_t{3};
  EXPECT_EQ(DWordAt(b, at), 0x50000000u);  // first item, DWORD-aligned
  EXPECT_EQ(WordAt(b, at + 16), 7);        // id
  EXPECT_EQ(WordAt(b, at + 18), 0xFFFF);
  EXPECT_EQ(WordAt(b, at + 20), TDialogTemplate::Edit);
  at += 22 + 4 + 2;  // "x" and NUL, no creation data
  at = (at + 3) & ~size_t{3};
  EXPECT_EQ(DWordAt(b, at), 0x50010001u);
}

TEST(DialogTemplate, NoFontClearsTheSetFontStyle) {
  TDialogTemplate t(0x80C80040, "", 0, 0, 1, 1);
  EXPECT_EQ(DWordAt(t.Bytes(), 0), 0x80C80000u);
  EXPECT_EQ(t.Bytes().size(), 24u);  // header, menu, class, empty caption
}

}  // namespace

namespace {

TEST(DialogTemplate, ReadsBackWhatItWroteAndRefusesEveryCut) {
  TDialogTemplate t(0x80C80000, "Setup", -1, 2, 30, 40, "OWLZDialog0000", 8, "Arial");
  t.AddItem(TDialogTemplate::ComboBox, 101, "", 0x50010003, 3, 4, 5, 6);
  t.AddItem(TDialogTemplate::Button, 1, "OK", 0x50010001, 9, 9, 9, 9);
  const auto dlg = ReadDialogTemplate(t.Bytes());
  ASSERT_TRUE(dlg);
  EXPECT_FALSE(dlg->Extended);
  EXPECT_EQ(dlg->Style, 0x80C80000u | TDialogTemplate::DsSetFont);
  EXPECT_EQ((std::vector<int>{dlg->X, dlg->Y, dlg->CX, dlg->CY}), (std::vector<int>{-1, 2, 30, 40}));
  EXPECT_EQ(dlg->ClassName, "OWLZDialog0000");
  EXPECT_EQ(dlg->Caption, "Setup");
  EXPECT_EQ(dlg->PointSize, 8);
  EXPECT_EQ(dlg->Face, "Arial");
  ASSERT_EQ(dlg->Items.size(), 2u);
  EXPECT_EQ(dlg->Items[0].ClassName, "COMBOBOX");
  EXPECT_EQ(dlg->Items[0].Id, 101u);
  EXPECT_EQ(dlg->Items[0].Style, 0x50010003u);
  EXPECT_EQ(dlg->Items[1].ClassName, "BUTTON");
  EXPECT_EQ(dlg->Items[1].Text, "OK");
  EXPECT_EQ((std::vector<int>{dlg->Items[1].X, dlg->Items[1].CY}), (std::vector<int>{9, 9}));
  for (size_t n = 0; n < t.Bytes().size(); ++n)
    EXPECT_FALSE(ReadDialogTemplate(std::span(t.Bytes().data(), n))) << "cut at " << n;
}

}  // namespace
