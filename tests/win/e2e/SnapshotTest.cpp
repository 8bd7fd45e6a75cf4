// The snapshot of open folder windows, taken by the program through the shell's automation object.
// A save writes it out record by record, so the workbench file is read back as the snapshot and
// checked against what the window system says about the same windows.
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "WorkBenchFile.h"

namespace zarn::e2e {
namespace {

// One record of a saved workbench, its fields as the file holds them.
struct SavedRecord {
  std::wstring path;
  RECT windowRect{};
  int showCmd = 0;
  RECT normalPosition{};
};

class SnapshotTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    StartZarn();
    LoadStandinShell();
  }

  // Saves the open windows as a new workbench and reads its records back in file order.
  std::vector<SavedRecord> Snapshot(std::wstring_view name) {
    const CommandLog log = SaveNewWorkBench(name);
    EXPECT_TRUE(log.questions.empty());
    EXPECT_TRUE(log.information.empty()) << "left out: " << (log.folders.empty() ? "" : Utf8(log.folders[0]));
    const std::vector<std::string> lines = FileLines(Zarn().WorkBenchFile());
    std::vector<SavedRecord> records;
    EXPECT_FALSE(lines.empty());
    if (lines.empty()) return records;
    EXPECT_EQ(lines[0], SectionLine(name));
    for (std::size_t i = 1; i < lines.size() && lines[i].starts_with(std::to_string(records.size() + 1) + "="); ++i) {
      const std::vector<std::string> fields = SplitTabs(lines[i].substr(lines[i].find('=') + 1));
      EXPECT_EQ(fields.size(), 14u) << lines[i];
      if (fields.size() != 14) return records;
      auto n = [&](std::size_t at) { return std::stoi(fields[at]); };
      records.push_back({FromCp932(fields[0]), RectAt(n(1), n(2), n(3), n(4)), n(5), RECT{n(11), n(10), n(12), n(13)}});
    }
    // Nothing but the mark of the last one used follows the records.
    EXPECT_EQ(lines.size(), records.size() + 3);
    EXPECT_EQ(lines[records.size() + 1], "Last=1");
    return records;
  }
};

TEST_F(SnapshotTest, NoFolderWindowGivesAnEmptySnapshot) {
  // A window that is listed by the shell but is not a folder view is not a record either.
  ASSERT_NE(OpenFolderWindow(MakeFolder(L"Other"), {L"/notview"}), nullptr);
  EXPECT_TRUE(Snapshot(L"Empty").empty());
  EXPECT_EQ(ReadFileBytes(Zarn().WorkBenchFile()), WrittenForm({{"[Empty]", "Last=1"}}));
}

TEST_F(SnapshotTest, OneWindowIsRecordedWithItsPathRectangleAndPlacement) {
  std::filesystem::path folder = MakeFolder(L"One");
  HWND window = OpenFolderWindow(folder);
  ASSERT_NE(window, nullptr);
  const RECT placed = RectAt(210, 130, 500, 320);
  MoveWindowTo(window, placed);

  const std::vector<standin::ReportedFolderWindow> reported = ReportedFolders();
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0].hwnd, window);
  EXPECT_EQ(reported[0].placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(reported[0].placement.rcNormalPosition, placed);

  const std::vector<SavedRecord> records = Snapshot(L"One");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(SamePath(records[0].path, folder.wstring())) << Utf8(records[0].path);
  EXPECT_EQ(records[0].windowRect, placed);
  EXPECT_EQ(records[0].showCmd, SW_SHOWNORMAL);
  EXPECT_EQ(records[0].normalPosition, placed);
  // Every field, the minimized and maximized positions included, is the window's own.
  EXPECT_EQ(
      ReadFileBytes(Zarn().WorkBenchFile()),
      WrittenForm({{"[One]",
                    "1=" + RecordLine(FolderPathOf(window), placed, SW_SHOWNORMAL, reported[0].placement.ptMinPosition,
                                      reported[0].placement.ptMaxPosition, placed),
                    "Last=1"}}));
}

TEST_F(SnapshotTest, FiveFolderWindowsAmongOthersInCollectionOrderWithTheirStates) {
  std::vector<std::filesystem::path> folders;
  std::vector<HWND> windows;
  for (int i = 1; i <= 5; ++i) {
    folders.push_back(MakeFolder(L"Folder" + std::to_wstring(i)));
    windows.push_back(OpenFolderWindow(folders.back()));
    ASSERT_NE(windows.back(), nullptr);
    if (i == 3) {
      ASSERT_NE(OpenFolderWindow(MakeFolder(L"NotAView"), {L"/notview"}), nullptr);
    }
  }
  // Two windows on one folder are two records.
  folders.push_back(folders[0]);
  windows.push_back(OpenFolderWindow(folders[0]));
  ASSERT_NE(windows.back(), nullptr);

  for (std::size_t i = 0; i < windows.size(); ++i) {
    MoveWindowTo(windows[i], RectAt(40 + 60 * static_cast<int>(i), 30 + 40 * static_cast<int>(i), 600, 400));
  }
  const RECT restoredOfMaximized = ReadWindow(windows[1]).rect;
  ShowWindow(windows[1], SW_MAXIMIZE);
  ShowWindow(windows[4], SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(windows[1]) && IsIconic(windows[4]); }, 2s));

  const std::vector<SavedRecord> records = Snapshot(L"Five");
  ASSERT_EQ(records.size(), windows.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    EXPECT_TRUE(SamePath(records[i].path, folders[i].wstring())) << Utf8(records[i].path);
    // Every window has a place of its own, so the rectangle tells which window a record is.
    EXPECT_EQ(records[i].windowRect, ReadWindow(windows[i]).rect);
  }
  EXPECT_EQ(records[0].showCmd, SW_SHOWNORMAL);
  // A maximized window covers the work area with its 4-pixel frame outside it (the taskbar that the
  // program's tray icon brings up takes the bottom of the desktop); its normal rectangle is the one
  // it returns to.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(windows[1], MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_EQ(records[1].showCmd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(records[1].windowRect, (RECT{work.left - 4, work.top - 4, work.right + 4, work.bottom + 4}));
  EXPECT_EQ(records[1].normalPosition, restoredOfMaximized);
  EXPECT_EQ(records[4].showCmd, SW_SHOWMINIMIZED);
  EXPECT_EQ(records[4].normalPosition, RectAt(40 + 60 * 4, 30 + 40 * 4, 600, 400));
}

}  // namespace
}  // namespace zarn::e2e
