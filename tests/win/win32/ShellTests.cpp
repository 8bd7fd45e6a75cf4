// The shell side without the stand-in: path forms for the workbench file and the explore verb.
#include "win32/Win32Shell.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TempFolder.h"
#include "TestWindow.h"
#include "win32/CodePage932.h"
#include "win32/ComApartment.h"

namespace zarn::win32 {
namespace {

using namespace std::string_literals;

std::wstring LongPathOf(const std::wstring& path) {
  wchar_t buffer[1024] = {};
  const DWORD length = ::GetLongPathNameW(path.c_str(), buffer, 1024);
  return std::wstring(buffer, length < 1024 ? length : 0);
}

TEST(FolderPath, RepresentablePathsAreStoredAsTheirOwnBytes) {
  const ShellFolderPath ascii = FolderPathFromWide(L"C:\\Work\\Docs");
  EXPECT_TRUE(ascii.representable);
  EXPECT_EQ(ascii.ansi, "C:\\Work\\Docs");
  EXPECT_EQ(ascii.wide, u"C:\\Work\\Docs");

  // Such paths are taken as they are, whether or not they exist.
  const ShellFolderPath japanese = FolderPathFromWide(L"C:\\作業\\ソ表");
  EXPECT_TRUE(japanese.representable);
  EXPECT_EQ(japanese.ansi, "C:\\\x8D\xEC\x8B\xC6\\\x83\x5C\x95\x5C"s);
  EXPECT_EQ(japanese.wide, u"C:\\作業\\ソ表");

  // Shell namespace places are not file-system paths but are stored like them.
  EXPECT_EQ(FolderPathFromWide(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}").ansi,
            "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
}

TEST(FolderPath, LossyPathOfAnExistingFolderFallsBackToItsShortForm) {
  test::TempFolder folder(L"caf\u00E9 \u00FCber-lange Name");
  ASSERT_TRUE(folder.created());
  const ShellFolderPath path = FolderPathFromWide(folder.path());
  EXPECT_EQ(path.wide, U16FromWide(folder.path())) << "the shell's own spelling stays for messages";
  ASSERT_TRUE(path.representable) << "short names exist on this file system";
  // The stored bytes must name the same folder again.
  const std::optional<std::wstring> reopened = WideFromCp932Exact(path.ansi);
  ASSERT_TRUE(reopened.has_value());
  EXPECT_NE(*reopened, folder.path());
  const DWORD attributes = ::GetFileAttributesW(reopened->c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(::CompareStringOrdinal(LongPathOf(*reopened).c_str(), -1, folder.path().c_str(), -1, TRUE), CSTR_EQUAL);
}

TEST(FolderPath, LossyPathWithoutAShortFormIsNotRepresentable) {
  const std::wstring missing = test::MissingFolderPath() + L"\\caf\u00E9";
  const ShellFolderPath path = FolderPathFromWide(missing);
  EXPECT_FALSE(path.representable);
  EXPECT_EQ(path.ansi, "");
  EXPECT_EQ(path.wide, U16FromWide(missing));
}

// Network paths are compared as text, never asked of the file system, which could wait on the
// network: a lossy one has no short form to fall back on, and its long form is itself.
TEST(FolderPath, NetworkPathsAreTakenAsTheyStand) {
  const struct {
    const wchar_t* path;
    bool network;
  } cases[] = {{L"\\\\server\\share\\x", true},      {L"//server/share", true},
               {L"\\\\?\\UNC\\server\\share", true}, {L"\\\\?\\unc\\server\\share", true},
               {L"\\\\?\\C:\\Windows", false},       {L"C:\\Windows", false},
               {L"relative\\folder", false},         {L"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsNetworkPath(c.path), c.network) << Utf8FromWide(c.path);
  EXPECT_FALSE(FolderPathFromWide(L"\\\\server\\share\\caf\u00E9").representable);
  EXPECT_EQ(FolderPathFromWide(L"\\\\server\\share\\x").ansi, "\\\\server\\share\\x");
  EXPECT_EQ(Win32Shell().LongPathForm("\\\\server\\share\\LONGNA~1"), "\\\\server\\share\\LONGNA~1");
}

// The shell's answer, waited for with a bound: a request that blocks (a modal box waiting for a click
// that never comes) fails the test instead of hanging the run.
bool ExploreWithin(std::string_view ansiPath, std::chrono::milliseconds limit, bool& finished) {
  const std::unique_ptr<ExploreRequest> request = Win32Shell().Explore(ansiPath);
  std::optional<bool> answer;
  finished = test::WaitUntil([&] { return (answer = request->Answer()).has_value(); }, limit);
  if (!finished) ADD_FAILURE() << "Explore blocked";
  return answer.value_or(false);
}

TEST(Explore, MissingFolderFailsWithoutBlocking) {
  const std::optional<std::string> missing = Cp932FromWide(test::MissingFolderPath());
  ASSERT_TRUE(missing.has_value());
  bool finished = false;
  EXPECT_FALSE(ExploreWithin(*missing, std::chrono::seconds(15), finished));
  EXPECT_TRUE(finished);
}

TEST(Explore, PathsTheShellWouldMisreadAreRefusedBeforeAsking) {
  Win32Shell shell;
  // Answered at once: the shell is never asked.
  EXPECT_EQ(shell.Explore("")->Answer(), false);
  // A cut-off double-byte character: its replacement could name another folder.
  EXPECT_EQ(shell.Explore("C:\\\x81")->Answer(), false);
  // A NUL would cut the path short.
  EXPECT_EQ(shell.Explore("C:\\Windows\0\\x"s)->Answer(), false);
}

TEST(ShellApplication, CanBeCreated) {
  Win32Shell shell;
  std::unique_ptr<ShellWindows> windows;
  EXPECT_NO_THROW(windows = shell.OpenWindows());
  EXPECT_NE(windows, nullptr);
}

}  // namespace
}  // namespace zarn::win32
