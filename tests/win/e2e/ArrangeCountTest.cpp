// Each arrangement touches each folder window exactly once: one ShowWindow and one SetWindowPos,
// counted by the stand-in inside the program's process.
#include <map>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

constexpr int kWindows = 6;

class ArrangeCountTest : public E2eTest {
 protected:
  std::map<HWND, standin::CallCounts> Counts() {
    std::map<HWND, standin::CallCounts> counts;
    for (const standin::ReportedFolderWindow& window : ReportedFolders()) {
      EXPECT_TRUE(window.calls.has_value()) << "the stand-in counts no calls in the program's process";
      if (window.calls) counts[window.hwnd] = *window.calls;
    }
    return counts;
  }
};

TEST_F(ArrangeCountTest, EveryArrangementShowsAndPlacesEachWindowOnce) {
  StartZarn();
  LoadStandinShell();
  for (int i = 0; i < kWindows; ++i) ASSERT_NE(OpenFolderWindow(MakeFolder(L"C" + std::to_wstring(i))), nullptr);
  // A minimized window is one call too: it comes back through the same ShowWindow.
  HWND minimized = FolderWindows().front();
  ShowWindow(minimized, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(minimized) != FALSE; }, 2s));

  for (UINT command : {IDM_TILE, IDM_CASCADE_KEEP_SIZE, IDM_CASCADE_UNIFORM, IDM_CASCADE_DEFAULT}) {
    SCOPED_TRACE("command " + std::to_string(command));
    const std::map<HWND, standin::CallCounts> before = Counts();
    ASSERT_EQ(before.size(), static_cast<std::size_t>(kWindows));
    ASSERT_TRUE(Zarn().Send(command));
    const std::map<HWND, standin::CallCounts> after = Counts();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [window, counts] : after) {
      const standin::CallCounts& earlier = before.at(window);
      EXPECT_EQ(counts.showWindow - earlier.showWindow, 1) << window;
      EXPECT_EQ(counts.setWindowPos - earlier.setWindowPos, 1) << window;
    }
  }
}

}  // namespace
}  // namespace zarn::e2e
