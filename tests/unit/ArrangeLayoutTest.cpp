#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

#include "core/ArrangeLayout.h"

namespace zarn {
namespace {

// Windows per row, top to bottom, read off the cells' positions.
std::vector<int> WindowsPerRow(const std::vector<Area>& cells) {
  std::map<std::int32_t, int> rows;
  for (const Area& cell : cells) ++rows[cell.top];
  std::vector<int> counts;
  for (const auto& [top, count] : rows) counts.push_back(count);
  return counts;
}

bool Overlap(const Area& a, const Area& b) {
  const std::int64_t ax2 = std::int64_t{a.left} + a.width, bx2 = std::int64_t{b.left} + b.width;
  const std::int64_t ay2 = std::int64_t{a.top} + a.height, by2 = std::int64_t{b.top} + b.height;
  return a.left < bx2 && b.left < ax2 && a.top < by2 && b.top < ay2;
}

void ExpectCellsTileTheArea(const Area& area, std::size_t n) {
  SCOPED_TRACE(testing::Message() << "n=" << n << " area " << area.left << "," << area.top << " " << area.width << "x"
                                  << area.height);
  const std::vector<Area> cells = TileCells(area, n);
  ASSERT_EQ(cells.size(), n);
  const TileGrid grid = TileGridFor(n);
  EXPECT_GE(std::int64_t{grid.rows} * grid.cols, static_cast<std::int64_t>(n));
  EXPECT_TRUE(grid.rows == grid.cols || grid.rows == grid.cols + 1);
  EXPECT_EQ(WindowsPerRow(cells).size(), static_cast<std::size_t>(grid.rows));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Area& c = cells[i];
    EXPECT_GT(c.width, 0);
    EXPECT_GT(c.height, 0);
    EXPECT_GE(c.left, area.left);
    EXPECT_GE(c.top, area.top);
    EXPECT_LE(std::int64_t{c.left} + c.width, std::int64_t{area.left} + area.width);
    EXPECT_LE(std::int64_t{c.top} + c.height, std::int64_t{area.top} + area.height);
    for (std::size_t j = i + 1; j < cells.size(); ++j) EXPECT_FALSE(Overlap(c, cells[j])) << i << " and " << j;
  }
  // Short rows first: the number of windows per row never falls going down.
  const std::vector<int> perRow = WindowsPerRow(cells);
  EXPECT_TRUE(std::is_sorted(perRow.begin(), perRow.end()));
}

TEST(TileCells, RowsForOneToTenWindows) {
  const std::map<std::size_t, std::vector<int>> table = {
      {1, {1}},       {2, {1, 1}},    {3, {1, 2}},    {4, {2, 2}},    {5, {1, 2, 2}},
      {6, {2, 2, 2}}, {7, {2, 2, 3}}, {8, {2, 3, 3}}, {9, {3, 3, 3}}, {10, {2, 2, 3, 3}},
  };
  const Area area{0, 0, 1920, 1080};
  for (const auto& [n, rows] : table) {
    EXPECT_EQ(WindowsPerRow(TileCells(area, n)), rows) << "n=" << n;
  }
}

TEST(TileCells, TwoAndThreeWindows) {
  const Area area{-1920, 100, 1920, 1000};
  EXPECT_EQ(TileCells(area, 2), (std::vector<Area>{{-1920, 100, 1920, 500}, {-1920, 600, 1920, 500}}));
  EXPECT_EQ(TileCells(area, 3),
            (std::vector<Area>{{-1920, 100, 1920, 500}, {-1920, 600, 960, 500}, {-960, 600, 960, 500}}));
}

TEST(TileCells, LeftoverPixelsStayAtTheRightAndBottom) {
  // 1001 / 3 columns and 1000 / 4 rows do not divide: cells truncate, none grows to fill.
  const std::vector<Area> cells = TileCells(Area{0, 0, 1001, 1003}, 10);
  EXPECT_EQ(cells.front(), (Area{0, 0, 500, 250}));  // a short row of two
  EXPECT_EQ(cells.back(), (Area{666, 750, 333, 250}));
}

TEST(TileCells, ManyWindowsStayInsideWithoutOverlap) {
  for (std::size_t n : {11u, 12u, 13u, 17u, 30u, 100u}) {
    ExpectCellsTileTheArea(Area{0, 0, 1920, 1080}, n);
    ExpectCellsTileTheArea(Area{-2560, -1440, 2560, 1440}, n);
    ExpectCellsTileTheArea(Area{7, 13, 1367, 769}, n);
  }
}

TEST(TileCells, DegenerateAreasGiveEmptyCellsAndNoFault) {
  EXPECT_TRUE(TileCells(Area{0, 0, 1920, 1080}, 0).empty());
  for (const Area area : {Area{10, 20, 0, 0}, Area{10, 20, -500, -300}, Area{10, 20, 2, 1}}) {
    const std::vector<Area> cells = TileCells(area, 7);
    ASSERT_EQ(cells.size(), 7u);
    for (const Area& c : cells) {
      EXPECT_GE(c.width, 0);
      EXPECT_GE(c.height, 0);
      EXPECT_GE(c.left, area.left);
      EXPECT_GE(c.top, area.top);
    }
  }
}

TEST(TileCells, AreaAtTheEdgeOfTheCoordinateRangeDoesNotOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const Area area{kMax - 100, kMax - 100, kMax, kMax};
  for (const Area& c : TileCells(area, 5)) {
    EXPECT_GE(c.left, area.left);
    EXPECT_GE(c.top, area.top);
    EXPECT_GT(c.width, 0);
  }
}

TEST(CascadePositions, StartsAtTheCornerAndStepsByTheCaption) {
  const std::vector<Point> positions = CascadePositions(Area{-1920, -200, 1920, 1080}, 3, 23, 0, 0);
  EXPECT_EQ(positions, (std::vector<Point>{{-1920, -200}, {-1897, -177}, {-1874, -154}}));
}

TEST(CascadePositions, WrapsXAndYIndependently) {
  // A narrow, tall area: x restarts at the left edge while y keeps going down.
  const std::vector<Point> narrow = CascadePositions(Area{0, 0, 100, 1000}, 6, 30, 0, 0);
  EXPECT_EQ(narrow, (std::vector<Point>{{0, 0}, {30, 30}, {60, 60}, {90, 90}, {0, 120}, {30, 150}}));
  // A wide, flat one: y restarts at the top while x keeps going right.
  const std::vector<Point> flat = CascadePositions(Area{50, 50, 1000, 70}, 5, 30, 0, 0);
  EXPECT_EQ(flat, (std::vector<Point>{{50, 50}, {80, 80}, {110, 110}, {140, 50}, {170, 80}}));
}

TEST(CascadePositions, UniformSizeWrapsWhenTheWindowWouldLeaveTheArea) {
  // 500 x 400 windows in 1000 x 600: y wraps once y + 400 > 600, x once x + 500 > 1000.
  const std::vector<Point> positions = CascadePositions(Area{0, 0, 1000, 600}, 12, 100, 500, 400);
  ASSERT_EQ(positions.size(), 12u);
  for (const Point& p : positions) {
    EXPECT_LE(p.x + 500, 1000);
    EXPECT_LE(p.y + 400, 600);
  }
  EXPECT_EQ(positions[2], (Point{200, 200}));
  EXPECT_EQ(positions[3], (Point{300, 0}));
  EXPECT_EQ(positions[5], (Point{500, 200}));
  EXPECT_EQ(positions[6], (Point{0, 0}));
}

TEST(CascadePositions, WindowLargerThanTheAreaStaysAtTheCorner) {
  for (const Point& p : CascadePositions(Area{10, 10, 100, 100}, 4, 23, 960, 540)) EXPECT_EQ(p, (Point{10, 10}));
  for (const Point& p : CascadePositions(Area{10, 10, -100, 0}, 4, 23, 0, 0)) EXPECT_EQ(p, (Point{10, 10}));
}

TEST(UniformCascadeSize, HalvesTheMonitorTruncating) {
  EXPECT_EQ(UniformCascadeSize(Area{0, 0, 1920, 1080}), (Extent{960, 540}));
  EXPECT_EQ(UniformCascadeSize(Area{-1366, 0, 1366, 767}), (Extent{683, 383}));
}

TEST(ArrangeArea, ChosenBySetting) {
  const Area monitor{-1920, 0, 1920, 1080};
  const Area desktop{-1920, -200, 4480, 1440};
  const CustomArea none;
  EXPECT_EQ(AreaModeFromSetting(0), AreaMode::ToolbarMonitor);
  EXPECT_EQ(AreaModeFromSetting(1), AreaMode::VirtualDesktop);
  EXPECT_EQ(AreaModeFromSetting(2), AreaMode::Custom);
  EXPECT_EQ(AreaModeFromSetting(3), AreaMode::ToolbarMonitor);
  EXPECT_EQ(AreaModeFromSetting(-1), AreaMode::ToolbarMonitor);

  EXPECT_EQ(ChooseArrangeArea(AreaMode::ToolbarMonitor, monitor, desktop, none), monitor);
  EXPECT_EQ(ChooseArrangeArea(AreaMode::VirtualDesktop, monitor, desktop, none), desktop);
  EXPECT_EQ(ChooseArrangeArea(AreaMode::Custom, monitor, desktop, none), desktop);
  EXPECT_EQ(ChooseArrangeArea(AreaMode::Custom, monitor, desktop, CustomArea{5, 6, 7, 8}), (Area{5, 6, 7, 8}));
  // Each missing key falls back on its own.
  EXPECT_EQ(ChooseArrangeArea(AreaMode::Custom, monitor, desktop, CustomArea{5, {}, {}, 8}), (Area{5, -200, 4480, 8}));
  // A size of zero or less cannot be drawn; it is taken as missing.
  EXPECT_EQ(ChooseArrangeArea(AreaMode::Custom, monitor, desktop, CustomArea{-5, -6, -7, 0}),
            (Area{-5, -6, 4480, 1440}));
  EXPECT_EQ(ChooseArrangeArea(AreaMode::Custom, monitor, desktop, CustomArea{5, 6, 0, 1}), (Area{5, 6, 4480, 1}));
}

}  // namespace
}  // namespace zarn
