// The snapshot of open folder windows, taken by the host through the shell's automation object and
// checked against what the window system says about the same windows.
#include <string>
#include <vector>

#include "E2eFixture.h"

namespace zarn::e2e {
namespace {

using SnapshotTest = E2eTest;

TEST_F(SnapshotTest, NoFolderWindowGivesAnEmptySnapshot) {
  TestHostClient& host = StartHost();
  // A window that is listed by the shell but is not a folder view is not a record either.
  OpenFolderWindow(MakeFolder(L"Other"), {L"/notview"});
  EXPECT_TRUE(host.Dump().empty());
}

TEST_F(SnapshotTest, OneWindowIsRecordedWithItsHandlePathRectangleAndPlacement) {
  TestHostClient& host = StartHost();
  std::filesystem::path folder = MakeFolder(L"One");
  HWND window = OpenFolderWindow(folder);
  ASSERT_NE(window, nullptr);
  const RECT placed = RectAt(210, 130, 500, 320);
  MoveWindowTo(window, placed);

  std::vector<SnapshotRecord> records = host.Dump();
  ASSERT_EQ(records.size(), 1u);
  const SnapshotRecord& record = records[0];
  EXPECT_EQ(record.handle, window);
  EXPECT_TRUE(SamePath(Wide(record.path), folder.wstring())) << record.path;
  EXPECT_TRUE(record.representable);
  EXPECT_EQ(record.windowRect, placed);
  EXPECT_EQ(record.showCmd, SW_SHOWNORMAL);
  EXPECT_EQ(record.normalPosition, placed);
}

TEST_F(SnapshotTest, FiveFolderWindowsAmongOthersInCollectionOrderWithTheirStates) {
  TestHostClient& host = StartHost();
  std::vector<std::filesystem::path> folders;
  std::vector<HWND> windows;
  for (int i = 1; i <= 5; ++i) {
    folders.push_back(MakeFolder(L"Folder" + std::to_wstring(i)));
    windows.push_back(OpenFolderWindow(folders.back()));
    ASSERT_NE(windows.back(), nullptr);
    if (i == 3) OpenFolderWindow(MakeFolder(L"NotAView"), {L"/notview"});
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

  std::vector<SnapshotRecord> records = host.Dump();
  ASSERT_EQ(records.size(), windows.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    EXPECT_EQ(records[i].handle, windows[i]);
    EXPECT_TRUE(SamePath(Wide(records[i].path), folders[i].wstring())) << records[i].path;
    EXPECT_EQ(records[i].windowRect, ReadWindow(windows[i]).rect);
  }
  EXPECT_EQ(records[0].showCmd, SW_SHOWNORMAL);
  // A maximized window covers the monitor with its frame outside it; its normal rectangle is the
  // one it returns to.
  EXPECT_EQ(records[1].showCmd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(records[1].windowRect, (RECT{-4, -4, 1924, 1084}));
  EXPECT_EQ(records[1].normalPosition, restoredOfMaximized);
  EXPECT_EQ(records[4].showCmd, SW_SHOWMINIMIZED);
  EXPECT_EQ(records[4].normalPosition, RectAt(40 + 60 * 4, 30 + 40 * 4, 600, 400));
}

}  // namespace
}  // namespace zarn::e2e
