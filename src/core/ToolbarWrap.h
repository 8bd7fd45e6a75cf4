#pragma once
// Where the toolbar's buttons break into rows at the window's width: the window is always exactly
// as large as its buttons, so dragging its frame narrower moves buttons into further rows.
#include <cstdint>
#include <vector>

namespace zarn {

struct ToolbarItem {
  std::int32_t width = 0;
  bool separator = false;
  bool breakAfter = false;  // a row always ends here, whatever the width
};

// For each item, whether a row ends after it. A row holds at least one item however narrow the
// width; a separator where a row would break ends that row itself rather than starting the next.
std::vector<bool> ToolbarRowEnds(const std::vector<ToolbarItem>& items, std::int32_t width);

}  // namespace zarn
