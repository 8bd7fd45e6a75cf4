// Saving folder windows as a workbench and restoring them: the bytes of the workbench file, and the
// windows the shell opens again, with their rectangles, show states and placements.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "TestHostCommands.h"

namespace zarn::e2e {
namespace {

// The workbench file is code page 932. Converted here with the system's own table, independently of
// the program's converter.
std::string Cp932(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
  return line;
}

// A record line as the workbench file stores it: path, left, top, width, height, show command,
// minimized x, y, maximized x, y, then the normal rectangle as top, left, right, bottom.
std::string RecordLine(std::wstring_view path, const RECT& rect, int showCmd, POINT min, POINT max, const RECT& normal) {
  auto n = [](long value) { return std::to_string(value); };
  return Join({Cp932(path), n(rect.left), n(rect.top), n(Width(rect)), n(Height(rect)), n(showCmd), n(min.x), n(min.y),
               n(max.x), n(max.y), n(normal.top), n(normal.left), n(normal.right), n(normal.bottom)});
}

std::string RecordLine(const SnapshotRecord& record) {
  return RecordLine(Wide(record.path), record.windowRect, record.showCmd, record.minPosition, record.maxPosition,
                    record.normalPosition);
}

std::vector<std::string> FileLines(const std::filesystem::path& file) { return SplitLines(ReadFileBytes(file)); }

// The written form of a profile: lines end with CR LF, and every section with an empty line.
std::string WrittenForm(const std::vector<std::vector<std::string>>& sections) {
  std::string text;
  for (const auto& section : sections) {
    for (const std::string& line : section) text += line + "\r\n";
    text += "\r\n";
  }
  return text;
}

// The open folder window showing `folder`, or nullptr.
HWND WindowOfFolder(const std::filesystem::path& folder) {
  for (HWND window : E2eTest::FolderWindows()) {
    if (SamePath(E2eTest::FolderPathOf(window), folder.wstring())) return window;
  }
  return nullptr;
}

using WorkBenchTest = E2eTest;

TEST_F(WorkBenchTest, SavedWindowsComeBackWithTheirRectanglesStatesAndPlacements) {
  TestHostClient& host = StartHost();
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
  const std::vector<SnapshotRecord> saved = host.Dump();
  ASSERT_EQ(saved.size(), folders.size());

  const std::wstring name = L"作業台";
  HostResult save = host.Save(name);
  EXPECT_EQ(save.status, testhost::kResultOk);
  EXPECT_TRUE(save.paths.empty());

  // The file holds one line per window in snapshot order, then the mark of the last one used.
  std::vector<std::string> section = {"[" + Cp932(name) + "]"};
  for (std::size_t i = 0; i < saved.size(); ++i) section.push_back(std::to_string(i + 1) + "=" + RecordLine(saved[i]));
  section.push_back("Last=1");
  const std::string expected = WrittenForm({section});
  EXPECT_EQ(ReadFileBytes(host.WorkBenchFile()), expected);
  const std::vector<std::string> file = FileLines(host.WorkBenchFile());
  ASSERT_EQ(file.size(), section.size() + 1);
  // The snapshot itself must have been right for the file to be: spot-check it against the windows.
  EXPECT_EQ(saved[0].windowRect, rects[0]);
  EXPECT_EQ(saved[0].showCmd, SW_SHOWNORMAL);
  EXPECT_EQ(saved[1].showCmd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(saved[1].normalPosition, rects[1]);
  EXPECT_EQ(saved[3].showCmd, SW_SHOWMINIMIZED);
  EXPECT_EQ(saved[3].normalPosition, rects[3]);
  EXPECT_NE(file[2].find(Cp932(L"資料")), std::string::npos) << "the Japanese folder name is stored as code page 932";

  Stopwatch watch;
  HostResult restore = host.Restore(name);
  EXPECT_EQ(restore.status, testhost::kResultOk);
  EXPECT_TRUE(restore.paths.empty());
  EXPECT_LT(watch.Elapsed(), 15s);

  // The old windows were closed and new ones opened by the shell, one per record, in record order.
  EXPECT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindow); }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return FolderWindows().size() == folders.size(); }, 5s));
  const std::vector<SnapshotRecord> restored = host.Dump();
  ASSERT_EQ(restored.size(), saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    SCOPED_TRACE(saved[i].path);
    const SnapshotRecord& now = restored[i];
    EXPECT_EQ(now.path, saved[i].path);
    EXPECT_EQ(std::count(windows.begin(), windows.end(), now.handle), 0) << "a closed window was reused";
    EXPECT_EQ(now.showCmd, saved[i].showCmd);
    EXPECT_EQ(now.normalPosition, saved[i].normalPosition);
    const WindowState state = ReadWindow(now.handle);
    EXPECT_EQ(state.zoomed, saved[i].showCmd == SW_SHOWMAXIMIZED);
    EXPECT_EQ(state.iconic, saved[i].showCmd == SW_SHOWMINIMIZED);
    if (saved[i].showCmd == SW_SHOWNORMAL) {
      EXPECT_EQ(state.rect, saved[i].windowRect);
    } else if (saved[i].showCmd == SW_SHOWMAXIMIZED) {
      // Known Wine gap: its SetWindowPlacement moves a maximized window whose maximized position is
      // the default (-1, -1) to (0, 0), keeping the size. Windows leaves it where maximizing put it.
      EXPECT_EQ(Width(state.rect), Width(saved[i].windowRect));
      EXPECT_EQ(Height(state.rect), Height(saved[i].windowRect));
      EXPECT_TRUE(state.rect == saved[i].windowRect || state.rect == RectAt(0, 0, Width(state.rect), Height(state.rect)))
          << ::testing::PrintToString(state.rect);
    }
  }
  // A restore changes only the marks, and this workbench already had it.
  EXPECT_EQ(ReadFileBytes(host.WorkBenchFile()), expected);
}

TEST_F(WorkBenchTest, SavingOverAnExistingWorkbenchAsksFirst) {
  TestHostClient& host = StartHost();
  HWND first = OpenFolderWindow(MakeFolder(L"First"));
  ASSERT_NE(OpenFolderWindow(MakeFolder(L"Second")), nullptr);
  ASSERT_EQ(host.Save(L"Bench").status, testhost::kResultOk);
  ASSERT_EQ(host.Save(L"Other").status, testhost::kResultOk);
  const std::string twoWindows = ReadFileBytes(host.WorkBenchFile());

  PostMessageW(first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first); }, 5s));

  // A name differing only in letter case is the same workbench.
  ASSERT_EQ(host.Command(testhost::kConfirmNo).status, testhost::kResultOk);
  EXPECT_EQ(host.Save(L"BENCH").status, testhost::kResultDeclined);
  EXPECT_EQ(ReadFileBytes(host.WorkBenchFile()), twoWindows);

  ASSERT_EQ(host.Command(testhost::kConfirmYes).status, testhost::kResultOk);
  EXPECT_EQ(host.Save(L"BENCH").status, testhost::kResultOkConfirmed);
  const std::vector<std::string> lines = FileLines(host.WorkBenchFile());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "[Bench]");  // replaced in place, under the name as first written
  EXPECT_TRUE(lines[1].starts_with("1=") && lines[1].find("Second") != std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "Last=1");
  EXPECT_EQ(lines[4], "[Other]");
  EXPECT_TRUE(lines[5].find("First") != std::string::npos) << lines[5];
  EXPECT_EQ(lines[7], "Last=0");
}

TEST_F(WorkBenchTest, AFolderNameCodePage932CannotHoldIsStoredAsItsShortPath) {
  TestHostClient& host = StartHost();
  const std::filesystem::path folder = MakeFolder(L"Caf\u00E9 \u00FCber");  // neither letter is in code page 932
  ASSERT_NE(OpenFolderWindow(folder), nullptr);

  HostResult save = host.Save(L"Short");
  EXPECT_EQ(save.status, testhost::kResultOk);
  EXPECT_TRUE(save.paths.empty()) << "left out: " << (save.paths.empty() ? "" : save.paths[0]);

  const std::vector<std::string> lines = FileLines(host.WorkBenchFile());
  ASSERT_GE(lines.size(), 2u);
  ASSERT_TRUE(lines[1].starts_with("1="));
  const std::string stored = lines[1].substr(2, lines[1].find('\t') - 2);
  EXPECT_TRUE(std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << stored;
  wchar_t longPath[MAX_PATH * 2] = {};
  ASSERT_GT(GetLongPathNameW(Wide(stored).c_str(), longPath, MAX_PATH * 2), 0u) << stored;
  EXPECT_TRUE(SamePath(longPath, folder.wstring())) << stored;

  // The short path opens the same folder again.
  HostResult restore = host.Restore(L"Short");
  EXPECT_EQ(restore.status, testhost::kResultOk);
  EXPECT_TRUE(restore.paths.empty());
  ASSERT_TRUE(WaitUntil([] { return FolderWindows().size() == 1; }, 5s));
  const std::wstring opened = FolderPathOf(FolderWindows().front());
  ASSERT_GT(GetLongPathNameW(opened.c_str(), longPath, MAX_PATH * 2), 0u);
  EXPECT_TRUE(SamePath(longPath, folder.wstring())) << Utf8(opened);
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
  WriteFileBytes(HostFolder() / L"zarn_test_host.wbf", WrittenForm({section}));
  TestHostClient& host = StartHost();
  HWND before = OpenFolderWindow(MakeFolder(L"OpenBefore"));
  ASSERT_NE(before, nullptr);

  Stopwatch watch;
  HostResult restore = host.Restore(L"Broken");
  const Milliseconds took = watch.Elapsed();
  EXPECT_EQ(restore.status, testhost::kResultOk);
  // The folder that never opens costs the one wait for a new window; nothing waits longer.
  EXPECT_LT(took, 25s);

  std::vector<std::wstring> named;
  for (const std::string& path : restore.paths) named.push_back(Wide(path));
  // Named: the folders that got no window. The window that refuses its size did get one.
  std::vector<std::filesystem::path> expectedNamed = {missing, never};
  EXPECT_EQ(named.size(), expectedNamed.size());
  for (const std::filesystem::path& path : expectedNamed) {
    EXPECT_TRUE(std::any_of(named.begin(), named.end(), [&](const std::wstring& n) { return SamePath(n, path.wstring()); }))
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
  EXPECT_EQ(ReadFileBytes(host.WorkBenchFile()), WrittenForm({section}));
}

}  // namespace
}  // namespace zarn::e2e
