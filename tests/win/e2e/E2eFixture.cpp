#include "E2eFixture.h"

#include <algorithm>
#include <cwctype>
#include <future>

#include "StandinWindow.h"
#include "resource.h"

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

constexpr wchar_t kConfirmCaption[] = L"確認";
constexpr wchar_t kInformationCaption[] = L"情報";

std::wstring Caption(HWND window) {
  wchar_t text[256] = {};
  const int length = InternalGetWindowText(window, text, 256);
  return std::wstring(text, static_cast<std::size_t>(std::max(length, 0)));
}

std::wstring Joined(const std::vector<std::wstring>& texts) {
  std::wstring all;
  for (const std::wstring& text : texts) all += (all.empty() ? L"" : L"\n") + text;
  return all;
}

// An information box lists its folders one per line under a heading line.
std::vector<std::wstring> ListedLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  bool heading = true;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) end = text.size();
    if (end > start) {
      if (!heading) lines.emplace_back(text.substr(start, end - start));
      heading = false;
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace

bool SamePath(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

void E2eTest::SetUp() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = Wide(std::string(test->test_suite_name()) + "." + test->name());
  std::replace(name.begin(), name.end(), L'/', L'_');
  root_ = TempFolder() / L"zarn-e2e" / name;
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
  std::filesystem::create_directories(root_);
  // A scenario counts windows: one left by an earlier scenario would spoil it.
  CloseFolderWindowsLeftOpen();
  ASSERT_TRUE(FolderWindows().empty()) << "stand-in folder windows from an earlier test are still open";
}

void E2eTest::TearDown() {
  // The program goes first: the folder windows it hosts go with it.
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

ZarnClient& E2eTest::StartZarn(std::optional<std::string> settings, const std::vector<std::wstring>& arguments,
                               const std::filesystem::path& workingDirectory, std::optional<WORD> startupShow) {
  zarn_ = std::make_unique<ZarnClient>(ZarnFolder(), std::move(settings), arguments, workingDirectory, startupShow);
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
  // A window told to report another name shows that one.
  std::wstring shown = folder.wstring();
  for (const std::wstring& argument : switches) {
    if (argument.rfind(L"/reports:", 0) == 0) shown = argument.substr(9);
  }
  // Into the program's process, where placements can be read exactly; never into a window of its own.
  if (zarn_ && zarn_->WaitForHost(0ms) != nullptr) arguments.push_back(L"/host:" + std::to_wstring(zarn_->ProcessId()));
  arguments.push_back(folder.wstring());
  processes_.emplace_back(ProgramFolder() / L"zarn_standin_folder.exe", arguments);
  HWND opened = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : FolderWindows()) {
          if (std::find(before.begin(), before.end(), window) == before.end() && IsWindowVisible(window) &&
              SamePath(FolderPathOf(window), shown)) {
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
  SetWindowPos(window, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOACTIVATE);
  EXPECT_TRUE(WaitUntil([&] { return ReadWindow(window).rect == rect; }, 2s));
}

E2eTest::CommandLog E2eTest::RunCommand(UINT command, std::wstring_view name, bool confirm, Milliseconds bound,
                                        const std::function<void()>& meanwhile) {
  CommandLog log;
  if (!zarn_) {
    ADD_FAILURE() << "start the program first";
    return log;
  }
  const Stopwatch watch;
  std::future<bool> sent =
      std::async(std::launch::async, [client = zarn_.get(), command, bound] { return client->Send(command, bound); });
  bool busyTaken = false;
  const auto takeBusy = [&] {
    if (!busyTaken) log.busy = watch.Elapsed();
    busyTaken = true;
  };
  while (sent.wait_for(20ms) != std::future_status::ready) {
    if (meanwhile) meanwhile();
    for (HWND dialog : zarn_->Dialogs()) {
      const std::wstring caption = Caption(dialog);
      // A dialog can be visible a moment before its texts are in place.
      std::vector<std::wstring> texts;
      WaitUntil([&] { return !(texts = ZarnClient::StaticTexts(dialog)).empty(); }, 2s);
      int button = IDOK;
      if (caption == kConfirmCaption) {
        log.questions.push_back(Joined(texts));
        button = confirm ? IDYES : IDCANCEL;
      } else if (caption == kInformationCaption) {
        takeBusy();
        log.information.push_back(Joined(texts));
        for (const std::wstring& text : texts) {
          for (std::wstring& line : ListedLines(text)) log.folders.push_back(std::move(line));
        }
      } else if (GetDlgItem(dialog, IDC_INPUT_EDIT) != nullptr) {
        EXPECT_FALSE(name.empty()) << "the command asked for a name";
        EXPECT_TRUE(ZarnClient::SetControlText(dialog, IDC_INPUT_EDIT, name));
      } else {
        // The generic error display, or something nobody expected: either is a fault of the command.
        ADD_FAILURE() << "unexpected dialog \"" << Utf8(caption) << "\": " << Utf8(Joined(texts));
      }
      EXPECT_TRUE(ZarnClient::PressButton(dialog, button)) << Utf8(caption);
      EXPECT_TRUE(WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5s)) << Utf8(caption);
    }
  }
  takeBusy();
  log.finished = sent.get();
  EXPECT_TRUE(log.finished) << "command " << command << " did not come back within " << bound.count() << " ms";
  EXPECT_TRUE(zarn_->Dialogs().empty()) << "a dialog outlived its command";
  return log;
}

E2eTest::CommandLog E2eTest::SaveNewWorkBench(std::wstring_view name, bool confirm) {
  return RunCommand(IDM_NEW_WB, name, confirm);
}

E2eTest::CommandLog E2eTest::RestoreWorkBench(int index) { return RunCommand(IDM_WB_LOAD_DROPDOWN_FIRST + index); }

std::vector<standin::ReportedFolderWindow> E2eTest::ReportedFolders() {
  if (!zarn_) {
    ADD_FAILURE() << "start the program first";
    return {};
  }
  return zarn_->Report().folders;
}

std::wstring E2eTest::FolderPathOf(HWND window) {
  wchar_t text[MAX_PATH * 2] = {};
  GetDlgItemTextW(window, standin::kPathControlId, text, MAX_PATH * 2);
  return text;
}

std::vector<HWND> E2eTest::FolderWindows() { return FindWindowsOfClass(standin::kFolderClass); }

}  // namespace zarn::e2e
