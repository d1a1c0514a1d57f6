// Menus and icons from compiled resource files, and the loader beneath them
// (which dialog creation uses too).
#include <cstring>
#include <string_view>

#include "mantle/global_block_win32.h"
#include "mantle/icon_image.h"
#include "mantle/library_win32.h"
#include "mantle/mantle.h"
#include "mantle/menu_template.h"
#include "mantle/resource_image.h"

namespace mantle {
namespace {

// A pointer-sized name argument with its high 16 bits zero is a numeric id.
ResourceName NameArgument(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(name));
  return std::string_view(name);
}

constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;

// The whole file in a movable block, and its size.
GlobalBlock ReadWholeFile(LPCSTR file, DWORD& size) {
  const HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GlobalBlock();
  DWORD high = 0;
  size = GetFileSize(handle, &high);
  GlobalBlock image;
  // Files of 4 GiB and more cannot be held; an empty one holds nothing.
  if (size != INVALID_FILE_SIZE && high == 0 && size != 0) {
    image = GlobalBlock(GlobalAlloc(kBlockFlags, size));
  }
  DWORD done = 0;
  if (image) {
    const LockedBlock bytes(image.get(), size);
    while (bytes.data() != nullptr && done < size) {
      DWORD got = 0;
      if (!ReadFile(handle, bytes.data() + done, size - done, &got, nullptr) || got == 0) break;
      done += got;
    }
  }
  // Freed only once unlocked.
  if (done != size) image = GlobalBlock();
  CloseHandle(handle);
  return image;
}

}  // namespace

HGLOBAL LoadResourceFromFile(LPCSTR file, LPCSTR name, int type) {
  const std::optional<SearchPattern> pattern =
      BuildSearchPattern(static_cast<std::uint16_t>(type), NameArgument(name));
  if (!pattern) return nullptr;
  DWORD size = 0;
  const GlobalBlock image = ReadWholeFile(file, size);
  if (!image) return nullptr;
  const LockedBlock bytes(image.get(), size);
  const auto data = FindResourceData(bytes.bytes(), *pattern);
  if (!data) return nullptr;
  GlobalBlock copy(GlobalAlloc(kBlockFlags, data->size()));
  if (!copy) return nullptr;
  if (!data->empty()) {
    const LockedBlock target(copy.get());
    if (target.data() == nullptr) return nullptr;
    std::memcpy(target.data(), data->data(), data->size());
  }
  return copy.release();
}

namespace {

// The first image of an icon group, rebuilt for the display.
HICON BuildIcon(LPCSTR file, LPCSTR name) {
  std::optional<std::uint16_t> image_id;
  {
    const GlobalBlock group(LoadResourceFromFile(file, name, kIconGroupType));
    if (!group) return nullptr;
    const LockedBlock bytes(group.get());
    image_id = FirstIconImageId(bytes.bytes());
  }
  if (!image_id) return nullptr;

  const GlobalBlock image(LoadResourceFromFile(file, MAKEINTRESOURCEA(*image_id), kIconImageType));
  if (!image) return nullptr;
  const LockedBlock bytes(image.get());
  const std::optional<IconImageLayout> layout = PrepareIconImage(bytes.bytes());
  if (!layout) return nullptr;

  const HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return nullptr;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data());
  const HBITMAP colour = CreateDIBitmap(display, &info->bmiHeader, CBM_INIT,
                                        bytes.data() + layout->colour_offset, info, DIB_RGB_COLORS);
  DeleteDC(display);
  if (colour == nullptr) return nullptr;

  BITMAP shape{};
  HBITMAP mask = nullptr;
  // The mask's bounds were checked for the image's own size; take no other.
  if (GetObjectA(colour, sizeof shape, &shape) == sizeof shape && shape.bmWidth == layout->width &&
      shape.bmHeight == layout->height) {
    mask = CreateBitmap(shape.bmWidth, shape.bmHeight, 1, 1, bytes.data() + layout->mask_offset);
  }
  HICON icon = nullptr;
  if (mask != nullptr) {
    const std::size_t n = std::size_t(shape.bmWidthBytes) * shape.bmHeight * shape.bmPlanes;
    const GlobalBlock colour_block(GlobalAlloc(kBlockFlags, n));
    const GlobalBlock mask_block(GlobalAlloc(kBlockFlags, n));
    const LockedBlock colour_bits(colour_block.get());
    const LockedBlock mask_bits(mask_block.get());
    if (colour_bits.data() != nullptr && mask_bits.data() != nullptr) {
      GetBitmapBits(colour, static_cast<LONG>(n), colour_bits.data());
      GetBitmapBits(mask, static_cast<LONG>(n), mask_bits.data());
      // The application context is made on this module's instance, so the
      // module serves before _EnableMantle too.
      icon = CreateIcon(ModuleInstance(), shape.bmWidth, shape.bmHeight,
                        static_cast<BYTE>(shape.bmPlanes), static_cast<BYTE>(shape.bmBitsPixel),
                        mask_bits.data(), colour_bits.data());
    }
    DeleteObject(mask);
  }
  DeleteObject(colour);
  return icon;
}

}  // namespace
}  // namespace mantle

extern "C" HMENU WINAPI _CreateMenuIndirect(LPCSTR resourceFile, LPCSTR menuName) {
  const mantle::GlobalBlock block(mantle::LoadResourceFromFile(resourceFile, menuName, mantle::kMenuType));
  if (!block) return nullptr;
  const mantle::LockedBlock bytes(block.get());
  // The platform reads the template without its size: check that it ends in the block.
  if (!mantle::MenuTemplateFits(bytes.bytes())) return nullptr;
  return LoadMenuIndirectA(bytes.data());
}

extern "C" HICON WINAPI _CreateIconIndirect(LPCSTR resourceFile, LPCSTR iconName) {
  return mantle::BuildIcon(resourceFile, iconName);
}
