// How the program shows itself: window and/or tray icon per ShowMode, the tray icon's clicks, the
// window's close box, and a second start of the same copy.
#include <algorithm>

#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

using StartModeTest = E2eTest;

// Posted, as the shell posts it. What it does is waited for, not the program's idle moment: a
// message sent to ask for that is answered before anything posted.
void TrayClick(const ZarnClient& zarn, UINT mouseMessage) {
  ASSERT_TRUE(zarn.PostToWindow(app::WM_TRAYNOTIFY, 1, mouseMessage));
}

bool BecomesVisible(const ZarnClient& zarn, bool visible, Milliseconds bound = 3s) {
  return WaitUntil([&] { return (IsWindowVisible(zarn.Window()) != FALSE) == visible; }, bound);
}

// The right-click menu: the commands, the two workbench submenus, exit.
void ExpectRightClickMenu(const ZarnClient& zarn) {
  const auto menu = MenuHolding(zarn, IDM_EXIT);
  ASSERT_TRUE(menu) << "the right-click menu did not open";
  const std::vector<UINT> ids = Ids(Level(*menu));
  for (UINT id : {IDM_CASCADE_KEEP_SIZE, IDM_CASCADE_UNIFORM, IDM_TILE, IDM_CLOSE_ALL}) {
    EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
  }
  EXPECT_TRUE(zarn.CloseMenus());
}

struct ModeCase {
  const char* name;
  const char* showMode;
  bool windowAtStart;
  bool leftClickShows;
  bool closeEnds;
};

class ShowModeTest : public E2eTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ShowModeTest, WindowTrayAndCloseBoxDoWhatTheModeSays) {
  const ModeCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"ShowMode", c.showMode}})));
  EXPECT_EQ(IsWindowVisible(zarn.Window()) != FALSE, c.windowAtStart);
  LoadStandinShell();
  TrayClick(zarn, WM_RBUTTONDOWN);
  ExpectRightClickMenu(zarn);

  ASSERT_TRUE(zarn.PostToWindow(WM_CLOSE, 0, 0));
  if (c.closeEnds) {
    ASSERT_TRUE(WaitUntil([&] { return !zarn.Running(); }, 5s));
    // An end like any other: the settings are written.
    EXPECT_TRUE(ConfigValue(zarn.SettingsFile(), "Left").has_value());
    return;
  }
  EXPECT_TRUE(BecomesVisible(zarn, false));
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_TRUE(zarn.Running());
  TrayClick(zarn, WM_LBUTTONDOWN);
  if (c.leftClickShows) {
    EXPECT_TRUE(BecomesVisible(zarn, true));
  } else {
    EXPECT_FALSE(BecomesVisible(zarn, true, 1s));
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ShowModeTest,
                         ::testing::Values(ModeCase{"WindowAndTray", "0", true, true, false},
                                           ModeCase{"WindowOnly", "1", true, false, true},
                                           ModeCase{"TrayOnly", "2", false, false, false},
                                           ModeCase{"OutOfRangeActsAsWindowAndTray", "7", true, true, false},
                                           ModeCase{"NegativeActsAsWindowAndTray", "-1", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartModeTest, TrayRightClickWaitsWhileADialogIsOpen) {
  ZarnClient& zarn = Ready(StartZarn());
  LoadStandinShell();
  ASSERT_TRUE(zarn.Post(IDM_NEW_WB));
  HWND dialog = WaitForDialogWith(zarn, IDC_INPUT_EDIT);
  ASSERT_NE(dialog, nullptr);
  TrayClick(zarn, WM_RBUTTONDOWN);
  EXPECT_EQ(zarn.WaitForMenu(1s), nullptr);
  ASSERT_TRUE(ZarnClient::PressButton(dialog, IDCANCEL));
  ASSERT_TRUE(WaitUntil([&] { return zarn.Dialogs().empty(); }, 5s));
  TrayClick(zarn, WM_RBUTTONDOWN);
  ExpectRightClickMenu(zarn);
}

struct SecondStartCase {
  const char* name;
  const char* showMode;
  bool popsMenu;
};

class SecondStartTest : public E2eTest, public ::testing::WithParamInterface<SecondStartCase> {};

TEST_P(SecondStartTest, EndsAtOnceAndTheRunningCopyComesForward) {
  const SecondStartCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"ShowMode", c.showMode}})));
  LoadStandinShell();
  // Out of sight first, so coming forward shows.
  ASSERT_TRUE(zarn.PostToWindow(WM_CLOSE, 0, 0));
  ASSERT_TRUE(BecomesVisible(zarn, false));

  Process second = zarn.StartAgain();
  EXPECT_EQ(second.WaitForExit(5s), std::optional<DWORD>(0));
  if (c.popsMenu) {
    ExpectRightClickMenu(zarn);
    EXPECT_FALSE(IsWindowVisible(zarn.Window()));
  } else {
    EXPECT_TRUE(
        WaitUntil([&] { return IsWindowVisible(zarn.Window()) && GetForegroundWindow() == zarn.Window(); }, 3s));
  }
  EXPECT_TRUE(zarn.Running());
}

INSTANTIATE_TEST_SUITE_P(Modes, SecondStartTest,
                         ::testing::Values(SecondStartCase{"WindowAndTray", "0", false},
                                           SecondStartCase{"TrayOnly", "2", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartModeTest, CopyInAnotherFolderRunsSideBySide) {
  ZarnClient& first = Ready(StartZarn());
  ZarnClient other(root_ / L"other");
  Ready(other);
  EXPECT_NE(other.Window(), first.Window());
  EXPECT_TRUE(IsWindowVisible(other.Window()));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(other.Close(), std::optional<DWORD>(0));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(std::filesystem::exists(other.SettingsFile()));
  EXPECT_FALSE(std::filesystem::exists(first.SettingsFile()));
}

}  // namespace
}  // namespace zarn::e2e
