// From a record's window handle back to the library window and its id.
#include <array>
#include <cctype>

#include "mantle/library_win32.h"
#include "mantle/zwindow_win32.h"

namespace mantle {
namespace {

// The first five characters of a window's class name: they tell the kind,
// and a name that short never allocates.
std::string ClassPrefix(HWND window) {
  std::array<char, 6> name{};
  const int length = GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return length > 0 ? std::string(name.data(), static_cast<std::size_t>(length)) : std::string();
}

// The id of the library object behind `window` when it really is of `kind`:
// the class library's handle lookup, then a checked downcast.
std::optional<std::int32_t> LibraryObjectId(HWND window, WindowKind kind) {
  switch (kind) {
    case WindowKind::kPlain:
      if (TZWindow* plain = ZWindowOf(window)) return plain->ClientId();
      break;
    case WindowKind::kGraphics:
      if (TZGraphWindow* graphics = GraphWindowOf(window)) return graphics->ClientId();
      break;
    case WindowKind::kDialog:
      if (TZDialog* dialog = ZDialogOf(window)) return dialog->ClientId();
      break;
    case WindowKind::kOther:
      break;
  }
  return std::nullopt;
}

class PlatformWindows final : public WindowDirectory {
 public:
  std::string ClassName(std::uint32_t hwnd) const override { return ClassPrefix(WindowFromBits(hwnd)); }
  std::optional<std::int32_t> ClientId(std::uint32_t hwnd, WindowKind kind) const override {
    return LibraryObjectId(WindowFromBits(hwnd), kind);
  }
};

}  // namespace

WindowKind KindOfWindow(HWND window) {
  return WindowKindOf(ClassPrefix(window));
}

bool ClassNameBeginsNoCase(HWND window, std::string_view upperPrefix) {
  std::array<char, 32> name{};
  GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string_view(name.data()).substr(0, upperPrefix.size()) == upperPrefix;
}

const WindowDirectory& LibraryWindows() {
  static const PlatformWindows windows;
  return windows;
}

}  // namespace mantle
