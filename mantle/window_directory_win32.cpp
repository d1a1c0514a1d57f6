// From a record's window handle back to the library window and its id.
#include <array>

#include "mantle/library_win32.h"
#include "mantle/zwindow_win32.h"

namespace mantle {
namespace {

// The id of the library object behind `window` when it really is of `kind`:
// the class library's handle lookup, then a checked downcast.
std::optional<std::int32_t> LibraryObjectId(HWND window, WindowKind kind) {
  TWindow* object = TWindow::GetWindowPtr(window);
  switch (kind) {
    case WindowKind::kPlain:
      if (auto* plain = dynamic_cast<TZWindow*>(object)) return plain->ClientId();
      break;
    case WindowKind::kGraphics:
      if (auto* graphics = dynamic_cast<TZGraphWindow*>(object)) return graphics->ClientId();
      break;
    case WindowKind::kDialog:
      if (auto* dialog = dynamic_cast<TZDialog*>(object)) return dialog->ClientId();
      break;
    case WindowKind::kOther:
      break;
  }
  return std::nullopt;
}

class PlatformWindows final : public WindowDirectory {
 public:
  std::string ClassName(std::uint32_t hwnd) const override {
    // Five characters tell the kind; a name that short also never allocates.
    std::array<char, 6> name{};
    const int length = GetClassNameA(WindowFromBits(hwnd), name.data(), static_cast<int>(name.size()));
    return length > 0 ? std::string(name.data(), static_cast<std::size_t>(length)) : std::string();
  }
  std::optional<std::int32_t> ClientId(std::uint32_t hwnd, WindowKind kind) const override {
    return LibraryObjectId(WindowFromBits(hwnd), kind);
  }
};

}  // namespace

const WindowDirectory& LibraryWindows() {
  static const PlatformWindows windows;
  return windows;
}

}  // namespace mantle
