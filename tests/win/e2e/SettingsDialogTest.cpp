// The settings dialog as a user works it in the real program: the transparency preview and what
// Cancel leaves of it, the workbench organiser, stored values out of range, the tray while the
// dialog shows, and the keys that must or must not close it.
#include "SettingsDialogScenario.h"

namespace zarn::e2e {
namespace {

// ---- transparency

struct PreviewCase {
  const char* name;
  const char* storedType;
  int chosenType;  // -1: left as stored
  bool previews;
};

class TrackBarPreviewTest : public SettingsDialogTest, public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(TrackBarPreviewTest, MovesTheToolbarsOpacityOnlyWithTheAlphaType) {
  const PreviewCase& c = GetParam();
  ZarnClient& zarn = Start({{"MainLayerType", c.storedType}, {"MainLayerAlpha", "255"}});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  if (c.chosenType >= 0) {
    Choose(IDC_CMB_LAYERTYPE, c.chosenType);
    ASSERT_TRUE(Flush());
  }
  MoveTrackBar(100);
  if (c.previews) {
    EXPECT_TRUE(WaitUntil([&] { return IsAlpha(LayerOf(zarn.Window()), 100); }, 3s));
  } else {
    EXPECT_FALSE(LayerOf(zarn.Window()).layered);
  }
  // Cancel gives the stored setting back.
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  const Layer after = LayerOf(zarn.Window());
  if (std::string_view(c.storedType) == "2") {
    EXPECT_TRUE(IsAlpha(after, 255)) << int{after.alpha};
  } else {
    EXPECT_FALSE(after.layered);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, TrackBarPreviewTest,
                         ::testing::Values(PreviewCase{"AlphaStored", "2", -1, true},
                                           PreviewCase{"AlphaChosen", "0", 2, true},
                                           PreviewCase{"Opaque", "0", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The colour key is the button face's colour: when the user changes that colour, the key follows, or
// the toolbar's background would show as a grey block.
TEST_F(SettingsDialogTest, ColourKeyFollowsAChangeOfTheButtonFaceColour) {
  ZarnClient& zarn = Start({{"MainLayerType", "1"}});
  LoadStandinShell();
  HWND host = zarn.WaitForHost();
  ASSERT_TRUE(WaitUntil([&] { return IsColourKey(LayerOf(zarn.Window())); }, 3s));
  const COLORREF before = LayerOf(zarn.Window()).key;
  const COLORREF changed = before == RGB(200, 180, 160) ? RGB(160, 180, 200) : RGB(200, 180, 160);
  ASSERT_TRUE(standin::SendSysColourRequest(host, COLOR_BTNFACE, changed));
  EXPECT_TRUE(WaitUntil([&] { return LayerOf(zarn.Window()).key == changed; }, 3s))
      << std::hex << LayerOf(zarn.Window()).key;
  // The colours may outlive the program in the prefix shared with the scenarios that follow.
  ASSERT_TRUE(standin::SendSysColourRequest(host, COLOR_BTNFACE, before));
  EXPECT_TRUE(WaitUntil([&] { return LayerOf(zarn.Window()).key == before; }, 3s));
}

struct CancelCase {
  const char* name;
  UINT command;
  bool restored;
};

class CancelPreviewTest : public SettingsDialogTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelPreviewTest, ColourKeyPreviewAfterCancel) {
  const CancelCase& c = GetParam();
  ZarnClient& zarn = Start({{"MainLayerType", "0"}});
  ASSERT_FALSE(LayerOf(zarn.Window()).layered);
  Open(c.command);
  ASSERT_NE(dialog_, nullptr);
  Choose(IDC_CMB_LAYERTYPE, 1);
  ASSERT_TRUE(WaitUntil([&] { return IsColourKey(LayerOf(zarn.Window())); }, 3s)) << "no preview";
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  if (c.restored) {
    EXPECT_FALSE(LayerOf(zarn.Window()).layered);
  } else {
    EXPECT_TRUE(IsColourKey(LayerOf(zarn.Window())));
  }
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "MainLayerType"), "0");
}

INSTANTIATE_TEST_SUITE_P(Commands, CancelPreviewTest,
                         ::testing::Values(CancelCase{"SettingsRestores", IDM_CONFIG_DIALOG, true},
                                           CancelCase{"OrganiseKeepsThePreview", IDM_ORGANISE_WB, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the organiser

TEST_F(SettingsDialogTest, DeleteThenCancelKeepsTheWorkBenchInFileAndMenus) {
  Start({});
  LoadStandinShell();
  const std::string before = WorkBenchBytes();
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(SendTo(Item(IDC_LST_WB), LB_GETCURSEL), LB_ERR);
  SelectRow(1);
  Press(IDC_BTN_DELETE);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A", L"C"}));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  EXPECT_EQ(WorkBenchBytes(), before);
  EXPECT_EQ(LoadMenuNames(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
}

TEST_F(SettingsDialogTest, RenameThenCancelKeepsTheOldName) {
  Start({});
  const std::string before = WorkBenchBytes();
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  SelectRow(0);
  EXPECT_EQ(Rename(L"Z"), L"");
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Z", L"B", L"C"}));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  EXPECT_EQ(WorkBenchBytes(), before);
  Open(IDM_ORGANISE_WB);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

TEST_F(SettingsDialogTest, RenameToARegisteredNameInAnyLetterCaseIsRefused) {
  Start({});
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  for (const wchar_t* name : {L"b", L"a"}) {
    SelectRow(0);
    EXPECT_EQ(Rename(name), kAlreadyRegistered) << Utf8(name);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A", L"B", L"C"})) << Utf8(name);
  }
  CloseWith(IDC_BTN_CONFIG_OK);
  EXPECT_EQ(WorkBenchBytes(), ThreeWorkBenches());
}

// A deletion reaches the workbenches only at OK: until then the name is taken.
TEST_F(SettingsDialogTest, NameOfAWorkBenchDeletedInThisShowingIsStillRefused) {
  Start({});
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  SelectRow(0);
  Press(IDC_BTN_DELETE);
  SelectRow(0);
  EXPECT_EQ(Rename(L"A"), kAlreadyRegistered);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"B", L"C"}));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

TEST_F(SettingsDialogTest, NameWithBlanksAtBothEndsKeepsItsWorkBenchTrimmed) {
  Start({});
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  SelectRow(0);
  EXPECT_EQ(Rename(L"  Q R  "), L"");
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Q R", L"B", L"C"}));
  CloseWith(IDC_BTN_CONFIG_OK);
  EXPECT_EQ(WorkBenchBytes(), ThreeWorkBenches(L"Q R"));
}

// A step on the organiser page: select a row, or press one of its buttons.
struct Step {
  int button;  // 0: select `row`
  int row = 0;
};

struct CommitCase {
  const char* name;
  UINT command;
  std::vector<Step> steps;
  std::vector<std::wstring> listed;  // the file's workbenches afterwards, in order
};

class CommitTest : public SettingsDialogTest, public ::testing::WithParamInterface<CommitCase> {};

// The file holds an empty workbench and no blank lines, which no write of the program leaves: any
// rewrite shows.
TEST_P(CommitTest, EveryOkRewritesTheFileFromTheList) {
  const CommitCase& c = GetParam();
  std::string packed;
  for (std::string line : SplitLines(ThreeWorkBenches() + "[Empty]\r\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) packed += line + "\r\n";
  }
  Start({}, packed);
  Open(c.command);
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A", L"B", L"C", L"Empty"}));
  for (const Step& step : c.steps) {
    if (step.button == 0) {
      SelectRow(step.row);
    } else {
      Press(step.button);
    }
  }
  CloseWith(IDC_BTN_CONFIG_OK);
  std::string expected;
  for (const std::wstring& name : c.listed) {
    expected += name == L"A" ? WorkBenchSection(L"A", true, {{L"C:\\Work\\One", RectAt(10, 20, 300, 200)}})
                             : WorkBenchSection(name, false);
  }
  EXPECT_EQ(WorkBenchBytes(), expected);
}

constexpr Step Select(int row) { return {0, row}; }
const Step kUp{IDC_BTN_UP}, kDown{IDC_BTN_DOWN}, kDelete{IDC_BTN_DELETE};

INSTANTIATE_TEST_SUITE_P(
    Lists, CommitTest,
    ::testing::Values(
        CommitCase{"UnchangedFromTheSettingsCommand", IDM_CONFIG_DIALOG, {}, {L"A", L"B", L"C"}},
        CommitCase{"UnchangedFromTheOrganiseCommand", IDM_ORGANISE_WB, {}, {L"A", L"B", L"C"}},
        CommitCase{"NothingSelectedDoesNothing", IDM_ORGANISE_WB, {kUp, kDown, kDelete}, {L"A", L"B", L"C"}},
        CommitCase{
            "FirstUpAndLastDownDoNothing", IDM_ORGANISE_WB, {Select(0), kUp, Select(3), kDown}, {L"A", L"B", L"C"}},
        CommitCase{"MovedUpAndDown", IDM_ORGANISE_WB, {Select(2), kUp, kUp, Select(1), kDown}, {L"C", L"B", L"A"}},
        CommitCase{"DeletedIsGone", IDM_ORGANISE_WB, {Select(1), kDelete}, {L"A", L"C"}},
        CommitCase{"AllDeleted",
                   IDM_ORGANISE_WB,
                   {Select(0), kDelete, Select(0), kDelete, Select(0), kDelete, Select(0), kDelete},
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the dialog's own make-up

// Each page's controls lie above the page control, for the mouse as well as for painting.
TEST_F(SettingsDialogTest, ThePagesControlsLieAboveThePageControl) {
  Start({});
  const struct {
    UINT command;  // which page it opens on
    std::vector<int> controls;
  } pages[] = {{IDM_CONFIG_DIALOG, {IDC_CMB_MONITMODE, IDC_CMB_SHOWMODE}},
               {IDM_ORGANISE_WB, {IDC_LST_WB, IDC_BTN_UP, IDC_BTN_DOWN, IDC_BTN_CHANGENAME, IDC_BTN_DELETE}}};
  for (const auto& page : pages) {
    Open(page.command);
    ASSERT_NE(dialog_, nullptr);
    for (int id : page.controls) {
      ASSERT_TRUE(IsWindowVisible(Item(id))) << id;
      const RECT r = WindowRect(Item(id));
      POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ScreenToClient(dialog_, &centre);
      // The topmost child holding the point, whatever its hit test answers.
      EXPECT_EQ(ChildWindowFromPointEx(dialog_, centre, CWP_SKIPINVISIBLE), Item(id)) << "control " << id;
    }
    CloseWith(IDC_BTN_CONFIG_CANCEL);
  }
}

// ---- stored values, the tray, the keys

TEST_F(SettingsDialogTest, StoredValuesOutOfRangeShowAsTheControlsCanAndOkStoresThat) {
  ZarnClient& zarn = Start({{"ShowMode", "5"}, {"MainLayerAlpha", "300"}});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(Selection(IDC_CMB_SHOWMODE), CB_ERR);
  EXPECT_EQ(SendTo(Item(IDC_TKB_MAINLAYER), TBM_GETPOS), 255);
  CloseWith(IDC_BTN_CONFIG_OK);
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "ShowMode"), "-1");
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "MainLayerAlpha"), "255");
}

TEST_F(SettingsDialogTest, TrayRightClickOpensNoMenuWhileTheDialogShows) {
  ZarnClient& zarn = Start({});
  Open(IDM_CONFIG_DIALOG);
  ASSERT_NE(dialog_, nullptr);
  ASSERT_TRUE(zarn.PostToWindow(app::WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN));
  ASSERT_TRUE(Flush());
  EXPECT_EQ(zarn.WaitForMenu(300ms), nullptr);
  EXPECT_TRUE(zarn.CloseMenus());
  CloseWith(IDC_BTN_CONFIG_CANCEL);
  // The same click once the dialog is gone.
  ASSERT_TRUE(zarn.PostToWindow(app::WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN));
  EXPECT_NE(zarn.WaitForMenu(), nullptr);
  EXPECT_TRUE(zarn.CloseMenus());
}

class KeysTest : public SettingsDialogTest, public ::testing::WithParamInterface<UINT> {};

// Keys go to the control that has the focus, as typing sends them.
TEST_P(KeysTest, EnterAndEscapeCloseNothing) {
  Start({});
  Open(GetParam());
  ASSERT_NE(dialog_, nullptr);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &thread));
  ASSERT_TRUE(IsChild(dialog_, thread.hwndFocus));
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageW(thread.hwndFocus, WM_KEYDOWN, key, 1);
    PostMessageW(thread.hwndFocus, WM_KEYUP, key, 0xC0000001);
    ASSERT_TRUE(Flush());
    EXPECT_TRUE(IsWindowVisible(dialog_)) << "key " << key;
  }
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

INSTANTIATE_TEST_SUITE_P(Pages, KeysTest, ::testing::Values(IDM_CONFIG_DIALOG, IDM_ORGANISE_WB), [](const auto& info) {
  return std::string(info.param == IDM_CONFIG_DIALOG ? "General" : "WorkBenches");
});

struct CloseCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool toFocus;  // sent to the focused control rather than the dialog
};

class SystemCloseTest : public SettingsDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(SystemCloseTest, ActsAsCancelAndDropsTheRename) {
  const CloseCase& c = GetParam();
  ZarnClient& zarn = Start({});
  const std::string before = WorkBenchBytes();
  Open(IDM_ORGANISE_WB);
  ASSERT_NE(dialog_, nullptr);
  SelectRow(0);
  EXPECT_EQ(Rename(L"Z"), L"");
  HWND target = c.toFocus ? Item(IDC_LST_WB) : dialog_;
  PostMessageW(target, c.message, c.wParam, c.lParam);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog_); }, 5s)) << "the dialog stayed";
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_EQ(WorkBenchBytes(), before);
  Open(IDM_ORGANISE_WB);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
  CloseWith(IDC_BTN_CONFIG_CANCEL);
}

INSTANTIATE_TEST_SUITE_P(Ways, SystemCloseTest,
                         ::testing::Values(CloseCase{"CloseMessage", WM_CLOSE, 0, 0, false},
                                           CloseCase{"SystemCommand", WM_SYSCOMMAND, SC_CLOSE, 0, false},
                                           CloseCase{"AltF4", WM_SYSKEYDOWN, VK_F4, 0x20000001, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarn::e2e
