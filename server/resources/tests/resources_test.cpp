// Loads the compiled resources of tessel.exe from this test program, as the
// server will: menu, hints, pictures and every dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/dialog_template.h"
#include "server/resources/resource_ids.h"

namespace {

using DialogItem = TDialogItemInfo;
using DialogTemplate = TDialogTemplateInfo;

HINSTANCE Module() {
  return GetModuleHandleA(nullptr);
}

std::string_view ResourceBytes(const char* name, LPCSTR type) {
  HRSRC found = FindResourceA(Module(), name, type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(Module(), found);
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(Module(), found)};
}

// ---------------------------------------------------------------------------
// Menu

struct MenuItem {
  const char* text;  // null for a separator
  UINT id;
};

struct MenuPopup {
  const char* title;
  std::vector<MenuItem> items;
};

std::string MenuText(HMENU menu, UINT pos, MENUITEMINFOA& info) {
  char text[64] = {};
  info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = sizeof text;
  EXPECT_TRUE(GetMenuItemInfoA(menu, pos, TRUE, &info));
  return text;
}

TEST(TesselMenu, HasThePopupsItemsAndCommandIdsOfTheCommandTable) {
  const std::vector<MenuPopup> expected = {
      {"&File", {{"Run", CM_RUN}, {nullptr, 0}, {"Exit", CM_EXIT}}},
      {"&Control",
       {{"&Reset", CM_RESET},
        {nullptr, 0},
        {"&Terminate", CM_TERMINATE},
        {"&Suspend", CM_SUSPEND},
        {"&Continue", CM_CONTINUE}}},
      {"&Options", {{"&Protocols...", CM_PROTOCOLS}, {"&Boards...  ", CM_BOARDS}, {"&Run-time...", CM_RUNTIME}}},
      {"&Window",
       {{"&Tile", CM_TILECHILDREN}, {"&Cascade", CM_CASCADECHILDREN}, {"&Arrange Icons", CM_ARRANGEICONS}}},
      {"&Help", {{"&About...", CM_ABOUT}}},
  };
  HMENU menu = LoadMenuA(Module(), "TESSEL");
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));

  for (UINT p = 0; p < expected.size(); ++p) {
    MENUITEMINFOA info;
    std::string title = MenuText(menu, p, info);
    // The loader turns the leading backspace into right alignment.
    if (!title.empty() && title[0] == '\b') title.erase(0, 1);
    EXPECT_EQ(title, expected[p].title);
    EXPECT_EQ((info.fType & MFT_RIGHTJUSTIFY) != 0, p == 4) << title << " right-aligned";
    HMENU popup = info.hSubMenu;
    ASSERT_TRUE(popup) << title;
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected[p].items.size())) << title;
    for (UINT i = 0; i < expected[p].items.size(); ++i) {
      const MenuItem& want = expected[p].items[i];
      const std::string text = MenuText(popup, i, info);
      if (!want.text) {
        EXPECT_TRUE(info.fType & MFT_SEPARATOR) << title << " item " << i;
        continue;
      }
      EXPECT_EQ(text, want.text) << title << " item " << i;
      EXPECT_EQ(info.wID, want.id) << want.text;
    }
  }
  DestroyMenu(menu);

  // The compiled menu itself carries the backspace and the help flag.
  const std::string_view bytes = ResourceBytes("TESSEL", RT_MENU);
  const char16_t help[] = u"\b&Help";
  const std::string_view helpBytes(reinterpret_cast<const char*>(help), sizeof help);
  const auto at = bytes.find(helpBytes);
  ASSERT_NE(at, std::string_view::npos);
  uint16_t flags;
  std::memcpy(&flags, bytes.data() + at - 2, sizeof flags);
  EXPECT_TRUE(flags & MF_HELP);
  EXPECT_TRUE(flags & MF_POPUP);
}

// ---------------------------------------------------------------------------
// Hints

TEST(HintStrings, EveryCommandHasItsHintAndFitsTheHintBuffer) {
  const struct {
    UINT id;
    const char* hint;
  } hints[] = {
      {CM_RUN, "Run program\nRun"},
      {CM_EXIT, "Exit Server\nExit"},
      {CM_RESET, "Reset hardware\nReset"},
      {CM_TERMINATE, "Terminate program\nTerminate"},
      {CM_SUSPEND, "Suspend program\nSuspend"},
      {CM_CONTINUE, "Continue suspended program\nContinue"},
      {CM_SETUP, "Setup\nSetup"},
      {CM_PROTOCOLS, "Configure protocols"},
      {CM_BOARDS, "Configure hardware"},
      {CM_RUNTIME, "Configure run-time options"},
      {CM_ABOUT, "About Server\nAbout"},
  };
  for (const auto& h : hints) {
    char buffer[128];
    const int length = LoadStringA(Module(), h.id, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, std::max(length, 0)), h.hint) << h.id;
  }
}

// ---------------------------------------------------------------------------
// Pictures

struct DibPicture {
  HBITMAP bitmap = nullptr;
  DIBSECTION dib = {};
  explicit DibPicture(const char* name) {
    bitmap = static_cast<HBITMAP>(LoadImageA(Module(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap) GetObjectA(bitmap, sizeof dib, &dib);
  }
  ~DibPicture() { DeleteObject(bitmap); }
  COLORREF Pixel(int x, int y) const {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
  }
};

TEST(Pictures, GlyphsAre20By20In16ColoursOnTheButtonFace) {
  const COLORREF face = RGB(192, 192, 192);
  for (const char* name : {"RUN", "RESET", "TERMINATE", "SUSPEND", "CONTINUE", "SETUP", "QUIT", "ABOUT"}) {
    HBITMAP plain = LoadBitmapA(Module(), name);
    EXPECT_TRUE(plain) << name;
    DeleteObject(plain);

    DibPicture glyph(name);
    ASSERT_TRUE(glyph.bitmap) << name;
    EXPECT_EQ(glyph.dib.dsBm.bmWidth, 20) << name;
    EXPECT_EQ(glyph.dib.dsBm.bmHeight, 20) << name;
    EXPECT_EQ(glyph.dib.dsBm.bmBitsPixel, 4) << name;
    // The bar paints the light grey of a glyph in its own face colour.
    for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}})
      EXPECT_EQ(glyph.Pixel(x, y), face) << name << " corner " << x << "," << y;
  }
  // Rows are stored bottom-up: the dot of the "i" is at the top.
  DibPicture about("ABOUT");
  EXPECT_EQ(about.Pixel(9, 4), RGB(255, 255, 255));
  EXPECT_EQ(about.Pixel(9, 6), RGB(0, 0, 255));
}

TEST(Pictures, SplashIs400By240In256Colours) {
  HBITMAP plain = LoadBitmapA(Module(), "TS8");
  ASSERT_TRUE(plain);
  BITMAP info;
  GetObjectA(plain, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 400);
  EXPECT_EQ(info.bmHeight, 240);
  DeleteObject(plain);

  DibPicture splash("TS8");
  ASSERT_TRUE(splash.bitmap);
  EXPECT_EQ(splash.dib.dsBm.bmBitsPixel, 8);
}

TEST(Pictures, IconsAre32By32In16Colours) {
  for (const char* name : {"TESSEL", "IO"}) {
    HICON icon = LoadIconA(Module(), name);
    ASSERT_TRUE(icon) << name;
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask;
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32) << name;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    // The icon directory: one image of 32 x 32 in 16 colours.
    const std::string_view group = ResourceBytes(name, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u + 14u) << name;
    const auto* bytes = reinterpret_cast<const uint8_t*>(group.data());
    EXPECT_EQ(bytes[4], 1) << name << " image count";
    EXPECT_EQ(bytes[6], 32) << name;
    EXPECT_EQ(bytes[7], 32) << name;
    EXPECT_EQ(bytes[8], 16) << name << " colours";
  }
}

// ---------------------------------------------------------------------------
// Dialogs

constexpr uint16_t kNoId = 0xFFFF;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | BS_PUSHBUTTON;
constexpr DWORD kDefault = kChild | BS_DEFPUSHBUTTON;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kLabel = kChild | SS_LEFT;
constexpr DWORD kReadOnly = kChild | WS_BORDER | WS_DISABLED;
constexpr DWORD kList = kChild | LBS_SORT | LBS_NOTIFY | WS_BORDER | WS_VSCROLL;
constexpr DWORD kChoice = kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL;
constexpr DWORD kTypedDialog =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT;

struct ControlSpec {
  uint16_t id;
  const char* className;
  const char* text;
  DWORD style;
  short x, y, cx, cy;
};

struct DialogSpec {
  const char* name;
  const char* caption;
  const char* face;
  short x, y, cx, cy;
  std::vector<ControlSpec> controls;
};

// The bits a control of this kind is defined by: its type, and being disabled
// or not, must match exactly; the other named styles must be present.
void ExpectControl(const DialogItem& item, const ControlSpec& want, const std::string& where) {
  EXPECT_EQ(item.Id, want.id) << where;
  EXPECT_EQ(item.ClassName, want.className) << where;
  EXPECT_EQ(item.Text, want.text) << where;
  EXPECT_EQ(item.Style & want.style, want.style) << where << std::hex << " style " << item.Style;
  EXPECT_EQ(item.Style & WS_DISABLED, want.style & WS_DISABLED) << where << " disabled";
  if (std::string_view(want.className) == "BUTTON") {
    EXPECT_EQ(item.Style & BS_TYPEMASK, want.style & BS_TYPEMASK) << where << " button type";
  }
  if (std::string_view(want.className) == "COMBOBOX") {
    EXPECT_EQ(item.Style & 3u, want.style & 3u) << where << " combo type";
  }
  EXPECT_EQ((std::vector<short>{item.X, item.Y, item.CX, item.CY}),
            (std::vector<short>{want.x, want.y, want.cx, want.cy}))
      << where << " place";
}

DialogTemplate LoadTemplate(const char* name) {
  const std::string_view bytes = ResourceBytes(name, RT_DIALOG);
  if (bytes.empty()) throw std::runtime_error(std::string("no dialog ") + name);
  auto dlg = ReadDialogTemplate({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  if (!dlg) throw std::runtime_error(std::string("dialog ") + name + " ends early");
  if (dlg->Extended) throw std::runtime_error(std::string("dialog ") + name + " is an extended template");
  return *dlg;
}

std::vector<ControlSpec> LibraryListControls() {
  return {
      {10, "LISTBOX", "", kList, 7, 6, 138, 48},
      {11, "BUTTON", "Properties...", kPush, 152, 5, 50, 14},
      {12, "BUTTON", "Add...", kPush | WS_DISABLED, 152, 22, 50, 14},
      {13, "BUTTON", "Remove", kPush | WS_DISABLED, 152, 40, 50, 14},
      {IDOK, "BUTTON", "OK", kDefault, 47, 63, 50, 14},
      {IDCANCEL, "BUTTON", "Cancel", kPush, 110, 63, 50, 14},
  };
}

std::vector<DialogSpec> SetupDialogs() {
  return {
      {"SETUP",
       "Setup",
       "Arial",
       67,
       33,
       180,
       91,
       {{101, "BUTTON", "Protocols...", kPush, 8, 11, 164, 14},
        {102, "BUTTON", "Boards...", kPush, 8, 29, 164, 14},
        {103, "BUTTON", "Run-time...", kPush, 8, 47, 164, 14},
        {IDOK, "BUTTON", "OK", kDefault, 65, 72, 50, 14},
        {kNoId, "BUTTON", "", kGroup, 4, 2, 173, 65}}},
      {"PROTOCOLS", "Protocols", "MS Sans Serif", 6, 15, 207, 86, LibraryListControls()},
      {"BOARDS", "Boards", "MS Sans Serif", 6, 15, 207, 86, LibraryListControls()},
      {"PROTOCOLS_PROPERTIES",
       "Protocol properties",
       "Arial",
       21,
       27,
       193,
       93,
       {{kNoId, "STATIC", "Description", kLabel, 7, 4, 52, 8},
        {101, "EDIT", "", kReadOnly, 8, 15, 176, 12},
        {kNoId, "STATIC", "Library name", kLabel, 7, 32, 52, 8},
        {102, "EDIT", "", kReadOnly, 8, 43, 176, 12},
        {kNoId, "STATIC", "Default file extension:", kLabel, 8, 62, 70, 8},
        {103, "EDIT", "", kReadOnly, 8, 74, 68, 12},
        {IDOK, "BUTTON", "OK", kDefault, 135, 73, 50, 14}}},
      {"BOARDS_PROPERTIES",
       "Board properties",
       "Arial",
       21,
       27,
       193,
       114,
       {{kNoId, "STATIC", "Description", kLabel, 7, 4, 52, 8},
        {101, "EDIT", "", kReadOnly, 8, 15, 176, 12},
        {kNoId, "STATIC", "Library name", kLabel, 7, 32, 52, 8},
        {102, "EDIT", "", kReadOnly, 8, 43, 176, 12},
        {kNoId, "STATIC", "Link name", kLabel, 7, 62, 52, 8},
        {103, "EDIT", "", kReadOnly, 7, 74, 81, 12},
        {kNoId, "STATIC", "Link timeout", kLabel, 103, 62, 52, 8},
        {104, "EDIT", "", kReadOnly, 103, 74, 81, 12},
        {IDOK, "BUTTON", "OK", kDefault, 71, 94, 50, 14}}},
      {"RUNTIME",
       "Run-time",
       "Arial",
       6,
       15,
       205,
       97,
       {{kNoId, "BUTTON", "", kGroup, 3, 2, 199, 65},
        {kNoId, "STATIC", "Protocol:", kLabel, 11, 14, 33, 8},
        {101, "COMBOBOX", "", kChoice, 58, 12, 136, 50},
        {kNoId, "STATIC", "Board:", kLabel, 11, 32, 33, 8},
        {102, "COMBOBOX", "", kChoice, 58, 30, 136, 50},
        {kNoId, "STATIC", "Parameters:", kLabel, 11, 51, 40, 8},
        {103, "EDIT", "", kChild | WS_BORDER | ES_AUTOHSCROLL, 58, 49, 136, 13},
        {IDOK, "BUTTON", "OK", kDefault, 47, 76, 50, 14},
        {IDCANCEL, "BUTTON", "Cancel", kPush, 107, 76, 50, 14}}},
  };
}

TEST(SetupDialogs, EveryControlHasItsIdStyleTextAndPlace) {
  for (const DialogSpec& want : SetupDialogs()) {
    SCOPED_TRACE(want.name);
    const DialogTemplate dlg = LoadTemplate(want.name);
    EXPECT_EQ(dlg.Style & kTypedDialog, kTypedDialog) << std::hex << dlg.Style;
    EXPECT_EQ(dlg.Caption, want.caption);
    EXPECT_EQ(dlg.PointSize, 8);
    EXPECT_EQ(dlg.Face, want.face);
    EXPECT_TRUE(dlg.ClassName.empty()) << "a plain dialog of the system class";
    EXPECT_EQ((std::vector<short>{dlg.X, dlg.Y, dlg.CX, dlg.CY}),
              (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    ASSERT_EQ(dlg.Items.size(), want.controls.size());
    for (std::size_t i = 0; i < want.controls.size(); ++i)
      ExpectControl(dlg.Items[i], want.controls[i], std::string(want.name) + " control " + std::to_string(i));
  }
}

TEST(AboutDialog, HasItsFramesAndOkButtonAtTheirPlaces) {
  const DialogTemplate dlg = LoadTemplate("ABOUT");
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT;
  EXPECT_EQ(dlg.Style & style, style);
  EXPECT_EQ(dlg.Caption, "About Tessel");
  EXPECT_EQ(dlg.Face, "Arial");
  EXPECT_EQ(dlg.PointSize, 8);
  EXPECT_EQ((std::vector<short>{dlg.X, dlg.Y, dlg.CX, dlg.CY}), (std::vector<short>{22, 46, 223, 98}));

  // The information lines inside the lower frame are ours to choose.
  const ControlSpec fixed[] = {
      {kNoId, "BUTTON", "", kGroup, 6, 1, 212, 28},
      {kNoId, "BUTTON", "", kGroup, 6, 27, 212, 50},
      {IDOK, "BUTTON", "&OK", kDefault, 86, 81, 50, 14},
  };
  for (const ControlSpec& want : fixed) {
    auto found = std::find_if(dlg.Items.begin(), dlg.Items.end(), [&](const DialogItem& item) {
      return item.X == want.x && item.Y == want.y && item.ClassName == want.className;
    });
    ASSERT_NE(found, dlg.Items.end()) << want.x << "," << want.y;
    ExpectControl(*found, want, "ABOUT");
  }
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

TEST(AllDialogs, CreateWithEveryControl) {
  for (const char* name :
       {"SETUP", "PROTOCOLS", "BOARDS", "RUNTIME", "PROTOCOLS_PROPERTIES", "BOARDS_PROPERTIES", "ABOUT"}) {
    HWND dialog = CreateDialogParamA(Module(), name, nullptr, QuietDialog, 0);
    ASSERT_TRUE(dialog) << name << " error " << GetLastError();
    int children = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(static_cast<std::size_t>(children), LoadTemplate(name).Items.size()) << name;
    DestroyWindow(dialog);
  }
}

}  // namespace
