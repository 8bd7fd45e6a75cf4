#include "core/ToolbarWrap.h"

namespace zarn {

std::vector<bool> ToolbarRowEnds(const std::vector<ToolbarItem>& items, std::int32_t width) {
  std::vector<bool> ends(items.size(), false);
  std::int64_t row = 0;  // the width of the row so far
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ToolbarItem& item = items[i];
    if (row > 0 && row + item.width > width) {
      if (item.separator) {
        ends[i] = true;
        row = 0;
        continue;
      }
      ends[i - 1] = true;
      row = 0;
    }
    row += item.width;
    if (item.breakAfter) {
      ends[i] = true;
      row = 0;
    }
  }
  // A row that ends with the last item needs no break of its own.
  if (!ends.empty()) ends.back() = false;
  return ends;
}

}  // namespace zarn
