// Tile, both cascades and close all, in real windows on the 1920 x 1080 test desktop. The toolbar is
// on the only monitor, so the arrangement area is (0, 0, 1920, 1080).
#include <optional>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "StandinWindow.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

constexpr int kDesktopWidth = 1920;
constexpr int kDesktopHeight = 1080;

class ArrangeTest : public E2eTest {
 protected:
  // Opens `count` folder windows at scattered places and returns them in the snapshot's order, the
  // order the commands work in.
  std::vector<HWND> OpenWindows(int count, std::optional<WORD> startupShow = std::nullopt) {
    StartZarn(std::nullopt, {}, {}, startupShow);
    LoadStandinShell();
    std::vector<HWND> opened;
    for (int i = 0; i < count; ++i) {
      HWND window = OpenFolderWindow(MakeFolder(L"F" + std::to_wstring(i)));
      if (window == nullptr) return {};
      MoveWindowTo(window, RectAt(300 + 37 * i, 200 + 23 * i, 400 + 10 * i, 300 + 5 * i));
      opened.push_back(window);
    }
    std::vector<HWND> ordered;
    for (const standin::ReportedFolderWindow& window : ReportedFolders()) ordered.push_back(window.hwnd);
    EXPECT_EQ(ordered.size(), opened.size());
    return ordered;
  }
};

// Started from a shortcut set to "Run: Minimized", the program has a start-up show state of its own;
// the windows it arranges must not take it.
TEST_F(ArrangeTest, StartedMinimizedItStillShowsTheWindowsItArrangesNormally) {
  std::vector<HWND> windows = OpenWindows(3, SW_SHOWMINNOACTIVE);
  ASSERT_EQ(windows.size(), 3u);
  ShowWindow(windows[1], SW_MAXIMIZE);
  for (UINT command : {IDM_CASCADE_KEEP_SIZE, IDM_TILE, IDM_CASCADE_UNIFORM}) {
    SCOPED_TRACE(command);
    EXPECT_TRUE(Zarn().Send(command));
    for (HWND window : windows) {
      const WindowState state = ReadWindow(window);
      EXPECT_TRUE(state.visible);
      EXPECT_FALSE(state.iconic);
      EXPECT_FALSE(state.zoomed);
    }
  }
}

// A folder window the shell keeps hidden is no window of the user's: a tile neither shows nor moves
// it, and the others share the monitor.
TEST_F(ArrangeTest, AHiddenFolderWindowIsLeftHiddenAndOutOfTheTile) {
  std::vector<HWND> windows = OpenWindows(3);
  ASSERT_EQ(windows.size(), 3u);
  ShowWindow(windows[1], SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(windows[1]); }, 2s));
  const RECT before = ReadWindow(windows[1]).rect;
  EXPECT_TRUE(Zarn().Send(IDM_TILE));
  EXPECT_FALSE(IsWindowVisible(windows[1]));
  EXPECT_EQ(ReadWindow(windows[1]).rect, before);
  EXPECT_EQ(ReadWindow(windows[0]).rect, RectAt(0, 0, kDesktopWidth, kDesktopHeight / 2));
  EXPECT_EQ(ReadWindow(windows[2]).rect, RectAt(0, kDesktopHeight / 2, kDesktopWidth, kDesktopHeight / 2));
}

// An Explorer window stuck on a share that went away answers nothing; no command may wait for it. The
// tile goes on without it and shares the monitor among the others.
TEST_F(ArrangeTest, AWindowThatStopsAnsweringIsPassedOverWithoutWaitingForIt) {
  std::vector<HWND> windows = OpenWindows(2);
  ASSERT_EQ(windows.size(), 2u);
  HWND stuck = OpenFolderWindow(MakeFolder(L"Stuck"), {L"/own"});
  ASSERT_NE(stuck, nullptr);
  const RECT before = ReadWindow(stuck).rect;
  constexpr DWORD kStallMs = 8000;
  ASSERT_TRUE(PostMessageW(stuck, standin::kMsgStall, kStallMs, 0));
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(Zarn().Send(IDM_TILE));
  EXPECT_LT(GetTickCount64() - start, kStallMs / 2) << "the tile waited for the stuck window";
  EXPECT_EQ(ReadWindow(windows[0]).rect, RectAt(0, 0, kDesktopWidth, kDesktopHeight / 2));
  EXPECT_EQ(ReadWindow(windows[1]).rect, RectAt(0, kDesktopHeight / 2, kDesktopWidth, kDesktopHeight / 2));
  EXPECT_TRUE(
      WaitUntil([&] { return SendMessageTimeoutW(stuck, WM_NULL, 0, 0, SMTO_NORMAL, 500, nullptr) != 0; }, 15s));
  EXPECT_EQ(ReadWindow(stuck).rect, before);
}

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

  EXPECT_TRUE(Zarn().Send(IDM_TILE));

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

  EXPECT_TRUE(Zarn().Send(IDM_CASCADE_KEEP_SIZE));

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

  EXPECT_TRUE(Zarn().Send(IDM_CASCADE_UNIFORM));

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

  EXPECT_TRUE(Zarn().Send(IDM_CLOSE_ALL));

  EXPECT_TRUE(WaitUntil([&] { return FolderWindows().empty(); }, 5s));
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(Zarn().Window()));
  EXPECT_TRUE(Zarn().Running());
  EXPECT_TRUE(ReportedFolders().empty());
}

TEST_F(ArrangeTest, CommandsWithNoFolderWindowDoNothing) {
  StartZarn();
  // The toolbar takes its final size once its start-up messages are through.
  ASSERT_TRUE(Zarn().WaitIdle());
  const RECT toolbarBefore = ReadWindow(Zarn().Window()).rect;
  for (UINT command : {IDM_TILE, IDM_CASCADE_KEEP_SIZE, IDM_CASCADE_UNIFORM, IDM_CLOSE_ALL}) {
    EXPECT_TRUE(Zarn().Send(command)) << command;
    // A failing command would show the error display instead of doing nothing.
    EXPECT_TRUE(Zarn().Dialogs().empty()) << command;
  }
  EXPECT_EQ(ReadWindow(Zarn().Window()).rect, toolbarBefore);
  EXPECT_TRUE(IsWindow(Zarn().Window()));
  EXPECT_TRUE(Zarn().Running());
}

}  // namespace
}  // namespace zarn::e2e
