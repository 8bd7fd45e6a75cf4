#include "core/RegionSnapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zarn {
namespace {

// A primary monitor with a second one to its left (negative origin) and a third to its right,
// lower and shorter, as the window system lists them: primary first.
const std::vector<Area> kMonitors = {
    {0, 0, 1920, 1080},
    {-1280, -200, 1280, 1024},
    {1920, 300, 1600, 900},
};

struct CursorCase {
  std::string name;
  Point cursor;
  int editorMonitor;
  int expected;
};

class MonitorAtCursor : public testing::TestWithParam<CursorCase> {};

TEST_P(MonitorAtCursor, PicksTheFirstMonitorWhoseColumnHoldsTheCursor) {
  const CursorCase& c = GetParam();
  EXPECT_EQ(MonitorIndexAtCursor(kMonitors, c.editorMonitor, c.cursor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(RegionSnapping, MonitorAtCursor,
                         testing::Values(CursorCase{"InsidePrimary", {100, 100}, 2, 0},
                                         CursorCase{"InsideLeftMonitorNegativeOrigin", {-640, 300}, 0, 1},
                                         CursorCase{"InsideRightMonitor", {2500, 600}, 0, 2},
                                         // Only x counts: above the right monitor's top, beside the primary's bottom.
                                         CursorCase{"OnlyXIsTested", {2500, 10}, 0, 2},
                                         CursorCase{"FarBelowStillByColumn", {-10, 5000}, 0, 1},
                                         // The seam belongs to both ranges; the first in order wins.
                                         CursorCase{"SeamPrimaryAndRightGoesToPrimary", {1920, 500}, 1, 0},
                                         CursorCase{"SeamLeftAndPrimaryGoesToPrimary", {0, 500}, 1, 0},
                                         CursorCase{"LeftEdgeOfLeftMonitor", {-1280, 0}, 0, 1},
                                         CursorCase{"RightEdgeOfRightMonitor", {3520, 0}, 1, 2},
                                         CursorCase{"PastTheRightEndFallsBackToEditor", {3521, 0}, 1, 1},
                                         CursorCase{"PastTheLeftEndFallsBackToEditor", {-1281, 0}, 2, 2}),
                         [](const testing::TestParamInfo<CursorCase>& info) { return info.param.name; });

TEST(RegionSnapping, NoMonitorsFallsBackToEditor) { EXPECT_EQ(MonitorIndexAtCursor({}, 3, {0, 0}), 3); }

// A gap between two monitors that are not adjacent: a cursor in it is on no monitor.
TEST(RegionSnapping, CursorBetweenMonitorsFallsBackToEditor) {
  const std::vector<Area> apart = {{0, 0, 1000, 800}, {1200, 0, 1000, 800}};
  EXPECT_EQ(MonitorIndexAtCursor(apart, 1, {1100, 400}), 1);
  EXPECT_EQ(MonitorIndexAtCursor(apart, 0, {1100, 400}), 0);
  EXPECT_EQ(MonitorIndexAtCursor(apart, 0, {1200, 400}), 1);
}

struct SnapCase {
  std::string name;
  Rect editor;
  Area monitor;
  Corner corner;
  Rect expected;
};

class Snap : public testing::TestWithParam<SnapCase> {};

TEST_P(Snap, MovesOnlyTheChosenCorner) {
  const SnapCase& c = GetParam();
  EXPECT_EQ(SnapCorner(c.editor, c.monitor, c.corner), c.expected);
}

constexpr Rect kEditor{100, 150, 600, 650};
constexpr Area kPrimary{0, 0, 1920, 1080};
constexpr Area kLeft{-1280, -200, 1280, 1024};

INSTANTIATE_TEST_SUITE_P(
    RegionSnapping, Snap,
    testing::Values(SnapCase{"TopLeft", kEditor, kPrimary, Corner::TopLeft, {0, 0, 600, 650}},
                    SnapCase{"TopRight", kEditor, kPrimary, Corner::TopRight, {100, 0, 1920, 650}},
                    SnapCase{"BottomLeft", kEditor, kPrimary, Corner::BottomLeft, {0, 150, 600, 1080}},
                    SnapCase{"BottomRight", kEditor, kPrimary, Corner::BottomRight, {100, 150, 1920, 1080}},
                    SnapCase{"TopLeftNegativeOrigin", kEditor, kLeft, Corner::TopLeft, {-1280, -200, 600, 650}},
                    SnapCase{"TopRightNegativeOrigin", kEditor, kLeft, Corner::TopRight, {100, -200, 0, 650}},
                    SnapCase{"BottomLeftNegativeOrigin", kEditor, kLeft, Corner::BottomLeft, {-1280, 150, 600, 824}},
                    SnapCase{"BottomRightNegativeOrigin", kEditor, kLeft, Corner::BottomRight, {100, 150, 0, 824}}),
    [](const testing::TestParamInfo<SnapCase>& info) { return info.param.name; });

TEST(RegionSnapping, TopLeftThenBottomRightCoversTheWholeMonitor) {
  for (const Area& m : kMonitors) {
    const Rect once = SnapCorner(kEditor, m, Corner::TopLeft);
    const Rect both = SnapCorner(once, m, Corner::BottomRight);
    EXPECT_EQ(both, (Rect{m.left, m.top, m.left + m.width, m.top + m.height}));
    EXPECT_EQ(both.Width(), m.width);
    EXPECT_EQ(both.Height(), m.height);
  }
}

TEST(RegionSnapping, BottomRightThenTopLeftCoversTheWholeMonitorToo) {
  const Rect both = SnapCorner(SnapCorner(kEditor, kLeft, Corner::BottomRight), kLeft, Corner::TopLeft);
  EXPECT_EQ(both, (Rect{-1280, -200, 0, 824}));
}

}  // namespace
}  // namespace zarn
