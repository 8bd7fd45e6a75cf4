#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedDesktop.h"
#include "core/Error.h"

namespace zarn::test {
namespace {

std::string Pos(WindowHandle h, int x, int y, int cx, int cy, int flags) {
  return "SetWindowPos(" + std::to_string(h) + ", 0, " + std::to_string(x) + ", " + std::to_string(y) + ", " +
         std::to_string(cx) + ", " + std::to_string(cy) + ", " + std::to_string(flags) + ")";
}
std::string Show(WindowHandle h, int cmd) {
  return "ShowWindow(" + std::to_string(h) + ", " + std::to_string(cmd) + ")";
}

using Snapshot = DesktopTest;

TEST_F(Snapshot, NoWindowsGiveAnEmptyListAndNoCommandTouchesAnything) {
  desktop_.AddOtherWindow();
  Organiser().RefreshHandleList();
  EXPECT_TRUE(Organiser().Handles().empty());
  Organiser().CascadeWindows(false);
  Organiser().CascadeWindows(true);
  Organiser().TileWindows();
  Organiser().CloseAllWindows();
  EXPECT_TRUE(desktop_.Log().empty());
}

TEST_F(Snapshot, ListsFolderViewsInCollectionOrderWithTheirPlacement) {
  const WindowHandle first = desktop_.AddFolderWindow("C:\\A", Rect{10, 20, 310, 220});
  desktop_.AddOtherWindow();
  const WindowHandle vanished = desktop_.AddFolderWindow("C:\\Gone", Rect{0, 0, 5, 5});
  desktop_.Items().back().vanishes = true;
  // Maximized: the rectangle is the maximized one, the normal rectangle is kept apart.
  const Placement maxPlacement{3, {-32000, -32000}, {-8, -8}, {100, 50, 900, 650}};
  const WindowHandle maximized = desktop_.AddFolderWindow(AsciiPath("C:\\A"), Rect{-8, -8, 1928, 1088}, maxPlacement);

  Organiser().RefreshHandleList();
  const HandleList& list = Organiser().Handles();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->Handle, first);
  EXPECT_EQ(list[0]->Path, "C:\\A");
  EXPECT_EQ(list[0]->WindowRect, (Rect{10, 20, 310, 220}));
  EXPECT_EQ(list[0]->ShowCmd, 1);
  EXPECT_EQ(list[1]->Handle, maximized);
  EXPECT_EQ(list[1]->Path, "C:\\A");  // two windows on one folder: two records
  EXPECT_EQ(list[1]->WindowRect, (Rect{-8, -8, 1928, 1088}));
  EXPECT_EQ(list[1]->ShowCmd, 3);
  EXPECT_EQ(list[1]->MinPosition, (Point{-32000, -32000}));
  EXPECT_EQ(list[1]->MaxPosition, (Point{-8, -8}));
  EXPECT_EQ(list[1]->NormalPosition, (Rect{100, 50, 900, 650}));
  EXPECT_NE(list[0]->Handle, vanished);

  // Every snapshot starts from nothing.
  desktop_.Items().erase(desktop_.Items().begin());
  Organiser().RefreshHandleList();
  ASSERT_EQ(Organiser().Handles().size(), 1u);
  EXPECT_EQ(Organiser().Handles()[0]->Handle, maximized);
}

TEST_F(Snapshot, FailingItemEndsTheCommandKeepingWhatWasRead) {
  const WindowHandle first = desktop_.AddFolderWindow("C:\\A", Rect{0, 0, 100, 100});
  desktop_.AddFolderWindow("C:\\B", Rect{0, 0, 100, 100});
  desktop_.Items().back().pathFailures = -1;
  desktop_.AddFolderWindow("C:\\C", Rect{0, 0, 100, 100});

  EXPECT_THROW(Organiser().TileWindows(), Error);
  ASSERT_EQ(Organiser().Handles().size(), 1u);
  EXPECT_EQ(Organiser().Handles()[0]->Handle, first);
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 0);

  desktop_.SetShellBroken(true);
  EXPECT_THROW(Organiser().CloseAllWindows(), Error);
  EXPECT_EQ(desktop_.Count("PostClose"), 0);
}

using AreaSetting = DesktopTest;

TEST_F(AreaSetting, ToolbarMonitorIsTheDefaultEvenWithANegativeOrigin) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}, Area{-1280, -300, 1280, 1024}});
  desktop_.PutToolbarOn(kToolbar, 1);
  EXPECT_EQ(Organiser().GetArrangeArea(), (Area{-1280, -300, 1280, 1024}));
  for (const char* mode : {"0", "3", "-1", "two", "$7"}) {
    SettingsText(std::string("[Config]\nMoniterMode=") + mode + "\n");
    EXPECT_EQ(Organiser().GetArrangeArea(), (Area{-1280, -300, 1280, 1024})) << mode;
  }
}

TEST_F(AreaSetting, DesktopAndCustomModes) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}, Area{-1280, -300, 1280, 1024}});
  const Area desktop{-1280, -300, 3200, 1380};

  SettingsText("[Config]\nMoniterMode=1\nCustomLeft=5\nCustomTop=6\nCustomWidth=7\nCustomHeight=8\n");
  EXPECT_EQ(Organiser().GetArrangeArea(), desktop);

  SettingsText("[Config]\nMoniterMode=x2\nCustomLeft=5\nCustomTop=6\nCustomWidth=7\nCustomHeight=8\n");
  EXPECT_EQ(Organiser().GetArrangeArea(), (Area{5, 6, 7, 8}));

  SettingsText("[Config]\nMoniterMode=0x2\nCustomLeft=-100\nCustomHeight=$10\n");
  EXPECT_EQ(Organiser().GetArrangeArea(), (Area{-100, -300, 3200, 16}));

  // Custom without any custom key is the desktop.
  SettingsText("[config]\nmonitermode=2\n");
  EXPECT_EQ(Organiser().GetArrangeArea(), desktop);

  // Values that are not numbers, or sizes no rectangle can have, fall back to the desktop's.
  SettingsText("[Config]\nMoniterMode=2\nCustomLeft=left\nCustomTop=7\nCustomWidth=-640\nCustomHeight=480\n");
  EXPECT_EQ(Organiser().GetArrangeArea(), (Area{-1280, 7, 3200, 480}));
}

using Cascade = DesktopTest;

TEST_F(Cascade, KeepSizeShowsThenMovesEachWindowInOrder) {
  desktop_.SetCaptionHeight(19);
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{500, 500, 900, 800});
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{0, 0, 300, 300});
  Organiser().CascadeWindows(false);
  EXPECT_EQ(desktop_.Log(),
            (std::vector<std::string>{Show(a, 10), Pos(a, 0, 0, 0, 0, 1), Show(b, 10), Pos(b, 19, 19, 0, 0, 1)}));
  // Sizes are kept.
  EXPECT_EQ(desktop_.Window(a).rect, (Rect{0, 0, 400, 300}));
  EXPECT_EQ(desktop_.Window(b).rect, (Rect{19, 19, 319, 319}));
}

TEST_F(Cascade, KeepSizeWrapsInsideASmallCustomArea) {
  SettingsText("[Config]\nMoniterMode=2\nCustomLeft=100\nCustomTop=200\nCustomWidth=50\nCustomHeight=500\n");
  std::vector<WindowHandle> handles;
  for (int i = 0; i < 4; ++i) handles.push_back(desktop_.AddFolderWindow("C:\\W", Rect{0, 0, 800, 600}));
  Organiser().CascadeWindows(false);
  // x wraps once it passes the right edge, y runs on: the window's own size is never tested.
  EXPECT_EQ(desktop_.Window(handles[2]).rect.left, 146);
  EXPECT_EQ(desktop_.Window(handles[2]).rect.top, 246);
  EXPECT_EQ(desktop_.Window(handles[3]).rect.left, 100);
  EXPECT_EQ(desktop_.Window(handles[3]).rect.top, 269);
}

TEST_F(Cascade, UniformSizeIsHalfTheToolbarMonitorWhateverTheArea) {
  desktop_.SetMonitors({Area{-2560, 0, 2560, 1440}, Area{0, 0, 1920, 1080}});
  desktop_.PutToolbarOn(kToolbar, 1);
  for (const std::string mode : {"MoniterMode=1",
                                 "MoniterMode=2\nCustomLeft=0\nCustomTop=0\nCustomWidth=3000\n"
                                 "CustomHeight=2000",
                                 "MoniterMode=0"}) {
    SettingsText("[Config]\n" + mode + "\n");
    const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{0, 0, 10, 10});
    desktop_.ClearLog();
    Organiser().CascadeWindows(true);
    EXPECT_EQ(desktop_.Window(a).rect.Width(), 960) << mode;
    EXPECT_EQ(desktop_.Window(a).rect.Height(), 540) << mode;
    EXPECT_EQ(desktop_.Log().back().substr(desktop_.Log().back().size() - 3), " 0)") << "flags 0 in " << mode;
  }
}

using Tile = DesktopTest;

TEST_F(Tile, ThreeWindowsFillTheAreaInSnapshotOrder) {
  desktop_.SetMonitors({Area{-1920, 0, 1920, 1080}});
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{});
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{});
  const WindowHandle c = desktop_.AddFolderWindow("C:\\C", Rect{});
  Organiser().TileWindows();
  EXPECT_EQ(desktop_.Log(),
            (std::vector<std::string>{Show(a, 10), Pos(a, -1920, 0, 1920, 540, 0), Show(b, 10),
                                      Pos(b, -1920, 540, 960, 540, 0), Show(c, 10), Pos(c, -960, 540, 960, 540, 0)}));
}

// A window that does not answer is left where it is, and the others share the area as if it were not
// there: moving it would hold the program up for as long as it hangs.
TEST_F(Tile, AWindowThatDoesNotAnswerIsPassedOver) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}});
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{});
  const WindowHandle hung = desktop_.AddFolderWindow("\\\\server\\gone", Rect{5, 5, 50, 50});
  const WindowHandle c = desktop_.AddFolderWindow("C:\\C", Rect{});
  desktop_.Window(hung).hung = true;
  Organiser().TileWindows();
  EXPECT_EQ(desktop_.Log(), (std::vector<std::string>{Show(a, 10), Pos(a, 0, 0, 1920, 540, 0), Show(c, 10),
                                                      Pos(c, 0, 540, 1920, 540, 0)}));
  desktop_.ClearLog();
  Organiser().CascadeWindows(false);
  EXPECT_EQ(desktop_.LogFor(hung), std::vector<std::string>{});
  EXPECT_EQ(desktop_.Window(hung).rect, (Rect{5, 5, 50, 50}));
}

// A window that rescales itself on its way to a monitor of another scale is moved once more, and only
// that one.
TEST_F(Tile, AWindowThatRescalesDuringTheMoveIsMovedAgain) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}});
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{});
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{});
  desktop_.Window(b).rescaleOnNextMove = 1.5;
  Organiser().TileWindows();
  EXPECT_EQ(desktop_.Window(a).rect, (Rect{0, 0, 1920, 540}));
  EXPECT_EQ(desktop_.Window(b).rect, (Rect{0, 540, 1920, 1080}));
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 3);
}

// With invisible resize borders (7 px left, right and bottom on Windows 10 and 11) the visible frames
// meet and reach the monitor's edges; the cascade puts each visible corner on its step.
TEST_F(Tile, VisibleFramesFillTheCellsWhateverTheInvisibleBorders) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}});
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{100, 100, 600, 500});
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{100, 100, 600, 500});
  for (WindowHandle w : {a, b}) desktop_.Window(w).invisibleBorders = Rect{7, 0, 7, 7};
  Organiser().TileWindows();
  EXPECT_EQ(desktop_.VisibleFrame(a), (Rect{0, 0, 1920, 540}));
  EXPECT_EQ(desktop_.VisibleFrame(b), (Rect{0, 540, 1920, 1080}));
  Organiser().CascadeWindows(false);
  EXPECT_EQ(desktop_.VisibleFrame(a).left, 0);
  EXPECT_EQ(desktop_.VisibleFrame(a).top, 0);
  EXPECT_EQ(desktop_.VisibleFrame(b).left - desktop_.VisibleFrame(a).left, desktop_.CaptionHeight());
}

// Earlier versions could store an empty custom area: it takes the desktop's extent instead of
// making zero-size cells or stacking every window at one point.
TEST_F(Tile, AStoredEmptyCustomAreaTakesTheDesktopsExtent) {
  desktop_.SetMonitors({Area{0, 0, 1920, 1080}});
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{});
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{});
  for (const char* size :
       {"CustomWidth=0\nCustomHeight=0", "CustomWidth=0\nCustomHeight=600", "CustomWidth=800\nCustomHeight=0"}) {
    SCOPED_TRACE(size);
    SettingsText(std::string("[Config]\nMoniterMode=2\nCustomLeft=10\nCustomTop=20\n") + size + "\n");
    desktop_.ClearLog();
    Organiser().TileWindows();
    for (const Rect& cell : {desktop_.GetWindowRect(a), desktop_.GetWindowRect(b)}) {
      EXPECT_GT(cell.right - cell.left, 0);
      EXPECT_GT(cell.bottom - cell.top, 0);
    }
    EXPECT_NE(desktop_.GetWindowRect(a), desktop_.GetWindowRect(b));
  }
}

using Tabs = DesktopTest;

TEST_F(Tabs, ArrangingMovesEachWindowOnce) {
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{0, 0, 100, 100});
  desktop_.AddTab(a, "C:\\A2");
  const WindowHandle b = desktop_.AddFolderWindow("C:\\B", Rect{0, 0, 100, 100});
  desktop_.AddTab(a, "C:\\A3");
  desktop_.AddTab(b, "C:\\B2");

  Organiser().TileWindows();
  // Two windows, not five tabs: two full-width rows, a first, as first listed.
  EXPECT_EQ(desktop_.Log(), (std::vector<std::string>{Show(a, 10), Pos(a, 0, 0, 1920, 540, 0), Show(b, 10),
                                                      Pos(b, 0, 540, 1920, 540, 0)}));
  desktop_.ClearLog();
  Organiser().CascadeWindows(true);
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 2);
  EXPECT_EQ(desktop_.Window(b).rect.left, 23);
  desktop_.ClearLog();
  Organiser().CloseAllWindows();
  EXPECT_EQ(desktop_.Log(),
            (std::vector<std::string>{"PostClose(" + std::to_string(a) + ")", "PostClose(" + std::to_string(b) + ")"}));
  // The snapshot itself still lists every tab.
  EXPECT_EQ(Organiser().Handles().size(), 5u);
}

}  // namespace
}  // namespace zarn::test
