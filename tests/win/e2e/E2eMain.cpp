// The driver's entry point: GoogleTest, plus a listener that photographs the desktop at a test's
// first failure, while the windows that went wrong are still on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"

namespace {

class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
 public:
  // <build>/e2e-screens: the driver runs from <build>/bin.
  static std::filesystem::path Folder() { return zarn::e2e::ProgramFolder().parent_path() / L"e2e-screens"; }

  void OnTestStart(const ::testing::TestInfo&) override { taken_ = false; }

  void OnTestPartResult(const ::testing::TestPartResult& result) override {
    if (taken_ || !result.failed()) return;
    taken_ = true;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test == nullptr) return;
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
      if (c == '/' || c == '\\' || c == ':') c = '_';  // parameterised names hold '/'
    }
    std::filesystem::path file = Folder() / (zarn::e2e::Wide(name) + L".bmp");
    if (zarn::e2e::SaveScreenshot(file)) {
      std::printf("[ screenshot ] %s\n", zarn::e2e::Utf8(file.wstring()).c_str());
    } else {
      std::printf("[ screenshot ] could not be taken\n");
    }
  }

 private:
  bool taken_ = false;
};

// Pictures of an earlier run's failures would pass for this run's.
void RemoveOldScreenshots() {
  std::error_code ignored;
  std::vector<std::filesystem::path> old;
  for (const auto& entry : std::filesystem::directory_iterator(ScreenshotOnFailure::Folder(), ignored)) {
    if (entry.path().extension() == L".bmp") old.push_back(entry.path());
  }
  for (const auto& file : old) std::filesystem::remove(file, ignored);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  RemoveOldScreenshots();
  ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
  return RUN_ALL_TESTS();
}
