// Tile, both cascades and close all, in real windows on the 1920 x 1080 test desktop. The host's
// window is on the only monitor, so the arrangement area is (0, 0, 1920, 1080).
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "TestHostCommands.h"

namespace zarn::e2e {
namespace {

constexpr int kDesktopWidth = 1920;
constexpr int kDesktopHeight = 1080;

class ArrangeTest : public E2eTest {
 protected:
  // Opens `count` folder windows at scattered places and returns them in the snapshot's order, the
  // order the commands work in.
  std::vector<HWND> OpenWindows(int count) {
    StartHost();
    std::vector<HWND> opened;
    for (int i = 0; i < count; ++i) {
      HWND window = OpenFolderWindow(MakeFolder(L"F" + std::to_wstring(i)));
      if (window == nullptr) return {};
      MoveWindowTo(window, RectAt(300 + 37 * i, 200 + 23 * i, 400 + 10 * i, 300 + 5 * i));
      opened.push_back(window);
    }
    std::vector<HWND> ordered;
    for (const SnapshotRecord& record : Host().Dump()) ordered.push_back(record.handle);
    EXPECT_EQ(ordered.size(), opened.size());
    return ordered;
  }
};

// Windows per row, top to bottom, as the tile table gives them.
struct TileCase {
  int windows;
  std::vector<int> rows;
};

class TileTest : public ArrangeTest, public ::testing::WithParamInterface<TileCase> {};

TEST_P(TileTest, FillsTheMonitorRowByRowWithShortRowsOnTop) {
  const TileCase& tile = GetParam();
  std::vector<HWND> windows = OpenWindows(tile.windows);
  ASSERT_EQ(windows.size(), static_cast<std::size_t>(tile.windows));
  ShowWindow(windows.back(), SW_MINIMIZE);  // a minimized window is brought back into the grid
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(windows.back()) != FALSE; }, 2s));

  EXPECT_EQ(Host().Command(testhost::kTile).status, testhost::kResultOk);

  const int cellHeight = kDesktopHeight / static_cast<int>(tile.rows.size());
  std::size_t next = 0;
  for (std::size_t row = 0; row < tile.rows.size(); ++row) {
    const int cellWidth = kDesktopWidth / tile.rows[row];
    for (int column = 0; column < tile.rows[row]; ++column, ++next) {
      SCOPED_TRACE("window " + std::to_string(next) + ", row " + std::to_string(row));
      const WindowState state = ReadWindow(windows[next]);
      EXPECT_FALSE(state.iconic);
      EXPECT_EQ(state.rect, RectAt(column * cellWidth, static_cast<int>(row) * cellHeight, cellWidth, cellHeight));
    }
  }
  EXPECT_EQ(next, windows.size());
}

INSTANTIATE_TEST_SUITE_P(Counts, TileTest,
                         ::testing::Values(TileCase{2, {1, 1}}, TileCase{3, {1, 2}}, TileCase{5, {1, 2, 2}},
                                           TileCase{10, {2, 2, 3, 3}}),
                         [](const ::testing::TestParamInfo<TileCase>& info) {
                           return std::to_string(info.param.windows) + "Windows";
                         });

TEST_F(ArrangeTest, CascadeKeepingSizesStepsByTheCaptionHeightFromTheTopLeftCorner) {
  std::vector<HWND> windows = OpenWindows(5);
  ASSERT_EQ(windows.size(), 5u);
  std::vector<RECT> before;
  for (HWND window : windows) before.push_back(ReadWindow(window).rect);
  const int step = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(step, 19);  // the test desktop's caption height; the expected places rest on it

  EXPECT_EQ(Host().Command(testhost::kCascadeKeepSize).status, testhost::kResultOk);

  for (std::size_t i = 0; i < windows.size(); ++i) {
    SCOPED_TRACE("window " + std::to_string(i));
    const int offset = step * static_cast<int>(i);
    EXPECT_EQ(ReadWindow(windows[i]).rect, RectAt(offset, offset, Width(before[i]), Height(before[i])));
  }
}

TEST_F(ArrangeTest, UniformCascadeGivesEveryWindowHalfTheMonitor) {
  std::vector<HWND> windows = OpenWindows(5);
  ASSERT_EQ(windows.size(), 5u);
  ShowWindow(windows[2], SW_MAXIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(windows[2]) != FALSE; }, 2s));
  const int step = GetSystemMetrics(SM_CYCAPTION);

  EXPECT_EQ(Host().Command(testhost::kCascadeUniform).status, testhost::kResultOk);

  for (std::size_t i = 0; i < windows.size(); ++i) {
    SCOPED_TRACE("window " + std::to_string(i));
    const int offset = step * static_cast<int>(i);
    const WindowState state = ReadWindow(windows[i]);
    EXPECT_FALSE(state.zoomed);
    EXPECT_EQ(state.rect, RectAt(offset, offset, kDesktopWidth / 2, kDesktopHeight / 2));
  }
}

TEST_F(ArrangeTest, CloseAllClosesEveryFolderWindowAndNothingElse) {
  std::vector<HWND> windows = OpenWindows(5);
  ASSERT_EQ(windows.size(), 5u);

  EXPECT_EQ(Host().Command(testhost::kCloseAll).status, testhost::kResultOk);

  EXPECT_TRUE(WaitUntil([&] { return FolderWindows().empty(); }, 5s));
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(Host().Window()));
  EXPECT_TRUE(Host().Dump().empty());
}

TEST_F(ArrangeTest, CommandsWithNoFolderWindowDoNothing) {
  StartHost();
  const RECT hostBefore = ReadWindow(Host().Window()).rect;
  for (std::uint16_t command : {testhost::kTile, testhost::kCascadeKeepSize, testhost::kCascadeUniform,
                                testhost::kCloseAll}) {
    EXPECT_EQ(Host().Command(command).status, testhost::kResultOk) << command;
  }
  EXPECT_EQ(ReadWindow(Host().Window()).rect, hostBefore);
  EXPECT_TRUE(IsWindow(Host().Window()));
}

}  // namespace
}  // namespace zarn::e2e
