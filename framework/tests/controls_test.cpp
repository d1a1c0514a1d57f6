// The control operations, on controls created in a library window.
#include <gtest/gtest.h>

#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/edit.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/radio_button.h"
#include "framework/static.h"
#include "framework/tests/test_support.h"

namespace {

struct ControlsFixture : ::testing::Test {
  TTopWindow Parent;
  void SetUp() override { ASSERT_TRUE(Parent.Create()); }
  static DWORD Style(TWindow* w) { return static_cast<DWORD>(GetWindowLongPtrA(w->HWindow, GWL_STYLE)); }
};

TEST_F(ControlsFixture, ListBoxStringsAndSelection) {
  auto* list = &Parent.InsertChild(std::make_unique<TListBox>(&Parent, 10, 0, 0, 150, 100));
  ASSERT_TRUE(list->Create());
  EXPECT_EQ(TWindow::GetWindowPtr(list->HWindow), list);
  EXPECT_EQ(GetDlgCtrlID(list->HWindow), 10);
  EXPECT_EQ(list->Attr.Style & LBS_STANDARD,
            DWORD{LBS_STANDARD});  // the platform may drop an unneeded scroll bar

  EXPECT_EQ(list->AddString("Charlie"), 0);
  EXPECT_EQ(list->AddString("Alpha"), 0);  // sorted
  EXPECT_EQ(list->InsertString("Bravo", 1), 1);
  EXPECT_EQ(list->GetCount(), 3);
  char text[32];
  EXPECT_EQ(list->GetStringLen(2), 7);
  EXPECT_EQ(list->GetString(text, 2), 7);
  EXPECT_STREQ(text, "Charlie");

  EXPECT_EQ(list->GetSelIndex(), -1);
  EXPECT_EQ(list->GetSelString(text, sizeof text), -1);
  EXPECT_EQ(list->SetSelString("br", -1), 1);  // prefix, ignoring case
  EXPECT_EQ(list->GetSelIndex(), 1);
  list->SetSelIndex(0);
  EXPECT_EQ(list->GetSelString(text, sizeof text), 5);
  EXPECT_STREQ(text, "Alpha");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(list->GetSelString(small, sizeof small), 3);  // cut to fit, never past the buffer
  EXPECT_STREQ(small, "Alp");

  EXPECT_EQ(list->DeleteString(0), 2);
  list->ClearList();
  EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(ControlsFixture, MultipleSelectionListHasNoSingleSelection) {
  int id = 11;
  for (DWORD style : {LBS_MULTIPLESEL, LBS_EXTENDEDSEL}) {
    auto* list = &Parent.InsertChild(std::make_unique<TListBox>(&Parent, id++, 0, 0, 150, 100));
    list->Attr.Style |= style;
    ASSERT_TRUE(list->Create());
    list->AddString("one");
    EXPECT_EQ(list->SetSelIndex(0), -1) << style;
    EXPECT_EQ(list->GetSelIndex(), -1) << style;
    EXPECT_EQ(list->SetSelString("one", -1), -1) << style;
  }
}

TEST_F(ControlsFixture, ComboBoxListDropDownAndSettingToAText) {
  auto* combo = &Parent.InsertChild(
      std::make_unique<TComboBox>(&Parent, 20, 0, 0, 150, 120, CBS_DROPDOWN | WS_VSCROLL | CBS_SORT, 16));
  ASSERT_TRUE(combo->Create());
  combo->AddString("Inmos B004");
  combo->AddString("Inmos (iserver)");
  EXPECT_EQ(combo->GetCount(), 2);
  char text[32];
  EXPECT_EQ(combo->GetStringLen(0), 15);
  combo->GetString(text, 0);
  EXPECT_STREQ(text, "Inmos (iserver)");

  combo->SetText("inmos b");  // the first item beginning so, ignoring case
  EXPECT_EQ(combo->GetSelIndex(), 1);
  EXPECT_EQ(combo->GetSelString(text, sizeof text), 10);
  EXPECT_STREQ(text, "Inmos B004");

  combo->SetText("Other");  // none: written and all selected
  combo->GetText(text, sizeof text);
  EXPECT_STREQ(text, "Other");
  DWORD start = 1, end = 0;
  combo->SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);

  EXPECT_EQ(combo->SetSelString("INMOS (", -1), 0);
  combo->ShowList();
  EXPECT_TRUE(combo->SendMessage(CB_GETDROPPEDSTATE));
  combo->HideList();
  EXPECT_FALSE(combo->SendMessage(CB_GETDROPPEDSTATE));
  EXPECT_EQ(combo->DeleteString(0), 1);
  combo->ClearList();
  EXPECT_EQ(combo->GetCount(), 0);
}

TEST_F(ControlsFixture, EditStaticButtonsAndTheirDefaultStyles) {
  auto* edit = &Parent.InsertChild(std::make_unique<TEdit>(&Parent, 30, "start", 0, 0, 100, 20, 11));
  auto* multi = &Parent.InsertChild(std::make_unique<TEdit>(&Parent, 31, "", 0, 30, 100, 60, 0, true));
  auto* label = &Parent.InsertChild(std::make_unique<TStatic>(&Parent, 32, "Label", 0, 100, 100, 20));
  auto* push = &Parent.InsertChild(std::make_unique<TButton>(&Parent, 33, "Push", 0, 130, 60, 20));
  auto* def = &Parent.InsertChild(std::make_unique<TButton>(&Parent, 34, "Default", 70, 130, 60, 20, true));
  auto* group = &Parent.InsertChild(std::make_unique<TGroupBox>(&Parent, 35, "Group", 200, 0, 150, 100));
  auto* check =
      &Parent.InsertChild(std::make_unique<TCheckBox>(&Parent, 36, "Check", 210, 20, 100, 20, group));
  auto* radio =
      &Parent.InsertChild(std::make_unique<TRadioButton>(&Parent, 37, "Radio", 210, 50, 100, 20, group));
  for (TWindow* w : std::vector<TWindow*>{edit, multi, label, push, def, group, check, radio})
    ASSERT_TRUE(w->Create());

  EXPECT_EQ(edit->Attr.Style & (ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
            DWORD{ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP});
  EXPECT_EQ(Style(multi) & (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL),
            DWORD{ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL});
  EXPECT_EQ(edit->SendMessage(EM_GETLIMITTEXT), 10);  // the limit counts the NUL
  char text[8];
  EXPECT_EQ(edit->GetText(text, sizeof text), 5);
  edit->SetText("0123456789");
  EXPECT_EQ(edit->GetText(text, sizeof text), 7);  // bounded by the buffer
  EXPECT_STREQ(text, "0123456");

  EXPECT_FALSE(Style(label) & WS_TABSTOP);
  label->SetText("New");
  EXPECT_EQ(label->GetTextLen(), 3);
  EXPECT_EQ(Style(push) & 0xF, DWORD{BS_PUSHBUTTON});
  EXPECT_EQ(Style(def) & 0xF, DWORD{BS_DEFPUSHBUTTON});
  EXPECT_EQ(Style(group) & 0xF, DWORD{BS_GROUPBOX});
  EXPECT_FALSE(Style(group) & WS_TABSTOP);
  EXPECT_EQ(Style(check) & 0xF, DWORD{BS_AUTOCHECKBOX});
  EXPECT_EQ(Style(radio) & 0xF, DWORD{BS_AUTORADIOBUTTON});

  EXPECT_EQ(check->GetCheck(), UINT{BST_UNCHECKED});
  check->Check();
  EXPECT_EQ(check->GetCheck(), UINT{BST_CHECKED});
  radio->SetCheck(BST_CHECKED);
  EXPECT_EQ(radio->GetCheck(), UINT{BST_CHECKED});
  EXPECT_EQ(radio->GetGroup(), group);
  EXPECT_EQ(Parent.ChildWithId(36), check);
}

}  // namespace
