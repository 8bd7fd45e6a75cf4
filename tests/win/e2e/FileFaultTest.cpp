// The program's two files when they cannot be written: made read-only, or held open by another
// program that shares nothing, at a command that writes them and at exit. The failure is told once,
// the file keeps its bytes, the program goes on (or ends, at exit), and what it meant to write
// reaches the file with the next write that can be made. And a folder beside the program that nothing
// can be written in at all.
#include <windows.h>

#include <algorithm>
#include <set>

#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "WorkBenchFile.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

// Told once: whether any dialog but `error` shows within a second.
bool AnotherDialogAppears(const ZarnClient& zarn, HWND error) {
  return WaitUntil(
      [&] {
        const std::vector<HWND> dialogs = zarn.Dialogs();
        return std::any_of(dialogs.begin(), dialogs.end(), [&](HWND dialog) { return dialog != error; });
      },
      1s);
}

enum class Fault { ReadOnly, Locked };
enum class Moment { Command, Exit };

struct FileFaultCase {
  const char* name;
  bool workBench;  // Zarn.wbf, else Zarn.ini
  Fault fault;
  Moment moment;
};

void PrintTo(const FileFaultCase& c, std::ostream* out) { *out << c.name; }

class FileFaultTest : public E2eTest, public ::testing::WithParamInterface<FileFaultCase> {
 protected:
  void TearDown() override {
    Release();
    E2eTest::TearDown();
  }

  void Apply(const std::filesystem::path& file, Fault fault) {
    file_ = file;
    if (fault == Fault::ReadOnly) {
      ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
      readOnly_ = true;
    } else {
      lock_ = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(lock_, INVALID_HANDLE_VALUE) << GetLastError();
    }
  }
  void Release() {
    if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
    lock_ = INVALID_HANDLE_VALUE;
    if (readOnly_) SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    readOnly_ = false;
  }

  // Saves a new workbench by that name through the name dialog, without waiting for the save's end.
  void StartNewWorkBench(std::wstring_view name) {
    ASSERT_TRUE(Zarn().Post(IDM_NEW_WB));
    HWND input = WaitForDialogWith(Zarn(), IDC_INPUT_EDIT);
    ASSERT_NE(input, nullptr);
    ASSERT_TRUE(ZarnClient::SetControlText(input, IDC_INPUT_EDIT, name));
    ASSERT_TRUE(ZarnClient::PressButton(input, IDOK));
    // It has the error box's caption: gone first, so that the one looked for next is the error.
    ASSERT_TRUE(WaitUntil([input] { return !IsWindow(input) || !IsWindowVisible(input); }, 5s));
  }

  std::filesystem::path file_;
  HANDLE lock_ = INVALID_HANDLE_VALUE;
  bool readOnly_ = false;
};

TEST_P(FileFaultTest, FailureIsToldOnceAndTheFileKeepsItsBytes) {
  const FileFaultCase& c = GetParam();
  // Both files as a user may have them: with a line no rewrite keeps, so any write would show.
  std::filesystem::create_directories(ZarnFolder());
  WriteFileBytes(ZarnFolder() / L"Zarn.wbf", "; kept by hand\r\n" + WorkBenchSection(L"Old", true));
  ZarnClient& zarn = Ready(StartZarn("; kept by hand\r\n" + ConfigIni({{"Left", "100"}, {"Top", "100"}})));
  const std::filesystem::path file = c.workBench ? zarn.WorkBenchFile() : zarn.SettingsFile();
  const std::string before = ReadFileBytes(file);
  // Somewhere else than stored, so that the exit has something to write.
  SetWindowPos(zarn.Window(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Apply(file, c.fault);

  if (c.moment == Moment::Exit) {
    ASSERT_TRUE(zarn.Post(IDM_EXIT));
  } else if (c.workBench) {
    StartNewWorkBench(L"New");
  } else {
    ASSERT_TRUE(zarn.Post(IDM_TITLEBAR_TOGGLE));
  }
  HWND error = zarn.WaitForDialog(app::kApplicationTitle);
  ASSERT_NE(error, nullptr) << "no error was shown";
  const std::wstring message = Joined(ZarnClient::StaticTexts(error));
  EXPECT_NE(message.find(file.filename().wstring()), std::wstring::npos) << Utf8(message);
  RecordProperty("message", Utf8(message));
  ASSERT_TRUE(ZarnClient::PressButton(error, IDOK));
  // Told once: nothing else is shown after it.
  EXPECT_FALSE(AnotherDialogAppears(zarn, error));
  if (c.moment == Moment::Exit) {
    EXPECT_TRUE(WaitUntil([&] { return !zarn.Running(); }, 5s)) << "the program did not end";
  } else {
    EXPECT_TRUE(zarn.Running());
    EXPECT_TRUE(zarn.WaitIdle(5s)) << "the program hangs after the error";
  }
  Release();
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_FALSE(std::filesystem::exists(file.wstring() + L".tmp"));
  if (c.moment == Moment::Exit) return;

  // What the failed command changed is still in memory: the next write that can be made writes it.
  if (c.workBench) {
    EXPECT_TRUE(RunCommand(IDM_NEW_WB, L"Newer").finished);
    const std::vector<std::string> lines = FileLines(file);
    for (const wchar_t* name : {L"Old", L"New", L"Newer"})
      EXPECT_NE(std::find(lines.begin(), lines.end(), SectionLine(name)), lines.end()) << Utf8(name);
  } else {
    ASSERT_EQ(zarn.Close(), 0u);
    EXPECT_EQ(ConfigValue(file, "TitleBarView"), "0");
  }
}

// A read-only Zarn.ini at exit is ToolbarTest.ReadOnlySettingsFileAtExitIsToldAndLeftAsItWas. The
// workbench file is never written at exit.
INSTANTIATE_TEST_SUITE_P(
    Files, FileFaultTest,
    ::testing::Values(FileFaultCase{"SettingsReadOnlyAtCommand", false, Fault::ReadOnly, Moment::Command},
                      FileFaultCase{"SettingsLockedAtCommand", false, Fault::Locked, Moment::Command},
                      FileFaultCase{"SettingsLockedAtExit", false, Fault::Locked, Moment::Exit},
                      FileFaultCase{"WorkBenchReadOnlyAtCommand", true, Fault::ReadOnly, Moment::Command},
                      FileFaultCase{"WorkBenchLockedAtCommand", true, Fault::Locked, Moment::Command}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows keeps a user out of a folder by its access list, which Wine does not enforce, and its
// read-only attribute means nothing on a folder. The Linux side can: the folder made immutable
// (chattr +i, which also stops root) takes no new file, so no temporary file can be made beside the
// profiles. chattr runs as a Unix program started from here; without it (not root) the scenario is
// skipped.
class UnwritableFolderTest : public E2eTest {
 protected:
  void TearDown() override {
    if (immutable_) SetImmutable(ZarnFolder(), false);
    E2eTest::TearDown();
  }

  // True once the folder is as asked: a probe file can, or cannot, be made in it.
  bool SetImmutable(const std::filesystem::path& folder, bool on) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (unixName == nullptr) return false;
    char* name = unixName(folder.c_str());
    if (name == nullptr) return false;
    const std::wstring unixFolder = Wide(name);
    HeapFree(GetProcessHeap(), 0, name);
    try {
      // Through the driver's process start, which tries again when a busy Wine fails it.
      Process chattr(L"Z:\\usr\\bin\\chattr", {on ? L"+i" : L"-i", unixFolder});
      chattr.WaitForExit(5s);
    } catch (const std::exception&) {
      return false;
    }
    const std::filesystem::path probe = folder / L"probe";
    const bool done = WaitUntil(
        [&] {
          // A probe left from a check made just before the folder closed would keep this one from being made.
          if (!on) DeleteFileW(probe.c_str());
          HANDLE file =
              CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
          if (file == INVALID_HANDLE_VALUE) return on;
          CloseHandle(file);
          DeleteFileW(probe.c_str());
          return !on;
        },
        5s);
    if (done) immutable_ = on;
    return done;
  }

  bool immutable_ = false;
};

TEST_F(UnwritableFolderTest, EveryWriteIsToldOnceAndChangesNoFile) {
  std::filesystem::create_directories(ZarnFolder());
  WriteFileBytes(ZarnFolder() / L"Zarn.wbf", "; kept by hand\r\n" + WorkBenchSection(L"Old", true));
  ZarnClient& zarn = Ready(StartZarn("; kept by hand\r\n" + ConfigIni({{"Left", "100"}, {"Top", "100"}})));
  SetWindowPos(zarn.Window(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string settings = ReadFileBytes(zarn.SettingsFile());
  const std::string workBenches = ReadFileBytes(zarn.WorkBenchFile());
  if (!SetImmutable(ZarnFolder(), true))
    GTEST_SKIP() << "the folder could not be made unwritable (chattr +i needs root)";

  struct Step {
    const char* name;
    UINT command;
    const std::filesystem::path file;
  };
  for (const Step& step :
       {Step{"title bar", IDM_TITLEBAR_TOGGLE, zarn.SettingsFile()},
        Step{"new workbench", IDM_NEW_WB, zarn.WorkBenchFile()}, Step{"exit", IDM_EXIT, zarn.SettingsFile()}}) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(zarn.Post(step.command));
    if (step.command == IDM_NEW_WB) {
      HWND input = WaitForDialogWith(zarn, IDC_INPUT_EDIT);
      ASSERT_NE(input, nullptr);
      ASSERT_TRUE(ZarnClient::SetControlText(input, IDC_INPUT_EDIT, L"New"));
      ASSERT_TRUE(ZarnClient::PressButton(input, IDOK));
      ASSERT_TRUE(WaitUntil([input] { return !IsWindow(input) || !IsWindowVisible(input); }, 5s));
    }
    HWND error = zarn.WaitForDialog(app::kApplicationTitle);
    ASSERT_NE(error, nullptr) << "no error was shown";
    const std::wstring message = Joined(ZarnClient::StaticTexts(error));
    EXPECT_NE(message.find(step.file.filename().wstring()), std::wstring::npos) << Utf8(message);
    RecordProperty(std::string("message ") + step.name, Utf8(message));
    ASSERT_TRUE(ZarnClient::PressButton(error, IDOK));
    EXPECT_FALSE(AnotherDialogAppears(zarn, error));
    if (step.command != IDM_EXIT) {
      EXPECT_TRUE(zarn.WaitIdle(5s)) << "the program hangs after the error";
    }
  }
  EXPECT_TRUE(WaitUntil([&] { return !zarn.Running(); }, 5s)) << "the program did not end";
  EXPECT_EQ(ReadFileBytes(zarn.SettingsFile()), settings);
  EXPECT_EQ(ReadFileBytes(zarn.WorkBenchFile()), workBenches);
  // Nothing new beside them either. (The probe may have been made just before the folder closed.)
  ASSERT_TRUE(SetImmutable(ZarnFolder(), false));
  DeleteFileW((ZarnFolder() / L"probe").c_str());
  std::set<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(ZarnFolder())) names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::wstring>{L"Zarn.exe", L"Zarn.ini", L"Zarn.wbf"}));
}

}  // namespace
}  // namespace zarn::e2e
