// The four workbench menus as a user meets them: their items and bold defaults, the questions before
// a workbench is overwritten, and restores started from each place a workbench can be picked.
#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

using standin::ReportedMenuItem;

constexpr wchar_t kSaveParent[] = L"ワークベンチの保存";
constexpr wchar_t kLoadParent[] = L"ワークベンチの読込";
constexpr wchar_t kConfirm[] = L"確認";
constexpr wchar_t kInformation[] = L"情報";

struct MenuPlace {
  const char* name;
  int button;             // its tool bar button, or -1 for a submenu of the right-click menu
  const wchar_t* parent;  // the right-click menu's item it hangs from
  UINT fixed;
  UINT first;
};
const MenuPlace kLoadDropDown{"LoadDropDown", kLoadButton, L"", IDM_ORGANISE_WB, IDM_WB_LOAD_DROPDOWN_FIRST};
const MenuPlace kSaveDropDown{"SaveDropDown", kSaveButton, L"", IDM_NEW_WB, IDM_WB_SAVE_DROPDOWN_FIRST};
const MenuPlace kLoadSubmenu{"LoadSubmenu", -1, kLoadParent, IDM_ORGANISE_WB, IDM_WB_LOAD_SUBMENU_FIRST};
const MenuPlace kSaveSubmenu{"SaveSubmenu", -1, kSaveParent, IDM_NEW_WB, IDM_WB_SAVE_SUBMENU_FIRST};
const MenuPlace kAllMenus[] = {kLoadDropDown, kSaveDropDown, kLoadSubmenu, kSaveSubmenu};

class WorkBenchMenuTest : public E2eTest {
 protected:
  // Starts the program on this workbench file and lets it load the stand-in shell, whose host
  // reports the program's menus.
  ZarnClient& Start(const std::string& workBenches, const std::vector<Setting>& settings = {}) {
    std::filesystem::create_directories(ZarnFolder());
    WriteFileBytes(ZarnFolder() / L"Zarn.wbf", workBenches);
    ZarnClient& zarn = Ready(StartZarn(ConfigIni(settings)));
    LoadStandinShell();
    return zarn;
  }

  // The items of one menu, opened as a user opens it and closed again.
  std::vector<ReportedMenuItem> ItemsOf(const MenuPlace& place) {
    const auto menu = place.button >= 0 ? OpenDropDown(Zarn(), place.button) : OpenContextMenu(Zarn());
    EXPECT_TRUE(menu) << place.name << " did not open";
    EXPECT_TRUE(Zarn().CloseMenus());
    return menu ? Level(*menu, place.parent) : std::vector<ReportedMenuItem>{};
  }

  // Every menu lists its fixed item, a separator and the workbenches in file order; `defaults` gives
  // per menu (in kAllMenus order) the index of its bold workbench, -1 for none.
  void ExpectMenus(const std::vector<std::wstring>& names, const std::vector<int>& defaults) {
    for (std::size_t m = 0; m < std::size(kAllMenus); ++m) {
      const MenuPlace& place = kAllMenus[m];
      const std::vector<ReportedMenuItem> items = ItemsOf(place);
      std::vector<UINT> ids = {place.fixed, 0};
      std::vector<std::wstring> texts;
      for (std::size_t i = 0; i < names.size(); ++i) ids.push_back(place.first + static_cast<UINT>(i));
      for (std::size_t i = 2; i < items.size(); ++i) texts.push_back(items[i].text);
      EXPECT_EQ(Ids(items), ids) << place.name;
      EXPECT_EQ(texts, names) << place.name;
      const std::vector<UINT> bold =
          defaults[m] < 0 ? std::vector<UINT>{} : std::vector<UINT>{place.first + static_cast<UINT>(defaults[m])};
      EXPECT_EQ(Defaults(items), bold) << place.name;
    }
  }

  // Answers the name dialog of "new workbench"; true when it was there.
  bool TypeName(std::wstring_view name) {
    HWND dialog = WaitForDialogWith(Zarn(), IDC_INPUT_EDIT);
    if (dialog == nullptr) return false;
    wchar_t caption[64] = {};
    InternalGetWindowText(dialog, caption, 64);
    EXPECT_STREQ(caption, app::kApplicationTitle);
    return ZarnClient::SetControlText(dialog, IDC_INPUT_EDIT, name) && ZarnClient::PressButton(dialog, IDOK);
  }

  void SaveNew(std::wstring_view name) {
    ASSERT_TRUE(Zarn().Post(IDM_NEW_WB));
    ASSERT_TRUE(TypeName(name));
    ASSERT_TRUE(WaitUntil([&] { return Zarn().Dialogs().empty(); }, 5s));
    ASSERT_TRUE(Zarn().WaitIdle());
  }

  // The confirmation's question, answered with `button`.
  std::wstring Answer(int button) {
    HWND dialog = Zarn().WaitForDialog(kConfirm);
    if (dialog == nullptr) return L"(no question)";
    EXPECT_EQ(ZarnClient::ControlText(dialog, IDYES), L"はい(&Y)");
    EXPECT_EQ(ZarnClient::ControlText(dialog, IDCANCEL), L"キャンセル");
    const std::wstring question = ZarnClient::ControlText(dialog, IDC_MESSAGE);
    EXPECT_TRUE(ZarnClient::PressButton(dialog, button));
    EXPECT_TRUE(WaitUntil([&] { return Zarn().Dialogs().empty(); }, 5s));
    EXPECT_TRUE(Zarn().WaitIdle());
    return question;
  }

  // The file comes to mark this workbench (and only it) as the last one.
  void ExpectLast(const std::string& name) {
    EXPECT_TRUE(WaitUntil([&] { return LastMarked() == name; }, 5s)) << LastMarked();
  }

  // Which workbench the file marks as the last one.
  std::string LastMarked() {
    std::string section, last;
    const std::optional<std::string> bytes = TryReadFileBytes(Zarn().WorkBenchFile());
    if (!bytes) return "(unreadable)";
    for (std::string line : SplitLines(*bytes)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 1 && line.front() == '[') section = line.substr(1, line.size() - 2);
      if (line == "Last=1") last += (last.empty() ? "" : ",") + section;
    }
    return last;
  }
};

TEST_F(WorkBenchMenuTest, NewWorkBenchAppearsInAllFourMenusAndTheBoldItemsFollowTheirRules) {
  Start(WorkBenchSection(L"Alpha", true) + WorkBenchSection(L"Beta", false));
  // Drop-downs bold the last workbench; the submenus bold nothing until one of their items is used.
  ExpectMenus({L"Alpha", L"Beta"}, {0, 0, -1, -1});

  SaveNew(L"ガンマ");
  ExpectLast(Cp932Text(L"ガンマ"));
  ExpectMenus({L"Alpha", L"Beta", L"ガンマ"}, {2, 2, -1, -1});

  // Restoring Beta from the load submenu bolds it there; the drop-downs follow the file's mark.
  ASSERT_TRUE(Zarn().Send(IDM_WB_LOAD_SUBMENU_FIRST + 1));
  ExpectLast("Beta");
  ExpectMenus({L"Alpha", L"Beta", L"ガンマ"}, {1, 1, 1, -1});

  // Saving over Alpha from the save submenu bolds it there; the load submenu keeps its own mark.
  ASSERT_TRUE(Zarn().Post(IDM_WB_SAVE_SUBMENU_FIRST + 0));
  Answer(IDYES);
  ExpectLast("Alpha");
  ExpectMenus({L"Alpha", L"Beta", L"ガンマ"}, {0, 0, 1, 0});

  // A new workbench rebuilds the menus: the submenus' marks are gone.
  SaveNew(L"Delta");
  ExpectMenus({L"Alpha", L"Beta", L"ガンマ", L"Delta"}, {3, 3, -1, -1});
}

struct OverwriteCase {
  const char* name;
  UINT command;  // IDM_NEW_WB: a new workbench named as an existing one
  bool yes;
  const MenuPlace* menu;  // whose bold item the answer decides
};

class MenuOverwriteTest : public WorkBenchMenuTest, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(MenuOverwriteTest, IsAskedFirstAndCancelLeavesFileAndMarks) {
  const OverwriteCase& c = GetParam();
  const auto kept = MakeFolder(L"Kept");
  Start(WorkBenchSection(L"Alpha", false, {{kept, RectAt(100, 100, 500, 300)}}) + WorkBenchSection(L"Beta", true));
  const auto now = MakeFolder(L"Now");
  ASSERT_NE(OpenFolderWindow(now), nullptr);
  const std::string before = ReadFileBytes(Zarn().WorkBenchFile());

  ASSERT_TRUE(Zarn().Post(c.command));
  if (c.command == IDM_NEW_WB) {
    ASSERT_TRUE(TypeName(L"Alpha"));
  }
  const std::wstring question = Answer(c.yes ? IDYES : IDCANCEL);
  EXPECT_EQ(question, c.command == IDM_NEW_WB ? L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています。上書きしますか？"
                                              : L"ﾜｰｸﾍﾞﾝﾁ[Alpha]に上書きしますか？");

  const std::string after = ReadFileBytes(Zarn().WorkBenchFile());
  const std::vector<ReportedMenuItem> items = ItemsOf(*c.menu);
  if (!c.yes) {
    EXPECT_EQ(after, before);
    const bool dropDown = c.menu->button >= 0;
    EXPECT_EQ(Defaults(items), dropDown ? std::vector<UINT>{c.menu->first + 1} : std::vector<UINT>{});
    return;
  }
  ExpectLast("Alpha");
  EXPECT_NE(after.find(Cp932Text(now.wstring())), std::string::npos);
  EXPECT_EQ(after.find(Cp932Text(kept.wstring())), std::string::npos);
  EXPECT_EQ(Defaults(items), std::vector<UINT>{c.menu->first});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MenuOverwriteTest,
    ::testing::Values(OverwriteCase{"NewNameYes", IDM_NEW_WB, true, &kSaveDropDown},
                      OverwriteCase{"NewNameCancel", IDM_NEW_WB, false, &kSaveDropDown},
                      OverwriteCase{"SaveDropDownYes", IDM_WB_SAVE_DROPDOWN_FIRST, true, &kSaveDropDown},
                      OverwriteCase{"SaveDropDownCancel", IDM_WB_SAVE_DROPDOWN_FIRST, false, &kSaveDropDown},
                      OverwriteCase{"SaveSubmenuYes", IDM_WB_SAVE_SUBMENU_FIRST, true, &kSaveSubmenu},
                      OverwriteCase{"SaveSubmenuCancel", IDM_WB_SAVE_SUBMENU_FIRST, false, &kSaveSubmenu}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Pick { LoadDropDown, LoadSubmenu, LoadButton };
struct RestoreCase {
  const char* name;
  Pick pick;
  const char* workBenchLoad;
  bool anyLast;
  int restored;  // 0 One, 1 Two, -1 nothing
  bool menuOpens;
};

class MenuRestoreTest : public WorkBenchMenuTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(MenuRestoreTest, WorkBenchPickedComesBack) {
  const RestoreCase& c = GetParam();
  const std::filesystem::path folders[] = {MakeFolder(L"One"), MakeFolder(L"Two")};
  const RECT rects[] = {RectAt(120, 90, 600, 380), RectAt(300, 200, 520, 340)};
  ZarnClient& zarn = Start(WorkBenchSection(L"One", false, {{folders[0], rects[0]}}) +
                               WorkBenchSection(L"Two", c.anyLast, {{folders[1], rects[1]}}),
                           {{"WorkBenchLoad", c.workBenchLoad}});
  switch (c.pick) {
    case Pick::LoadDropDown:
      ASSERT_TRUE(OpenDropDown(zarn, kLoadButton));
      ChooseByKeys(zarn, {1 + c.restored});  // after "ワークベンチの整理"
      break;
    case Pick::LoadSubmenu:
      ASSERT_TRUE(OpenContextMenu(zarn));
      ChooseByKeys(zarn, {5, 1 + c.restored});  // "ワークベンチの読込" is the sixth command
      break;
    case Pick::LoadButton:
      ASSERT_TRUE(zarn.Post(IDM_WB_LOAD_BUTTON));
      break;
  }
  if (c.menuOpens) {
    const auto menu = MenuHolding(zarn, IDM_ORGANISE_WB);
    EXPECT_TRUE(menu);
    EXPECT_TRUE(zarn.CloseMenus());
  }
  if (c.restored < 0) {
    EXPECT_FALSE(WaitUntil([] { return !FolderWindows().empty(); }, 1500ms));
    EXPECT_TRUE(zarn.Dialogs().empty());
    return;
  }
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto open = FolderWindows();
        window = open.size() == 1 ? open.front() : nullptr;
        return window != nullptr && ReadWindow(window).rect == rects[c.restored];
      },
      10s));
  EXPECT_TRUE(SamePath(FolderPathOf(window), folders[c.restored].wstring()));
  // The mark is written once the restore has ended; the program may answer messages before.
  const std::string last = c.restored == 0 ? "One" : "Two";
  ExpectLast(last);
  ASSERT_TRUE(zarn.WaitIdle());
  // Everything came back: nothing to tell.
  EXPECT_TRUE(zarn.Dialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(Picks, MenuRestoreTest,
                         ::testing::Values(RestoreCase{"LoadDropDownItem", Pick::LoadDropDown, "0", true, 0, false},
                                           RestoreCase{"LoadSubmenuItem", Pick::LoadSubmenu, "0", false, 1, false},
                                           RestoreCase{"LoadButtonRestoresLast", Pick::LoadButton, "1", true, 1, false},
                                           RestoreCase{"LoadButtonWithoutLastDoesNothing", Pick::LoadButton, "1", false,
                                                       -1, false},
                                           RestoreCase{"LoadButtonPopsItsMenu", Pick::LoadButton, "0", true, -1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkBenchMenuTest, FoldersThatCouldNotComeBackAreListedInOneBox) {
  const auto here = MakeFolder(L"Here");
  const auto gone1 = root_ / L"folders" / L"Gone1";
  const auto gone2 = root_ / L"folders" / L"消えた";
  ZarnClient& zarn = Start(WorkBenchSection(
      L"Mixed", true,
      {{gone1, RectAt(50, 50, 400, 300)}, {here, RectAt(200, 120, 500, 320)}, {gone2, RectAt(80, 80, 400, 300)}}));
  ASSERT_TRUE(zarn.Post(IDM_WB_LOAD_DROPDOWN_FIRST));
  HWND box = zarn.WaitForDialog(kInformation, 20s);
  ASSERT_NE(box, nullptr);
  const std::wstring text = Joined(ZarnClient::StaticTexts(box));
  EXPECT_NE(text.find(gone1.wstring()), std::wstring::npos) << Utf8(text);
  EXPECT_NE(text.find(gone2.wstring()), std::wstring::npos) << Utf8(text);
  EXPECT_EQ(text.find(here.wstring()), std::wstring::npos) << Utf8(text);
  EXPECT_EQ(zarn.Dialogs().size(), 1u);
  ASSERT_TRUE(ZarnClient::PressButton(box, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return zarn.Dialogs().empty(); }, 5s));
  // A second box would be up by the time the program answers again.
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_TRUE(zarn.Dialogs().empty());
  const auto open = FolderWindows();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(SamePath(FolderPathOf(open.front()), here.wstring()));
}

}  // namespace
}  // namespace zarn::e2e
