// The settings dialog and the custom region editor as a user works them in the real program: the
// transparency preview and what Cancel leaves of it, the region editor and its corners, the
// workbench organiser, stored values out of range, the tray while the dialog shows, and the keys
// that must or must not close it.
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <algorithm>

#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

constexpr wchar_t kEditorClass[] = L"TZarnFrmCustomMode";
constexpr wchar_t kInformation[] = L"情報";
constexpr wchar_t kAlreadyRegistered[] = L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています";

// The editor's buttons in the order of their places: top row left to right, then the bottom row.
enum EditorButton { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kConfirm };

constexpr RECT kMonitor{0, 0, 1920, 1080};

struct Layer {
  bool layered = false;
  DWORD flags = 0;
  BYTE alpha = 0;
  COLORREF key = 0;
};

// Read across processes, as the window system keeps it.
Layer LayerOf(HWND window) {
  Layer layer;
  layer.layered = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (layer.layered) GetLayeredWindowAttributes(window, &layer.key, &layer.alpha, &layer.flags);
  return layer;
}

bool IsAlpha(const Layer& layer, BYTE alpha) { return layer.layered && layer.flags == LWA_ALPHA && layer.alpha == alpha; }
bool IsColourKey(const Layer& layer) {
  return layer.layered && layer.flags == LWA_COLORKEY && layer.key == GetSysColor(COLOR_BTNFACE);
}

// Three workbenches, the first with a folder record, as the program writes them.
std::string ThreeWorkBenches(std::wstring_view first = L"A") {
  return WorkBenchSection(first, true, {{L"C:\\Work\\One", RectAt(10, 20, 300, 200)}}) +
         WorkBenchSection(L"B", false) + WorkBenchSection(L"C", false);
}

class SettingsDialogTest : public E2eTest {
 protected:
  ZarnClient& Start(const std::vector<Setting>& settings, const std::string& workBenches = ThreeWorkBenches()) {
    std::filesystem::create_directories(ZarnFolder());
    WriteFileBytes(ZarnFolder() / L"Zarn.wbf", workBenches);
    return Ready(StartZarn(ConfigIni(settings)));
  }

  // Opens the dialog through a command, as its menu item would.
  HWND Open(UINT command) {
    EXPECT_TRUE(Zarn().Post(command));
    dialog_ = WaitForDialogWith(Zarn(), IDC_CONFIG_TABS);
    EXPECT_NE(dialog_, nullptr) << "the settings dialog did not open";
    return dialog_;
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  static LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &answer), 0) << message;
    return static_cast<LRESULT>(answer);
  }

  // The program's thread handles its posted messages in order: once a marker posted after them has
  // arrived, so have they. The marker is the track bar's arrow-key step, which no scenario uses.
  bool Flush() {
    HWND track = Item(IDC_TKB_MAINLAYER);
    const LPARAM marker = ++marker_ % 50 + 2;
    PostMessageW(track, TBM_SETLINESIZE, 0, marker);
    return WaitUntil([&] { return SendTo(track, TBM_GETLINESIZE) == marker; }, 5s);
  }

  // A user's pick in a drop-down list: the selection, then the notification it makes.
  void Choose(int combo, int index) {
    SendTo(Item(combo), CB_SETCURSEL, static_cast<WPARAM>(index));
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(combo)));
  }
  int Selection(int combo) { return static_cast<int>(SendTo(Item(combo), CB_GETCURSEL)); }

  void MoveTrackBar(int position) {
    HWND track = Item(IDC_TKB_MAINLAYER);
    SendTo(track, TBM_SETPOS, TRUE, position);
    PostMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(track));
    EXPECT_TRUE(Flush());
  }

  // Presses OK or Cancel and waits until the command that showed the dialog has come back.
  void CloseWith(int button) {
    ASSERT_TRUE(ZarnClient::PressButton(dialog_, button));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog_); }, 5s)) << "the dialog stayed";
    ASSERT_TRUE(Zarn().WaitIdle());
  }

  std::vector<std::wstring> Rows() {
    HWND list = Item(IDC_LST_WB);
    std::vector<std::wstring> rows;
    const LRESULT count = SendTo(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendTo(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
      std::wstring row(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
      SendTo(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row.data()));
      row.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
      rows.push_back(row);
    }
    return rows;
  }

  void SelectRow(int row) {
    HWND list = Item(IDC_LST_WB);
    SendTo(list, LB_SETCURSEL, static_cast<WPARAM>(row));
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_LST_WB, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(Flush());
  }

  void Press(int button) {
    EXPECT_TRUE(ZarnClient::PressButton(dialog_, button)) << button;
    EXPECT_TRUE(Flush());
  }

  // Renames the selected row through the input dialog; what the program then said, if anything.
  std::wstring Rename(std::wstring_view name) {
    EXPECT_TRUE(ZarnClient::PressButton(dialog_, IDC_BTN_CHANGENAME));
    HWND input = WaitForDialogWith(Zarn(), IDC_INPUT_EDIT);
    if (input == nullptr) return L"(no input dialog)";
    EXPECT_TRUE(ZarnClient::SetControlText(input, IDC_INPUT_EDIT, name));
    EXPECT_TRUE(ZarnClient::PressButton(input, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(input); }, 5s));
    EXPECT_TRUE(Flush());
    HWND box = Zarn().WaitForDialog(kInformation, 300ms);
    if (box == nullptr) return {};
    std::vector<std::wstring> texts;
    WaitUntil([&] { return !(texts = ZarnClient::StaticTexts(box)).empty(); }, 2s);
    EXPECT_TRUE(ZarnClient::PressButton(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s));
    return Joined(texts);
  }

  // The workbenches the load button's menu offers.
  std::vector<std::wstring> LoadMenuNames() {
    const auto menu = OpenDropDown(Zarn(), kLoadButton);
    EXPECT_TRUE(menu) << "the load menu did not open";
    EXPECT_TRUE(Zarn().CloseMenus());
    std::vector<std::wstring> names;
    if (!menu) return names;
    const auto items = Level(*menu);
    for (std::size_t i = 2; i < items.size(); ++i) names.push_back(items[i].text);
    return names;
  }

  std::string WorkBenchBytes() { return TryReadFileBytes(Zarn().WorkBenchFile()).value_or("(unreadable)"); }

  // The region editor of the program, once it shows.
  HWND WaitForEditor() {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND window : FindWindowsOfClass(kEditorClass)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == Zarn().ProcessId() && IsWindowVisible(window)) found = window;
          }
          return found != nullptr;
        },
        5s);
    return found;
  }

  // Clicks one of the editor's buttons, found by where it sits in the editor's panel.
  static void Click(HWND editor, EditorButton which) {
    std::vector<HWND> buttons;
    EnumChildWindows(
        editor,
        [](HWND child, LPARAM list) -> BOOL {
          wchar_t name[32] = {};
          GetClassNameW(child, name, 32);
          if (lstrcmpiW(name, L"Button") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
      const RECT ra = WindowRect(a), rb = WindowRect(b);
      return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    ASSERT_EQ(buttons.size(), 5u) << "the editor's panel";
    PostMessageW(buttons[which], BM_CLICK, 0, 0);
  }

  HWND dialog_ = nullptr;

 private:
  LPARAM marker_ = 0;
};

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

INSTANTIATE_TEST_SUITE_P(
    Corners, CornerSnapTest,
    ::testing::Values(CornerCase{"TopLeftThenBottomRightCoverTheMonitor", RectAt(300, 200, 400, 300),
                                 {kTopLeft, kBottomRight}, kMonitor},
                      CornerCase{"BottomRightKeepsTheTopLeft", RectAt(200, 150, 500, 400), {kBottomRight},
                                 RectAt(200, 150, 1720, 930)}),
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
    ::testing::Values(CommitCase{"UnchangedFromTheSettingsCommand", IDM_CONFIG_DIALOG, {}, {L"A", L"B", L"C"}},
                      CommitCase{"UnchangedFromTheOrganiseCommand", IDM_ORGANISE_WB, {}, {L"A", L"B", L"C"}},
                      CommitCase{"NothingSelectedDoesNothing", IDM_ORGANISE_WB, {kUp, kDown, kDelete},
                                 {L"A", L"B", L"C"}},
                      CommitCase{"FirstUpAndLastDownDoNothing", IDM_ORGANISE_WB,
                                 {Select(0), kUp, Select(3), kDown},
                                 {L"A", L"B", L"C"}},
                      CommitCase{"MovedUpAndDown", IDM_ORGANISE_WB, {Select(2), kUp, kUp, Select(1), kDown},
                                 {L"C", L"B", L"A"}},
                      CommitCase{"DeletedIsGone", IDM_ORGANISE_WB, {Select(1), kDelete}, {L"A", L"C"}},
                      CommitCase{"AllDeleted", IDM_ORGANISE_WB,
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

INSTANTIATE_TEST_SUITE_P(Pages, KeysTest, ::testing::Values(IDM_CONFIG_DIALOG, IDM_ORGANISE_WB),
                         [](const auto& info) {
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
