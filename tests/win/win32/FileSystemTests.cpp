// The file primitives on the real system: a save that meets another program's handle on the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "core/AtomicFile.h"
#include "core/Error.h"

namespace zarn::win32::test {
namespace {

std::string ReadBytes(const std::wstring& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Opened as a virus scanner or a sync client opens a file it reads: others may read and write it,
// but not rename or delete it.
HANDLE HoldOpen(const std::wstring& file) {
  return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct HoldCase {
  const char* name;
  int heldMs;
  bool saved;
};

class HeldFileTest : public ::testing::TestWithParam<HoldCase> {};

// A hold of a moment is waited out; a longer one fails the save with the old file whole and no
// temporary file left beside it.
TEST_P(HeldFileTest, ReplaceWaitsOutABriefHoldAndOnlyThat) {
  const HoldCase& c = GetParam();
  TempFolder folder(L"zarn-held-file");
  ASSERT_TRUE(folder.created());
  const std::wstring file = folder.path() + L"\\Zarn.wbf";
  WriteFileAtomically(file, "old");
  HANDLE held = HoldOpen(file);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(c.heldMs));
    CloseHandle(held);
  });
  bool saved = true;
  try {
    WriteFileAtomically(file, "new");
  } catch (const Error&) {
    saved = false;
  }
  release.join();
  EXPECT_EQ(saved, c.saved);
  EXPECT_EQ(ReadBytes(file), c.saved ? "new" : "old");
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder.path() + L"\\*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int files = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 1) << "a temporary file was left beside the file";
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldFileTest,
                         ::testing::Values(HoldCase{"Brief", 300, true}, HoldCase{"Long", 3000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarn::win32::test
