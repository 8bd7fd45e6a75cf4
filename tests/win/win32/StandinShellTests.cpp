// The automation client against the test bed's stand-in "Shell.Application": the walk the snapshot
// makes, what an item answers, and the explore verb opening a window the walk then finds.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "StandinFolders.h"
#include "TempFolder.h"
#include "TestWindow.h"
#include "core/Error.h"
#include "win32/CodePage932.h"
#include "win32/Dispatch.h"
#include "win32/Win32Shell.h"
#include "win32/WindowHandles.h"

namespace zarn::win32 {
namespace {

using test::StandinFolderWindow;
using test::TempFolder;

class StandinShell : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::StandinRegistered()) {
      if (test::g_requireStandin) FAIL() << "the stand-in shell is not registered in this prefix";
      GTEST_SKIP() << "the stand-in shell is not registered in this prefix";
    }
    // Creating the object loads the stand-in here, so the folder windows the tests open are
    // handed to its host thread in this process.
    windows_ = shell_.OpenWindows();
    ASSERT_NE(windows_, nullptr);
  }

  struct Walked {
    std::int32_t index;
    WindowHandle handle;
    bool folderView;
  };

  // Every item of the collection as the snapshot walks it.
  std::vector<Walked> Walk(ShellWindows& windows) {
    std::vector<Walked> items;
    const std::int32_t count = windows.Count();
    for (std::int32_t i = 0; i < count; ++i) {
      std::unique_ptr<ShellWindow> item = windows.Item(i);
      if (item) items.push_back({i, item->Handle(), item->IsFolderView()});
    }
    return items;
  }

  std::unique_ptr<ShellWindow> ItemOf(ShellWindows& windows, HWND hwnd) {
    const std::int32_t count = windows.Count();
    for (std::int32_t i = 0; i < count; ++i) {
      std::unique_ptr<ShellWindow> item = windows.Item(i);
      if (item && item->Handle() == FromHwnd(hwnd)) return item;
    }
    return nullptr;
  }

  Win32Shell shell_;
  std::unique_ptr<ShellWindows> windows_;
};

TEST_F(StandinShell, WalkFindsEachOpenFolderWindowInOpeningOrderWithItsHandleAndPath) {
  TempFolder plain(L"Alpha");
  TempFolder japanese(L"作業フォルダ ｶﾅ");
  ASSERT_TRUE(plain.created() && japanese.created());
  StandinFolderWindow first(plain.path());
  StandinFolderWindow second(japanese.path());
  ASSERT_NE(first.hwnd(), nullptr);
  ASSERT_NE(second.hwnd(), nullptr);

  const std::vector<Walked> items = Walk(*windows_);
  std::optional<std::int32_t> firstIndex, secondIndex;
  for (const Walked& item : items) {
    if (item.handle == FromHwnd(first.hwnd())) firstIndex = item.index;
    if (item.handle == FromHwnd(second.hwnd())) secondIndex = item.index;
    EXPECT_TRUE(::IsWindow(ToHwnd(item.handle))) << "every handle is a real window";
  }
  ASSERT_TRUE(firstIndex && secondIndex);
  EXPECT_LT(*firstIndex, *secondIndex);

  std::unique_ptr<ShellWindow> item = windows_->Item(*secondIndex);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->IsFolderView());
  const ShellFolderPath path = item->FolderPath();
  EXPECT_TRUE(path.representable);
  EXPECT_EQ(path.wide, U16FromWide(japanese.path()));
  EXPECT_EQ(path.ansi, Cp932FromWide(japanese.path()));
  EXPECT_EQ(WideFromCp932Exact(path.ansi), japanese.path());
}

// Every call is a round trip to the shell's process on Windows. A snapshot reads each window's item,
// handle, kind and folder: Item, hWnd, Document, the folder-view question, Folder, Self and Path.
TEST_F(StandinShell, ASnapshotCostsSevenCallsPerWindowOnceTheMembersAreKnown) {
  TempFolder a(L"CallsA"), b(L"CallsB"), c(L"CallsC");
  StandinFolderWindow first(a.path()), second(b.path()), third(c.path());
  auto snapshot = [&] {
    const std::uint64_t before = Dispatch::CallsMade();
    std::unique_ptr<ShellWindows> fresh = shell_.OpenWindows();
    const std::int32_t count = fresh->Count();
    for (std::int32_t i = 0; i < count; ++i) {
      std::unique_ptr<ShellWindow> item = fresh->Item(i);
      if (item && item->IsFolderView()) {
        item->Handle();
        item->FolderPath();
      }
    }
    return std::pair(Dispatch::CallsMade() - before, count);
  };
  snapshot();  // the members' numbers, asked once
  const auto [calls, count] = snapshot();
  ASSERT_EQ(count, 3);
  // Windows and Count once per snapshot.
  EXPECT_EQ(calls, 2u + 7u * 3u);
}

TEST_F(StandinShell, TwoWindowsOnOneFolderAreTwoItemsWithTheSamePath) {
  TempFolder folder(L"Twice");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow first(folder.path());
  ASSERT_NE(first.hwnd(), nullptr);
  StandinFolderWindow second(folder.path());
  ASSERT_NE(second.hwnd(), nullptr);
  std::vector<HWND> seen;
  const std::int32_t count = windows_->Count();
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<ShellWindow> item = windows_->Item(i);
    if (item && item->FolderPath().wide == U16FromWide(folder.path())) seen.push_back(ToHwnd(item->Handle()));
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_NE(seen[0], seen[1]);
}

TEST_F(StandinShell, AWindowThatIsNoFolderViewIsListedButNotAFolderView) {
  TempFolder folder(L"NotAView");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow window(folder.path(), L"/notview");
  ASSERT_NE(window.hwnd(), nullptr);
  std::unique_ptr<ShellWindow> item = ItemOf(*windows_, window.hwnd());
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->IsFolderView());
}

TEST_F(StandinShell, IndexPastTheEndIsAnEmptyItem) {
  TempFolder folder(L"Only");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow window(folder.path());
  const std::int32_t count = windows_->Count();
  ASSERT_GE(count, 1);
  EXPECT_NE(windows_->Item(count - 1), nullptr);
  EXPECT_EQ(windows_->Item(count), nullptr);
  EXPECT_EQ(windows_->Item(count + 100), nullptr);
}

TEST_F(StandinShell, CollectionIsFetchedAnewSoAClosedWindowLeavesAnEmptyItem) {
  TempFolder folder(L"Closing");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow window(folder.path());
  ASSERT_NE(window.hwnd(), nullptr);
  const std::int32_t count = windows_->Count();
  ASSERT_TRUE(window.Close());
  // The count read before the close still drives the walk; its last index is gone now.
  EXPECT_EQ(windows_->Item(count - 1), nullptr);
  EXPECT_EQ(windows_->Count(), count - 1);
}

TEST_F(StandinShell, ReadingAnItemWhoseWindowClosedFailsWithTheMemberNamed) {
  TempFolder folder(L"Vanishing");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow window(folder.path());
  std::unique_ptr<ShellWindow> item = ItemOf(*windows_, window.hwnd());
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(window.Close());
  try {
    item->Handle();
    FAIL() << "no error for a window that has gone";
  } catch (const zarn::Error& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("Shell.Application.Windows.Item.hWnd: ", 0), 0u) << message;
    EXPECT_GT(message.size(), std::string("Shell.Application.Windows.Item.hWnd: ").size());
  }
  EXPECT_THROW(item->FolderPath(), zarn::Error);
  EXPECT_THROW(item->IsFolderView(), zarn::Error);
}

TEST_F(StandinShell, FolderNameCodePage932LacksIsStoredByItsShortPath) {
  TempFolder folder(L"caf\u00E9 \u00FCber");
  ASSERT_TRUE(folder.created());
  StandinFolderWindow window(folder.path());
  ASSERT_NE(window.hwnd(), nullptr);
  std::unique_ptr<ShellWindow> item = ItemOf(*windows_, window.hwnd());
  ASSERT_NE(item, nullptr);
  const ShellFolderPath path = item->FolderPath();
  EXPECT_EQ(path.wide, U16FromWide(folder.path()));
  ASSERT_TRUE(path.representable);
  const std::optional<std::wstring> stored = WideFromCp932Exact(path.ansi);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->find(L'\u00E9'), std::wstring::npos);
  EXPECT_NE(::GetFileAttributesW(stored->c_str()), INVALID_FILE_ATTRIBUTES) << "the short path names the folder";
}

TEST_F(StandinShell, ExploreOpensAWindowTheWalkThenFinds) {
  TempFolder folder(L"探索 Explore");
  ASSERT_TRUE(folder.created());
  const std::optional<std::string> ansi = Cp932FromWide(folder.path());
  ASSERT_TRUE(ansi.has_value());
  const std::unique_ptr<ExploreRequest> request = shell_.Explore(*ansi);
  std::optional<bool> answer;
  ASSERT_TRUE(test::WaitUntil([&] { return (answer = request->Answer()).has_value(); }));
  ASSERT_TRUE(*answer);
  HWND opened = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (opened = test::FindStandinWindow(folder.path())) != nullptr; }));
  std::unique_ptr<ShellWindow> item = ItemOf(*windows_, opened);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->IsFolderView());
  EXPECT_EQ(item->FolderPath().ansi, *ansi);
  ::PostMessageW(opened, WM_CLOSE, 0, 0);
  EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindow(opened); }));
}

}  // namespace
}  // namespace zarn::win32
