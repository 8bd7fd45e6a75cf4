#include "E2eFixture.h"

#include <algorithm>
#include <cwctype>

#include "StandinWindow.h"
#include "resource.h"
#include "TestHostCommands.h"

namespace zarn::e2e {

namespace {

std::filesystem::path TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return std::filesystem::path(std::wstring(buffer, length));
}

// Closes what a test left open, politely first: a window asked to close may still be on its way.
void CloseFolderWindowsLeftOpen() {
  for (HWND window : E2eTest::FolderWindows()) PostMessageW(window, WM_CLOSE, 0, 0);
  WaitUntil([] { return E2eTest::FolderWindows().empty(); }, 5s);
}

}  // namespace

bool SamePath(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

void E2eTest::SetUp() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = Wide(std::string(test->test_suite_name()) + "." + test->name());
  std::replace(name.begin(), name.end(), L'/', L'_');
  root_ = TempFolder() / L"zarn-e2e" / name;
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
  std::filesystem::create_directories(HostFolder());
  // A scenario counts windows: one left by an earlier scenario would spoil it.
  CloseFolderWindowsLeftOpen();
  ASSERT_TRUE(FolderWindows().empty()) << "stand-in folder windows from an earlier test are still open";
}

void E2eTest::TearDown() {
  // The host goes first: the folder windows it hosts go with it.
  if (host_) host_->Close();
  host_.reset();
  if (zarn_) zarn_->Close();
  zarn_.reset();
  CloseFolderWindowsLeftOpen();
  processes_.clear();  // ends whatever is still running
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path E2eTest::MakeFolder(std::wstring_view name, std::wstring_view marker) {
  std::filesystem::path folder = root_ / L"folders" / name;
  std::filesystem::create_directories(folder);
  if (!marker.empty()) WriteFileBytes(folder / standin::kMarkerFile, Utf8(marker));
  return folder;
}

TestHostClient& E2eTest::StartHost() {
  host_ = std::make_unique<TestHostClient>(HostFolder());
  EXPECT_TRUE(host_->Dump().empty());
  return *host_;
}

ZarnClient& E2eTest::StartZarn(std::optional<std::string> settings) {
  zarn_ = std::make_unique<ZarnClient>(ZarnFolder(), std::move(settings));
  return *zarn_;
}

void E2eTest::LoadStandinShell() {
  ASSERT_TRUE(zarn_) << "start the program first";
  ASSERT_TRUE(FolderWindows().empty());
  ASSERT_TRUE(zarn_->Send(IDM_CLOSE_ALL));
  ASSERT_NE(zarn_->WaitForHost(), nullptr) << "the stand-in shell did not load into the program";
}

HWND E2eTest::OpenFolderWindow(const std::filesystem::path& folder, const std::vector<std::wstring>& switches) {
  std::vector<HWND> before = FolderWindows();
  std::vector<std::wstring> arguments = switches;
  // Into the host's process, where placements can be read exactly; never into a window of its own.
  if (host_) arguments.push_back(L"/host:" + std::to_wstring(host_->ProcessId()));
  if (zarn_ && zarn_->WaitForHost(0ms) != nullptr) arguments.push_back(L"/host:" + std::to_wstring(zarn_->ProcessId()));
  arguments.push_back(folder.wstring());
  processes_.emplace_back(ProgramFolder() / L"zarn_standin_folder.exe", arguments);
  HWND opened = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : FolderWindows()) {
          if (std::find(before.begin(), before.end(), window) == before.end() && IsWindowVisible(window) &&
              SamePath(FolderPathOf(window), folder.wstring())) {
            opened = window;
            return true;
          }
        }
        return false;
      },
      5s);
  if (opened == nullptr) ADD_FAILURE() << "no stand-in window opened for " << Utf8(folder.wstring());
  return opened;
}

void E2eTest::MoveWindowTo(HWND window, const RECT& rect) {
  SetWindowPos(window, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOACTIVATE);
  EXPECT_TRUE(WaitUntil([&] { return ReadWindow(window).rect == rect; }, 2s));
}

std::wstring E2eTest::FolderPathOf(HWND window) {
  wchar_t text[MAX_PATH * 2] = {};
  GetDlgItemTextW(window, standin::kPathControlId, text, MAX_PATH * 2);
  return text;
}

std::vector<HWND> E2eTest::FolderWindows() { return FindWindowsOfClass(standin::kFolderClass); }

}  // namespace zarn::e2e
