#pragma once
// What every end-to-end scenario starts from: a fresh folder in the prefix for its real folders and
// a private copy of the real program, an empty desktop, and a teardown that ends all it started.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"
#include "ZarnClient.h"

// RECT is the window system's own type, so its comparison and printing live where it does.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace zarn::e2e {

inline RECT RectAt(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

class E2eTest : public ::testing::Test {
 public:
  // The path a stand-in folder window shows; every open one, in z-order.
  static std::wstring FolderPathOf(HWND window);
  static std::vector<HWND> FolderWindows();

 protected:
  void SetUp() override;
  void TearDown() override;

  // A real folder under this test's folder. Switches in `marker` are what the stand-in folder
  // program does for it when the shell opens it (the marker file travels with the folder).
  std::filesystem::path MakeFolder(std::wstring_view name, std::wstring_view marker = {});
  // Starts a private copy of the real program in ZarnFolder(), with `settings` as its Zarn.ini when
  // given. Folder windows opened afterwards are hosted in its process once it has loaded the
  // stand-in shell (LoadStandinShell), so its report gives their exact placements.
  ZarnClient& StartZarn(std::optional<std::string> settings = std::nullopt,
                        const std::vector<std::wstring>& arguments = {},
                        const std::filesystem::path& workingDirectory = {},
                        std::optional<WORD> startupShow = std::nullopt);
  ZarnClient& Zarn() { return *zarn_; }
  std::filesystem::path ZarnFolder() const { return root_ / L"zarn"; }
  // Runs a folder-window command with no folder window open, which makes the program create the
  // shell's automation object: the stand-in host then lives in its process.
  void LoadStandinShell();

  // Opens a stand-in folder window the way a user's double click would, and returns it once shown.
  HWND OpenFolderWindow(const std::filesystem::path& folder, const std::vector<std::wstring>& switches = {});

  // Moves a window as a user would; waits until it has the rectangle.
  void MoveWindowTo(HWND window, const RECT& rect);

  // What the program said while one command ran.
  struct CommandLog {
    bool finished = false;                  // the command came back within its bound
    std::vector<std::wstring> questions;    // every confirmation it asked, as worded
    std::vector<std::wstring> information;  // the whole text of every information box
    std::vector<std::wstring> folders;      // the folders those boxes listed, one per line
    Milliseconds busy{};                    // until the first information box or the end
  };
  // Runs a command to its end as a user would: types `name` into the name dialog it opens, answers
  // each confirmation with yes (`confirm`) or cancel, reads and closes each information box. Sent
  // from a thread of its own: the command has ended when that send comes back, however long the
  // program goes without reading its queue.
  // `meanwhile` runs every 20 ms or so while the command has not come back.
  CommandLog RunCommand(UINT command, std::wstring_view name = {}, bool confirm = true, Milliseconds bound = 90s,
                        const std::function<void()>& meanwhile = nullptr);
  CommandLog SaveNewWorkBench(std::wstring_view name, bool confirm = true);
  // Restores the workbench at `index` in the file's order, through the load button's menu item.
  CommandLog RestoreWorkBench(int index);
  // The folder windows of the program's process as its stand-in host reports them, in creation
  // order: the order of the shell's collection, the order commands and saves walk.
  std::vector<standin::ReportedFolderWindow> ReportedFolders();

  std::filesystem::path root_;

 private:
  std::unique_ptr<ZarnClient> zarn_;
  std::vector<Process> processes_;
};

bool SamePath(std::wstring_view a, std::wstring_view b);

}  // namespace zarn::e2e
