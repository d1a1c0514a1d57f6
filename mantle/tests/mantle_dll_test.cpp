// mantle.dll from a client's side: loaded by name, entries resolved by their
// plain names, resources read from a resource file built by llvm-rc.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mantle/mantle.h"
#include "mantle/resource_image.h"
#include "mantle/tests/mantle_client.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kResFile = "mantle_test.res";

using MantleDll = MantleModule;

TEST_F(MantleDll, ExportsPlainNames) {
  for (const char* name :
       {"_EnableMantle", "_RetrieveMessage", "_PeekMessage", "_CreateMenuIndirect", "_CreateIconIndirect"}) {
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  }
  // Only the plain names: no decorated duplicates.
  EXPECT_EQ(GetProcAddress(module, "_EnableMantle@4"), nullptr);
}

constexpr QueuedMessage kUntouched{0xDEAD, 0xBEEF, 0xCAFE, -7, 0x5A5A};

bool Same(const QueuedMessage& a, const QueuedMessage& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(MantleDll, EmptyQueueTouchesOnlyTheIdAndNothingWithoutALibrary) {
  auto* enable = MANTLE(_EnableMantle);
  auto* retrieve = MANTLE(_RetrieveMessage);
  auto* peek = MANTLE(_PeekMessage);
  QueuedMessage expected = kUntouched;
  expected.id = 0;
  for (int enabled : {1, 1, 0}) {  // enabling twice starts afresh
    enable(enabled);
    QueuedMessage record = kUntouched;
    EXPECT_EQ(retrieve(&record), 0);
    EXPECT_TRUE(Same(record, expected));
    record = kUntouched;
    EXPECT_EQ(peek(&record, reinterpret_cast<HWND>(0xFFFF), 0, 0, 1), 0);
    EXPECT_TRUE(Same(record, kUntouched));
    EXPECT_EQ(retrieve(nullptr), 0);
    EXPECT_EQ(peek(nullptr, nullptr, 0, 0, 0), 0);
  }
}

// Menu items' ids, with popups as lists of their own.
std::vector<UINT> ItemIds(HMENU menu) {
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
  return ids;
}

TEST_F(MantleDll, MenusByExactNameOrNumber) {
  auto* create_menu = MANTLE(_CreateMenuIndirect);
  const HMENU main = create_menu(kResFile, "MAIN");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ItemIds(main), (std::vector<UINT>{static_cast<UINT>(-1), 103}));
  EXPECT_EQ(ItemIds(GetSubMenu(main, 0)), (std::vector<UINT>{101, 102}));
  std::array<char, 32> text{};
  GetMenuStringA(GetSubMenu(main, 0), 1, text.data(), static_cast<int>(text.size()), MF_BYPOSITION);
  EXPECT_STREQ(text.data(), "E&xit");
  DestroyMenu(main);

  const HMENU numbered = create_menu(kResFile, MAKEINTRESOURCEA(100));
  ASSERT_NE(numbered, nullptr);
  EXPECT_EQ(ItemIds(numbered), (std::vector<UINT>{201}));
  DestroyMenu(numbered);

  // Of two menus with one name, the first in the file.
  const HMENU twin = create_menu(kResFile, "TWIN");
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(ItemIds(twin), (std::vector<UINT>{301}));
  DestroyMenu(twin);

  EXPECT_EQ(create_menu(kResFile, "Main"), nullptr);  // the compiler upper-cased it
  EXPECT_EQ(create_menu(kResFile, MAKEINTRESOURCEA(101)), nullptr);
  EXPECT_EQ(create_menu(kResFile, "SETTINGS"), nullptr);  // a dialog, not a menu
  EXPECT_EQ(create_menu(kResFile, std::string(30, 'M').c_str()), nullptr);
  EXPECT_EQ(create_menu("no_such_file.res", "MAIN"), nullptr);
  EXPECT_EQ(create_menu(nullptr, "MAIN"), nullptr);
}

Bytes ReadBytes(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteBytes(const char* path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Offset of the entry whose type and name fields match first.
std::size_t EntryOffset(const Bytes& image, std::uint16_t type, mantle::ResourceName name) {
  const auto at = mantle::FindPattern(image, *mantle::BuildSearchPattern(type, name));
  return at ? *at - 8 : 0;
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST_F(MantleDll, BrokenFilesGiveNothing) {
  auto* create_menu = MANTLE(_CreateMenuIndirect);
  auto* create_icon = MANTLE(_CreateIconIndirect);
  const Bytes good = ReadBytes(kResFile);
  ASSERT_GT(good.size(), 100u);
  const std::size_t menu = EntryOffset(good, mantle::kMenuType, std::string_view("MAIN"));
  const std::size_t group = EntryOffset(good, mantle::kIconGroupType, std::string_view("APPICON"));
  const std::size_t image = EntryOffset(good, mantle::kIconImageType, std::uint16_t{1});
  ASSERT_NE(menu, 0u);
  ASSERT_NE(group, 0u);
  ASSERT_NE(image, 0u);
  const char* broken = "mantle_broken.res";

  WriteBytes(broken, Bytes{});
  EXPECT_EQ(create_menu(broken, "MAIN"), nullptr) << "empty file";

  Bytes bytes = good;
  PutU32(bytes, menu, static_cast<std::uint32_t>(good.size()));
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_menu(broken, "MAIN"), nullptr) << "data size past the end";

  bytes = good;
  PutU32(bytes, menu + 4, 0xFFFFFFF0u);
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_menu(broken, "MAIN"), nullptr) << "header size past the end";

  bytes = good;
  PutU32(bytes, menu, 12);
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_menu(broken, "MAIN"), nullptr) << "menu template longer than its data";

  bytes = good;
  bytes.resize(menu + 40);
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_menu(broken, "MAIN"), nullptr) << "file cut inside the data";

  bytes = good;
  PutU32(bytes, group, 19);
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_icon(broken, "APPICON"), nullptr) << "group shorter than its first entry";

  bytes = good;
  bytes[image + 32 + 14] = 16;  // bit count of the first image: a 2^16-entry table
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_icon(broken, "APPICON"), nullptr) << "bit count above 8";

  bytes = good;
  PutU32(bytes, image + 32 + 8, 2 * 200);  // height 200: bits far past the image
  WriteBytes(broken, bytes);
  EXPECT_EQ(create_icon(broken, "APPICON"), nullptr) << "bits past the image";

  DeleteFileA(broken);
}

// The icon drawn on white, as 0x00RRGGBB pixels from the top row down.
std::vector<std::uint32_t> Render(HICON icon, int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(dc, target);
  const RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> out(pixels, pixels + size * size);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  for (auto& p : out) p &= 0x00FFFFFF;
  return out;
}

TEST_F(MantleDll, IconFromTheFirstImageOfItsGroup) {
  auto* create_icon = MANTLE(_CreateIconIndirect);
  for (const LPCSTR name : std::array<LPCSTR, 2>{"APPICON", MAKEINTRESOURCEA(7)}) {
    const HICON icon = create_icon(kResFile, name);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, 32);  // not the group's 16x16 second image
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    const std::vector<std::uint32_t> pixels = Render(icon, 32);
    EXPECT_EQ(pixels[2 * 32 + 20], 0xFF0000u) << "red top half";
    EXPECT_EQ(pixels[30 * 32 + 20], 0x0000FFu) << "blue bottom half";
    // The mask rows go to the platform in stored (bottom-up) order, so the
    // image's transparent top-left corner turns up at the bottom left: there
    // white is inverted by the blue colour bits, and the top-left corner
    // shows its black colour bits.
    EXPECT_EQ(pixels[29 * 32 + 2], 0xFFFF00u) << "mask corner";
    EXPECT_EQ(pixels[2 * 32 + 2], 0x000000u) << "colour corner";
    DestroyIcon(icon);
  }
  EXPECT_EQ(create_icon(kResFile, "DEEPICON"), nullptr);  // 32 bits per pixel
  EXPECT_EQ(create_icon(kResFile, "NOICON"), nullptr);
  EXPECT_EQ(create_icon(kResFile, "MAIN"), nullptr);
  EXPECT_EQ(create_icon("no_such_file.res", "APPICON"), nullptr);
}

}  // namespace
