#include "core/ArrangeLayout.h"

#include <algorithm>
#include <limits>

namespace zarn {

namespace {

// Positions are computed in 64 bits, so that a custom area near the edge of the int32 range cannot
// overflow, and handed back clamped to what the window system can take.
std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int64_t NonNegative(std::int32_t extent) { return std::max<std::int64_t>(extent, 0); }

}  // namespace

AreaMode AreaModeFromSetting(std::int32_t moniterMode) {
  switch (moniterMode) {
    case 1:
      return AreaMode::VirtualDesktop;
    case 2:
      return AreaMode::Custom;
    default:
      return AreaMode::ToolbarMonitor;
  }
}

Area ChooseArrangeArea(AreaMode mode, const Area& toolbarMonitor, const Area& virtualDesktop,
                       const CustomArea& custom) {
  switch (mode) {
    case AreaMode::VirtualDesktop:
      return virtualDesktop;
    case AreaMode::Custom: {
      auto extentOr = [](std::optional<std::int32_t> stored, std::int32_t fallback) {
        return stored && *stored > 0 ? *stored : fallback;
      };
      return Area{custom.left.value_or(virtualDesktop.left), custom.top.value_or(virtualDesktop.top),
                  extentOr(custom.width, virtualDesktop.width), extentOr(custom.height, virtualDesktop.height)};
    }
    case AreaMode::ToolbarMonitor:
      break;
  }
  return toolbarMonitor;
}

TileGrid TileGridFor(std::size_t windowCount) {
  TileGrid grid;
  if (windowCount == 0) return grid;
  const auto n = static_cast<std::uint64_t>(windowCount);
  std::uint64_t rows = 1;
  std::uint64_t cols = 1;
  for (;;) {
    if (n <= rows * cols) break;
    ++rows;
    if (n <= rows * cols) break;
    ++cols;
  }
  grid.rows = static_cast<std::int32_t>(rows);
  grid.cols = static_cast<std::int32_t>(cols);
  grid.shortRows = static_cast<std::int32_t>(rows * cols - n);
  return grid;
}

std::vector<Area> TileCells(const Area& area, std::size_t windowCount) {
  std::vector<Area> cells;
  if (windowCount == 0) return cells;
  cells.reserve(windowCount);

  const TileGrid grid = TileGridFor(windowCount);
  const std::int64_t width = NonNegative(area.width);
  const std::int64_t cellHeight = NonNegative(area.height) / std::max(grid.rows, 1);
  const std::int64_t fullCellWidth = width / std::max(grid.cols, 1);
  const std::int64_t shortCellWidth = width / std::max(grid.cols - 1, 1);

  std::int32_t shortRowsLeft = grid.shortRows;
  std::int64_t row = 0;
  std::int64_t col = 0;
  std::int32_t rowCols = grid.cols;
  std::int64_t cellWidth = fullCellWidth;
  for (std::size_t i = 0; i < windowCount; ++i) {
    if (col >= rowCols) {
      ++row;
      col = 0;
      rowCols = grid.cols;
      cellWidth = fullCellWidth;
    }
    if (col == 0 && shortRowsLeft > 0) {
      --shortRowsLeft;
      rowCols = grid.cols - 1;
      cellWidth = shortCellWidth;
    }
    cells.push_back(Area{ClampToInt32(area.left + col * cellWidth), ClampToInt32(area.top + row * cellHeight),
                         ClampToInt32(cellWidth), ClampToInt32(cellHeight)});
    ++col;
  }
  return cells;
}

std::vector<Point> CascadePositions(const Area& area, std::size_t windowCount, std::int32_t step, std::int32_t width,
                                    std::int32_t height) {
  std::vector<Point> positions;
  positions.reserve(windowCount);
  const std::int64_t right = area.left + NonNegative(area.width);
  const std::int64_t bottom = area.top + NonNegative(area.height);
  std::int64_t x = area.left;
  std::int64_t y = area.top;
  for (std::size_t i = 0; i < windowCount; ++i) {
    if (y + height > bottom) y = area.top;
    if (x + width > right) x = area.left;
    positions.push_back(Point{ClampToInt32(x), ClampToInt32(y)});
    x += step;
    y += step;
  }
  return positions;
}

Extent UniformCascadeSize(const Area& toolbarMonitor) {
  return Extent{toolbarMonitor.width / 2, toolbarMonitor.height / 2};
}

}  // namespace zarn
