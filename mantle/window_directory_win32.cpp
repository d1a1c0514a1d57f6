// From a record's window handle back to the library window and its id.
#include <array>

#include "mantle/library_win32.h"

namespace mantle {
namespace {

// The id of the library object behind `window` when it is of `kind`. The
// window classes built on the class library answer this through its
// window-pointer lookup and a checked downcast to TZWindow or TZDialog; until
// they are in, no window has a library object and every record reads id 0.
std::optional<std::int32_t> LibraryObjectId(HWND /*window*/, WindowKind /*kind*/) {
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
