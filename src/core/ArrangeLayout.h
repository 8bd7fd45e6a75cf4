#pragma once
// The geometry of the arrange commands: rectangles in, rectangles out. No window is touched here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/Geometry.h"

namespace zarn {

// Where the arrange commands place windows, by the settings value that chooses it.
enum class AreaMode : std::int32_t {
  ToolbarMonitor = 0,  // the whole monitor holding the toolbar; also every unknown value
  VirtualDesktop = 1,
  Custom = 2,
};

AreaMode AreaModeFromSetting(std::int32_t moniterMode);

// The custom rectangle as stored. A missing value falls back to the virtual desktop's own, and so
// does a width or height of zero or less, which no drawn rectangle can have: earlier versions could
// store 0, and an empty area would stack every window at one point.
struct CustomArea {
  std::optional<std::int32_t> left;
  std::optional<std::int32_t> top;
  std::optional<std::int32_t> width;
  std::optional<std::int32_t> height;
};

Area ChooseArrangeArea(AreaMode mode, const Area& toolbarMonitor, const Area& virtualDesktop, const CustomArea& custom);

// The grid the tile command lays out: rows grow first, so rows equals cols or cols + 1.
struct TileGrid {
  std::int32_t rows = 0;
  std::int32_t cols = 0;
  std::int32_t shortRows = 0;  // rows at the top that hold one window fewer than cols
};

TileGrid TileGridFor(std::size_t windowCount);

// One cell per window, in window order: the short rows first, then the full ones, each row left to
// right. Cell sizes truncate; the leftover pixels at the right and bottom stay empty. An area with a
// negative extent is laid out as an empty one.
std::vector<Area> TileCells(const Area& area, std::size_t windowCount);

// The top-left corner of each window of a cascade, in window order. Each step moves right and down by
// `step`; a window whose (width x height) would leave the area restarts at the area's left or top
// edge, the two directions independently. The keep-size cascade passes a size of 0 x 0, so only the
// corners are tested.
std::vector<Point> CascadePositions(const Area& area, std::size_t windowCount, std::int32_t step, std::int32_t width,
                                    std::int32_t height);

// The size every window gets in the uniform cascade: half the toolbar monitor, truncated.
Extent UniformCascadeSize(const Area& toolbarMonitor);

}  // namespace zarn
