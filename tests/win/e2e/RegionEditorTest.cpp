// The custom region editor opened from the settings dialog: where it opens, what Cancel leaves, its
// corners and its keys.
#include "SettingsDialogScenario.h"

namespace zarn::e2e {
namespace {

// ---- the region editor

enum class EditorEnd { Confirm, CloseMessage, SystemClose, Escape };

struct EditorCase {
  const char* name;
  EditorEnd end;
  RECT stored;  // in the file after the program's next write
};

class RegionEditorTest : public SettingsDialogTest, public ::testing::WithParamInterface<EditorCase> {};

TEST_P(RegionEditorTest, OpensAtOnceAndOnlyAConfirmedAreaOutlivesCancel) {
  const EditorCase& c = GetParam();
  ZarnClient& zarn = Start({{"MoniterMode", "0"},
                            {"CustomLeft", "10"},
                            {"CustomTop", "20"},
                            {"CustomWidth", "300"},
                            {"CustomHeight", "200"}});
  const std::string settingsBefore = ReadFileBytes(zarn.SettingsFile());
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_MONITMODE, 2);
  HWND editor = WaitForEditor();
  ASSERT_NE(editor, nullptr) << "choosing the custom mode opened no editor";
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_EQ(WindowRect(editor), RectAt(10, 20, 300, 200));

  SetCursorPos(960, 540);
  Click(editor, kTopLeft);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(editor) == RectAt(0, 0, 310, 220); }, 3s)) << "no snap";
  switch (c.end) {
    case EditorEnd::Confirm:
      Click(editor, kConfirm);
      break;
    case EditorEnd::CloseMessage:
      PostMessageW(editor, WM_CLOSE, 0, 0);
      break;
    case EditorEnd::SystemClose:
      PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case EditorEnd::Escape:
      PostMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 1);
      break;
  }
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5s)) << "the editor stayed";
  EXPECT_EQ(Selection(IDC_CMB_MONITMODE), 2);
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  EXPECT_EQ(ReadFileBytes(zarn.SettingsFile()), settingsBefore) << "Cancel wrote the settings file";

  ASSERT_TRUE(zarn.Close());
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "MoniterMode"), "0");
  const RECT& r = c.stored;
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "CustomLeft"), std::to_string(r.left));
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "CustomTop"), std::to_string(r.top));
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "CustomWidth"), std::to_string(Width(r)));
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "CustomHeight"), std::to_string(Height(r)));
}

INSTANTIATE_TEST_SUITE_P(Ends, RegionEditorTest,
                         ::testing::Values(EditorCase{"Confirmed", EditorEnd::Confirm, RectAt(0, 0, 310, 220)},
                                           EditorCase{"Closed", EditorEnd::CloseMessage, RectAt(10, 20, 300, 200)},
                                           EditorCase{"AltF4", EditorEnd::SystemClose, RectAt(10, 20, 300, 200)},
                                           EditorCase{"Escape", EditorEnd::Escape, RectAt(10, 20, 300, 200)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsDialogTest, FirstUseOfTheEditorShowsItAtTheOriginWithSize500) {
  Start({});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_MONITMODE, 2);
  HWND editor = WaitForEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(WindowRect(editor), RectAt(0, 0, 500, 500));
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5s));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

// An area stored on a monitor that is gone opens the editor on the nearest one, whole, at its size.
TEST_F(SettingsDialogTest, EditorForAnAreaOnNoMonitorOpensOnTheNearestOne) {
  Start({{"CustomLeft", "-3000"}, {"CustomTop", "-2000"}, {"CustomWidth", "400"}, {"CustomHeight", "300"}});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_MONITMODE, 2);
  HWND editor = WaitForEditor();
  ASSERT_NE(editor, nullptr);
  const RECT r = WindowRect(editor);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_GE(r.left, kMonitor.left);
  EXPECT_GE(r.top, kMonitor.top);
  EXPECT_LE(r.right, kMonitor.right);
  EXPECT_LE(r.bottom, kMonitor.bottom);
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5s));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

// The editor without a mouse: the arrow keys move it by a pixel, Tab reaches its first button and
// Enter presses it (the top-left corner).
TEST_F(SettingsDialogTest, EditorIsMovedAndSnappedFromTheKeyboard) {
  Start({{"CustomLeft", "300"}, {"CustomTop", "200"}, {"CustomWidth", "400"}, {"CustomHeight", "300"}});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_MONITMODE, 2);
  HWND editor = WaitForEditor();
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(editor).left == 300; }, 2s));
  for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_LEFT}) PostMessageW(editor, WM_KEYDOWN, key, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowRect(editor).left == 301 && WindowRect(editor).top == 201; }, 2s))
      << WindowRect(editor).left << ", " << WindowRect(editor).top;
  PostMessageW(editor, WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(Zarn().WaitIdle());
  HWND focus = nullptr;
  WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &info);
        focus = info.hwndFocus;
        return focus != nullptr && IsChild(editor, focus);
      },
      2s);
  ASSERT_TRUE(focus != nullptr && IsChild(editor, focus)) << "Tab gave no button the focus";
  PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowRect(editor).left == 0 && WindowRect(editor).top == 0; }, 2s))
      << WindowRect(editor).left << ", " << WindowRect(editor).top;
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5s));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

struct CornerCase {
  const char* name;
  RECT stored;
  std::vector<EditorButton> corners;
  RECT snapped;
};

class CornerSnapTest : public SettingsDialogTest, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(CornerSnapTest, ConfirmedAreaIsWhereTheCustomModeTiles) {
  const CornerCase& c = GetParam();
  ZarnClient& zarn = Start({{"MoniterMode", "0"},
                            {"CustomLeft", std::to_string(c.stored.left)},
                            {"CustomTop", std::to_string(c.stored.top)},
                            {"CustomWidth", std::to_string(Width(c.stored))},
                            {"CustomHeight", std::to_string(Height(c.stored))}});
  LoadStandinShell();
  for (const wchar_t* name : {L"One", L"Two"}) ASSERT_NE(OpenFolderWindow(MakeFolder(name)), nullptr);

  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_MONITMODE, 2);
  HWND editor = WaitForEditor();
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(WindowRect(editor), c.stored);
  SetCursorPos(960, 540);
  for (EditorButton corner : c.corners) {
    const RECT before = WindowRect(editor);
    Click(editor, corner);
    ASSERT_TRUE(WaitUntil([&] { return !(WindowRect(editor) == before); }, 3s)) << "corner " << corner;
  }
  EXPECT_EQ(WindowRect(editor), c.snapped);
  Click(editor, kConfirm);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5s));
  CloseWith(IDC_BTN_CONFIG_OK);
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "MoniterMode"), "2");
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "CustomWidth"), std::to_string(Width(c.snapped)));

  ASSERT_TRUE(zarn.Send(IDM_TILE));
  const auto folders = ReportedFolders();
  ASSERT_EQ(folders.size(), 2u);
  const RECT& a = c.snapped;
  const int half = Height(a) / 2;
  EXPECT_EQ(ReadWindow(folders[0].hwnd).rect, RectAt(a.left, a.top, Width(a), half));
  EXPECT_EQ(ReadWindow(folders[1].hwnd).rect, RectAt(a.left, a.top + half, Width(a), half));
}

INSTANTIATE_TEST_SUITE_P(Corners, CornerSnapTest,
                         ::testing::Values(CornerCase{"TopLeftThenBottomRightCoverTheMonitor",
                                                      RectAt(300, 200, 400, 300),
                                                      {kTopLeft, kBottomRight},
                                                      kMonitor},
                                           CornerCase{"BottomRightKeepsTheTopLeft",
                                                      RectAt(200, 150, 500, 400),
                                                      {kBottomRight},
                                                      RectAt(200, 150, 1720, 930)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarn::e2e
