// Saving folder windows as a workbench and restoring them: the bytes of the workbench file, and the
// windows the shell opens again, with their rectangles, show states and placements.
#include <algorithm>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "StandinWindow.h"
#include "WorkBenchFile.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

// The open folder window showing `folder`, or nullptr.
HWND WindowOfFolder(const std::filesystem::path& folder) {
  for (HWND window : E2eTest::FolderWindows()) {
    if (SamePath(E2eTest::FolderPathOf(window), folder.wstring())) return window;
  }
  return nullptr;
}

// A program copy whose stand-in shell is loaded, so the folder windows opened later live in its
// process and report their placements exactly.
class WorkBenchTest : public E2eTest {
 protected:
  void StartWithShell() {
    StartZarn();
    LoadStandinShell();
  }
};

TEST_F(WorkBenchTest, SavedWindowsComeBackWithTheirRectanglesStatesAndPlacements) {
  StartWithShell();
  const std::vector<std::filesystem::path> folders = {MakeFolder(L"Alpha"), MakeFolder(L"資料"), MakeFolder(L"Gamma"),
                                                      MakeFolder(L"Delta"), MakeFolder(L"Epsilon")};
  std::vector<RECT> rects;
  std::vector<HWND> windows;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const int k = static_cast<int>(i);
    rects.push_back(RectAt(100 + 150 * k, 80 + 90 * k, 500 + 20 * k, 350 + 10 * k));
    windows.push_back(OpenFolderWindow(folders[i]));
    ASSERT_NE(windows.back(), nullptr);
    MoveWindowTo(windows.back(), rects.back());
  }
  ShowWindow(windows[1], SW_MAXIMIZE);
  ShowWindow(windows[3], SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(windows[1]) && IsIconic(windows[3]); }, 2s));
  const std::vector<standin::ReportedFolderWindow> saved = ReportedFolders();
  ASSERT_EQ(saved.size(), folders.size());

  const std::wstring name = L"作業台";
  const CommandLog save = SaveNewWorkBench(name);
  EXPECT_TRUE(save.questions.empty());
  EXPECT_TRUE(save.information.empty());

  // The file holds one line per window in collection order, then the mark of the last one used.
  std::vector<std::string> section = {SectionLine(name)};
  for (std::size_t i = 0; i < saved.size(); ++i) section.push_back(std::to_string(i + 1) + "=" + RecordLine(saved[i]));
  section.push_back("Last=1");
  const std::string expected = WrittenForm({section});
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), expected);
  const std::vector<std::string> file = FileLines(Zarn().WorkBenchFile());
  ASSERT_EQ(file.size(), section.size() + 1);
  // The placements the file was checked against must themselves be right: spot-check them.
  EXPECT_EQ(saved[0].windowRect, rects[0]);
  EXPECT_EQ(saved[0].placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(saved[1].placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(saved[1].placement.rcNormalPosition, rects[1]);
  EXPECT_EQ(saved[3].placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(saved[3].placement.rcNormalPosition, rects[3]);
  EXPECT_NE(file[2].find(Cp932(L"資料")), std::string::npos) << "the Japanese folder name is stored as code page 932";

  const CommandLog restore = RestoreWorkBench(0);
  EXPECT_TRUE(restore.information.empty()) << Utf8(restore.information.empty() ? L"" : restore.information[0]);
  EXPECT_LT(restore.busy, 15s);

  // The old windows were closed and new ones opened by the shell, one per record, in record order.
  EXPECT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindow); }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return FolderWindows().size() == folders.size(); }, 5s));
  const std::vector<standin::ReportedFolderWindow> restored = ReportedFolders();
  ASSERT_EQ(restored.size(), saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    SCOPED_TRACE(Utf8(saved[i].path));
    const standin::ReportedFolderWindow& now = restored[i];
    const UINT showCmd = saved[i].placement.showCmd;
    EXPECT_EQ(now.path, saved[i].path);
    EXPECT_EQ(std::count(windows.begin(), windows.end(), now.hwnd), 0) << "a closed window was reused";
    EXPECT_EQ(now.placement.showCmd, showCmd);
    EXPECT_EQ(now.placement.rcNormalPosition, saved[i].placement.rcNormalPosition);
    const WindowState state = ReadWindow(now.hwnd);
    EXPECT_EQ(state.zoomed, showCmd == SW_SHOWMAXIMIZED);
    EXPECT_EQ(state.iconic, showCmd == SW_SHOWMINIMIZED);
    if (showCmd == SW_SHOWNORMAL) {
      EXPECT_EQ(state.rect, saved[i].windowRect);
    } else if (showCmd == SW_SHOWMAXIMIZED) {
      // Known Wine gap: its SetWindowPlacement moves a maximized window whose maximized position is
      // the default (-1, -1) to (0, 0), keeping the size. Windows leaves it where maximizing put it.
      EXPECT_EQ(Width(state.rect), Width(saved[i].windowRect));
      EXPECT_EQ(Height(state.rect), Height(saved[i].windowRect));
      EXPECT_TRUE(state.rect == saved[i].windowRect ||
                  state.rect == RectAt(0, 0, Width(state.rect), Height(state.rect)))
          << ::testing::PrintToString(state.rect);
    }
  }
  // A restore changes only the marks, and this workbench already had it.
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), expected);
}

// Two ways to save over a workbench that exists, each with its own question.
struct OverwriteCase {
  const char* label;
  UINT command;           // the save drop-down's item of the workbench, or a new workbench
  std::wstring typed;     // the name typed for a new workbench
  std::wstring question;  // the question before anything is replaced
};

class OverwriteTest : public WorkBenchTest, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(OverwriteTest, SavingOverAnExistingWorkbenchAsksFirst) {
  const OverwriteCase& overwrite = GetParam();
  StartWithShell();
  HWND first = OpenFolderWindow(MakeFolder(L"First"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(OpenFolderWindow(MakeFolder(L"Second")), nullptr);
  for (const wchar_t* name : {L"Bench", L"Other"}) {
    const CommandLog save = SaveNewWorkBench(name);
    ASSERT_TRUE(save.finished);
    ASSERT_TRUE(save.questions.empty()) << name;
  }
  const std::string twoWindows = ReadFileBytes(Zarn().WorkBenchFile());

  PostMessageW(first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first); }, 5s));

  const CommandLog declined = RunCommand(overwrite.command, overwrite.typed, false);
  EXPECT_EQ(declined.questions, std::vector<std::wstring>{overwrite.question});
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), twoWindows);

  const CommandLog confirmed = RunCommand(overwrite.command, overwrite.typed, true);
  EXPECT_EQ(confirmed.questions, std::vector<std::wstring>{overwrite.question});
  EXPECT_TRUE(confirmed.information.empty());
  const std::vector<std::string> lines = FileLines(Zarn().WorkBenchFile());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "[Bench]");  // replaced in place, under the name as first written
  EXPECT_TRUE(lines[1].starts_with("1=") && lines[1].find("Second") != std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "Last=1");
  EXPECT_EQ(lines[4], "[Other]");
  EXPECT_TRUE(lines[5].find("First") != std::string::npos) << lines[5];
  EXPECT_EQ(lines[7], "Last=0");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, OverwriteTest,
    ::testing::Values(
        // A name differing only in letter case is the same workbench.
        OverwriteCase{"NewNameInOtherCase", IDM_NEW_WB, L"BENCH",
                      L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています。上書きしますか？"},
        OverwriteCase{"SaveMenuItem", IDM_WB_SAVE_DROPDOWN_FIRST + 0, L"", L"ﾜｰｸﾍﾞﾝﾁ[Bench]に上書きしますか？"}),
    [](const ::testing::TestParamInfo<OverwriteCase>& info) { return std::string(info.param.label); });

TEST_F(WorkBenchTest, AFolderNameCodePage932CannotHoldIsStoredAsItsShortPath) {
  StartWithShell();
  const std::filesystem::path folder = MakeFolder(L"Caf\u00E9 \u00FCber");  // neither letter is in code page 932
  ASSERT_NE(OpenFolderWindow(folder), nullptr);

  const CommandLog save = SaveNewWorkBench(L"Short");
  EXPECT_TRUE(save.information.empty()) << "left out: " << Utf8(save.information.empty() ? L"" : save.information[0]);

  const std::vector<std::string> lines = FileLines(Zarn().WorkBenchFile());
  ASSERT_GE(lines.size(), 2u);
  ASSERT_TRUE(lines[1].starts_with("1="));
  const std::string stored = lines[1].substr(2, lines[1].find('\t') - 2);
  EXPECT_TRUE(std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << stored;
  wchar_t longPath[MAX_PATH * 2] = {};
  ASSERT_GT(GetLongPathNameW(Wide(stored).c_str(), longPath, MAX_PATH * 2), 0u) << stored;
  EXPECT_TRUE(SamePath(longPath, folder.wstring())) << stored;

  // The short path opens the same folder again.
  const CommandLog restore = RestoreWorkBench(0);
  EXPECT_TRUE(restore.information.empty()) << Utf8(restore.information.empty() ? L"" : restore.information[0]);
  ASSERT_TRUE(WaitUntil([] { return FolderWindows().size() == 1; }, 5s));
  const std::wstring opened = FolderPathOf(FolderWindows().front());
  ASSERT_GT(GetLongPathNameW(opened.c_str(), longPath, MAX_PATH * 2), 0u);
  EXPECT_TRUE(SamePath(longPath, folder.wstring())) << Utf8(opened);
}

// A window snapped to the left half was saved with that half as its rectangle and, as its normal
// position, where it stood before the snap: it comes back on the half. The shell is asked to open the
// folder shown: a window asked for hidden stays hidden wherever the restore does not place it.
TEST_F(WorkBenchTest, SnappedWindowComesBackAtItsSavedRectangleOpenedShown) {
  const std::filesystem::path folder = MakeFolder(L"Snapped");
  const RECT half = RectAt(0, 0, 960, 1040);
  const RECT beforeSnap = RectAt(300, 200, 640, 400);
  const std::vector<std::string> section = {
      "[Snap]", "1=" + RecordLine(folder.wstring(), half, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, beforeSnap), "Last=0"};
  std::filesystem::create_directories(ZarnFolder());
  WriteFileBytes(ZarnFolder() / L"Zarn.wbf", WrittenForm({section}));
  StartWithShell();
  const CommandLog restore = RestoreWorkBench(0);
  EXPECT_TRUE(restore.finished);
  HWND window = WindowOfFolder(folder);
  EXPECT_EQ(ReadWindow(window).rect, half);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetPropW(window, standin::kPropShowCommand)), ULONG_PTR{SW_SHOWNORMAL + 1});
}

TEST_F(WorkBenchTest, RestoreGoesOnPastFoldersThatCannotBePlacedAndNamesThem) {
  const std::filesystem::path good1 = MakeFolder(L"Good1");
  const std::filesystem::path missing = root_ / L"folders" / L"Missing";
  const std::filesystem::path never = MakeFolder(L"Never", L"/never");
  const std::filesystem::path stubborn = MakeFolder(L"Stubborn", L"/minsize:900,700");
  const std::filesystem::path sparse = MakeFolder(L"Sparse");
  const std::filesystem::path good2 = MakeFolder(L"Good2");
  const RECT good1Rect = RectAt(50, 60, 640, 400);
  const RECT stubbornRect = RectAt(700, 100, 300, 200);
  const RECT good2Rect = RectAt(900, 500, 700, 450);
  auto normal = [](const std::filesystem::path& path, const RECT& rect) {
    return RecordLine(path.wstring(), rect, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, rect);
  };
  std::vector<std::string> section = {"[Broken]",
                                      "1=" + normal(good1, good1Rect),
                                      "2=" + normal(missing, good1Rect),
                                      "3=" + normal(never, good1Rect),
                                      "4=" + normal(stubborn, stubbornRect),
                                      "5=" + Cp932(sparse.wstring()),
                                      "6=" + normal(good2, good2Rect),
                                      "Last=0"};
  std::filesystem::create_directories(ZarnFolder());
  WriteFileBytes(ZarnFolder() / L"Zarn.wbf", WrittenForm({section}));
  StartWithShell();
  HWND before = OpenFolderWindow(MakeFolder(L"OpenBefore"));
  ASSERT_NE(before, nullptr);

  const CommandLog restore = RestoreWorkBench(0);
  EXPECT_TRUE(restore.finished);
  // The folder that never opens costs the one wait for a new window; nothing waits longer.
  EXPECT_LT(restore.busy, 25s);

  // Named, in one information box: the folders that got no window. The window that refuses its
  // size did get one.
  EXPECT_EQ(restore.information.size(), 1u);
  const std::vector<std::filesystem::path> expectedNamed = {missing, never};
  EXPECT_EQ(restore.folders.size(), expectedNamed.size());
  for (const std::filesystem::path& path : expectedNamed) {
    EXPECT_TRUE(std::any_of(restore.folders.begin(), restore.folders.end(),
                            [&](const std::wstring& n) { return SamePath(n, path.wstring()); }))
        << Utf8(path.wstring()) << " is not named as not restored";
  }

  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(before); }, 5s));
  EXPECT_EQ(ReadWindow(WindowOfFolder(good1)).rect, good1Rect);
  EXPECT_EQ(ReadWindow(WindowOfFolder(good2)).rect, good2Rect);
  // Every missing number of a line holding only a path reads as 100: the window is moved to
  // (100, 100) and then given the normal rectangle (100, 100, 100, 100), which the window system
  // widens to the smallest size a window can have. An unknown show command still shows it.
  const WindowState sparseState = ReadWindow(WindowOfFolder(sparse));
  EXPECT_TRUE(sparseState.exists);
  EXPECT_TRUE(sparseState.visible);
  EXPECT_FALSE(sparseState.iconic);
  EXPECT_FALSE(sparseState.zoomed);
  EXPECT_EQ(sparseState.rect.left, 100);
  EXPECT_EQ(sparseState.rect.top, 100);
  EXPECT_LE(Width(sparseState.rect), 200);
  // The window that refuses its size is still opened where it was asked to be, at the size it takes.
  const WindowState stubbornState = ReadWindow(WindowOfFolder(stubborn));
  EXPECT_TRUE(stubbornState.exists);
  EXPECT_EQ(stubbornState.rect.left, stubbornRect.left);
  EXPECT_EQ(stubbornState.rect.top, stubbornRect.top);
  EXPECT_GE(Width(stubbornState.rect), 900);
  EXPECT_EQ(WindowOfFolder(missing), nullptr);
  EXPECT_EQ(WindowOfFolder(never), nullptr);
  EXPECT_EQ(FolderWindows().size(), 4u);

  // The records stay as they were; only the mark changes.
  section.back() = "Last=1";
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), WrittenForm({section}));
}

// A window with three tabs is saved as three records marked as one window's. No program can ask the
// shell for a tab of a given window, so the restore opens the other two as windows, each a caption
// lower and to the right, and says so. A shell that opens folders asked for from outside as tabs of its
// newest window gets the window back whole; the restore first waits for the windows it closed, so that
// no folder goes into one of them.
TEST_F(WorkBenchTest, TabsOfOneWindowComeBackAsWindowsACaptionApartOrAsTabs) {
  StartWithShell();
  const std::filesystem::path tabs[] = {MakeFolder(L"TabA"), MakeFolder(L"TabB"), MakeFolder(L"TabC")};
  const RECT rect = RectAt(200, 150, 600, 400);
  HWND window = OpenFolderWindow(tabs[0]);
  ASSERT_NE(window, nullptr);
  MoveWindowTo(window, rect);
  for (const auto& tab : {tabs[1], tabs[2]}) ASSERT_TRUE(standin::SendAddTabRequest(window, tab.wstring()));
  EXPECT_TRUE(SaveNewWorkBench(L"Tabs").information.empty());
  const standin::ReportedFolderWindow saved = ReportedFolders().at(0);
  std::vector<std::string> section = {SectionLine(L"Tabs")};
  for (int i = 0; i < 3; ++i) {
    const WINDOWPLACEMENT& p = saved.placement;
    section.push_back(std::to_string(i + 1) + "=" +
                      RecordLine(tabs[i].wstring(), saved.windowRect, static_cast<int>(p.showCmd), p.ptMinPosition,
                                 p.ptMaxPosition, p.rcNormalPosition) +
                      "\t1");
  }
  section.push_back("Last=1");
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), WrittenForm({section}));

  const CommandLog restore = RestoreWorkBench(0);
  ASSERT_TRUE(restore.finished);
  ASSERT_EQ(restore.information.size(), 1u);
  EXPECT_NE(restore.information[0].find(L"タブ"), std::wstring::npos);
  ASSERT_EQ(restore.folders.size(), 2u);
  const int step = GetSystemMetrics(SM_CYCAPTION);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ReadWindow(WindowOfFolder(tabs[i])).rect,
              RectAt(rect.left + i * step, rect.top + i * step, Width(rect), Height(rect)))
        << i;
    if (i > 0) {
      EXPECT_TRUE(SamePath(restore.folders[i - 1], tabs[i].wstring()));
    }
  }

  // Now a shell that opens folders as tabs, and an old window slow to close.
  for (const auto& tab : tabs) WriteFileBytes(tab / standin::kMarkerFile, "/tab");
  HWND slow = OpenFolderWindow(MakeFolder(L"SlowToClose", L"/closedelay:1500"));
  ASSERT_NE(slow, nullptr);
  const CommandLog again = RestoreWorkBench(0);
  ASSERT_TRUE(again.finished);
  EXPECT_TRUE(again.information.empty()) << Utf8(again.information.empty() ? L"" : again.information[0]);
  EXPECT_FALSE(IsWindow(slow));
  ASSERT_EQ(FolderWindows().size(), 1u);
  HWND whole = FolderWindows()[0];
  EXPECT_EQ(ReadWindow(whole).rect, rect);
  const std::vector<std::wstring> paths = standin::TabPaths(whole);
  ASSERT_EQ(paths.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(SamePath(paths[i], tabs[i].wstring())) << i;
}

// The shell reports places that are not plain folders by a parsing name; a save stores it as reported.
// A search cannot be asked for again: the restore names it at once instead of waiting for its window.
TEST_F(WorkBenchTest, ParsingNamesAreStoredAsReportedAndASearchIsNamedAtOnce) {
  const std::wstring thisPc = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
  const std::wstring search = L"search-ms:displayname=Found&crumb=location:C%3A%5C";
  const std::filesystem::path plain = MakeFolder(L"Plain");
  const RECT rect = RectAt(300, 200, 500, 300);
  const std::string plainRecord = RecordLine(plain.wstring(), rect, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, rect);
  std::filesystem::create_directories(ZarnFolder());
  WriteFileBytes(ZarnFolder() / L"Zarn.wbf",
                 WrittenForm({{"[Found]", "1=" + RecordLine(search, rect, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, rect),
                               "2=" + plainRecord, "Last=0"}}));
  StartWithShell();
  const CommandLog restore = RestoreWorkBench(0);
  ASSERT_TRUE(restore.finished);
  EXPECT_LT(restore.busy, 5s);
  ASSERT_EQ(restore.folders.size(), 1u);
  EXPECT_EQ(restore.folders[0], search);
  EXPECT_EQ(ReadWindow(WindowOfFolder(plain)).rect, rect);

  ASSERT_NE(OpenFolderWindow(MakeFolder(L"PcPlace"), {L"/reports:" + thisPc}), nullptr);
  ASSERT_NE(OpenFolderWindow(MakeFolder(L"SearchPlace"), {L"/reports:" + search}), nullptr);
  const std::vector<standin::ReportedFolderWindow> saved = ReportedFolders();
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_TRUE(SaveNewWorkBench(L"Places").information.empty());
  const std::string file = ReadFileBytes(Zarn().WorkBenchFile());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    const std::string line = std::to_string(i + 1) + "=" + RecordLine(saved[i]) + "\r\n";
    EXPECT_NE(file.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(Utf8(saved[1].path), Utf8(thisPc));
  EXPECT_EQ(Utf8(saved[2].path), Utf8(search));
}

}  // namespace
}  // namespace zarn::e2e
