// Arbitrary bytes as a resource file: the scan, the icon rebuild's header
// work and the dialog stamp must stay inside the image whatever it holds.
// Every block is copied to a buffer of its exact size, as the library's
// global blocks are, so the sanitizer sees any read or write past one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "mantle/dialog_template.h"
#include "mantle/icon_image.h"
#include "mantle/menu_template.h"
#include "mantle/resource_image.h"

namespace {

using mantle::ResourceName;

std::vector<std::uint8_t> Load(std::span<const std::uint8_t> image, std::uint16_t type, ResourceName name,
                               bool& found) {
  const auto pattern = mantle::BuildSearchPattern(type, name);
  const auto data = pattern ? mantle::FindResourceData(image, *pattern) : std::nullopt;
  found = data.has_value();
  return data ? std::vector<std::uint8_t>(data->begin(), data->end()) : std::vector<std::uint8_t>{};
}

// What the platform reads of a prepared icon: header and table, padded
// colour rows, mask rows.
unsigned TouchIcon(std::span<const std::uint8_t> image, const mantle::IconImageLayout& l) {
  const std::size_t colour_stride = (std::size_t(l.width) * l.bit_count + 31) / 32 * 4;
  const std::size_t mask_stride = (std::size_t(l.width) + 15) / 16 * 2;
  unsigned sum = 0;
  for (std::size_t i = 0; i < l.colour_offset; ++i) sum += image[i];
  sum += image[l.colour_offset + colour_stride * std::size_t(l.height) - 1];
  sum += image[l.mask_offset + mask_stride * std::size_t(l.height) - 1];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> image(data, data + size);
  bool found = false;

  // A name taken from the input itself, so that matches are easy to reach.
  if (size >= 2) {
    const std::string_view name(reinterpret_cast<const char*>(data),
                                std::min<std::size_t>(data[0] % 32, size));
    const auto menu = Load(image, mantle::kMenuType, name, found);
    mantle::MenuTemplateFits(menu);
  }
  mantle::MenuTemplateFits(image);

  for (const std::uint16_t group_id : {std::uint16_t{1}, std::uint16_t{7}}) {
    const auto group = Load(image, mantle::kIconGroupType, group_id, found);
    if (!found) continue;
    const auto first = mantle::FirstIconImageId(group);
    if (!first) continue;
    auto icon = Load(image, mantle::kIconImageType, *first, found);
    if (!found) continue;
    if (const auto layout = mantle::PrepareIconImage(icon)) {
      volatile unsigned sink = TouchIcon(icon, *layout);
      (void)sink;
    }
  }

  auto dialog = Load(image, mantle::kDialogType, std::uint16_t{1}, found);
  mantle::PrepareDialogTemplate(dialog, {'F', 'U', 'Z', 'Z'});
  mantle::DialogTemplateFits(dialog);
  mantle::DialogTemplateFits(image);
  // The whole input as a template too: the stamp must stay inside it.
  std::vector<std::uint8_t> whole = image;
  mantle::PrepareDialogTemplate(whole, {'F', 'U', 'Z', 'Z'});
  return 0;
}
