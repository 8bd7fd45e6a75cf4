#pragma once
// A desktop for the folder-window commands to work on without Windows: monitors, folder windows with
// rectangles and placements, a shell window collection with its awkward moments (items that vanish
// or fail while read, windows that appear late or never, tabs sharing a window), and a clock whose
// sleeps only move its hands. Every call that changes a window is logged in order.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/FolderWindows.h"
#include "core/Geometry.h"
#include "core/Profile.h"
#include "core/ports/Clock.h"
#include "core/ports/Display.h"
#include "core/ports/Shell.h"
#include "core/ports/WindowSystem.h"

namespace zarn {
// Failure messages show rectangles as numbers rather than bytes.
inline void PrintTo(const Rect& rect, std::ostream* out) {
  *out << '{' << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << '}';
}
}  // namespace zarn

namespace zarn::test {

// An ASCII test path in both of the shell's spellings.
ShellFolderPath AsciiPath(const std::string& path);

struct SimWindow {
  Rect rect;
  Placement placement;
  // The smallest size the window accepts, as a window's minimum track size does.
  std::int32_t minWidth = 0;
  std::int32_t minHeight = 0;
  bool visible = true;
  // Its thread does not answer: a call that sends it a message would wait for ever.
  bool hung = false;
  // The next move takes it onto a monitor of another scale, where it rescales itself by this factor
  // during the move, as a per-monitor-aware window does; 1 for none.
  double rescaleOnNextMove = 1.0;
  // Its invisible resize borders, left, top, right, bottom, as Windows 10 and 11 draw them.
  Rect invisibleBorders{};
  // On another virtual desktop.
  bool cloaked = false;
  int shownAfterSnapshots = 0;  // hidden until this many more looks at the collection
  // Asked to close and still listed for this many more snapshots; nullopt while open.
  std::optional<int> closingSnapshotsLeft;
  // Reading the folder path of a closing window fails, as a window going away may do.
  enum class ClosingFailure { None, Gone, Error };
  ClosingFailure failsWhileClosing = ClosingFailure::None;
};

// One entry of the shell's window collection: a window, or one tab of it.
struct SimItem {
  WindowHandle handle = 0;
  ShellFolderPath path;
  bool folderView = true;
  // Listed in the count, but gone by the time it is fetched.
  bool vanishes = false;
  // Reading the path fails this many more times (-1: always).
  int pathFailures = 0;
  // Every call on the item fails as on a window whose shell object disconnected or does not answer.
  bool gone = false;
};

// What the shell does when asked to explore a folder.
struct ExploreBehaviour {
  enum class Kind { OpenWindow, OpenTab, Refuse, BringForward, Ignore };
  Kind kind = Kind::OpenWindow;
  // OpenWindow: the new window is first listed by the snapshot taken after this many snapshots.
  int appearsAfterSnapshots = 0;
  std::int32_t minWidth = 0;
  std::int32_t minHeight = 0;
  // BringForward: the window that is brought to the front instead. OpenTab: the window that gets the
  // new tab; 0 for the window the shell opened last.
  WindowHandle existing = 0;
  // Something else that happens on the desktop at the moment of the request.
  std::function<void(class SimulatedDesktop&)> meanwhile = nullptr;
  // OpenWindow, OpenTab: the path the shell reports for the new item; empty for the one requested.
  std::string reportedPath = {};
  // OpenWindow: the new window's thread does not answer.
  bool hung = false;
  // OpenWindow: listed this many looks before it is shown, as a window whose frame the shell registers
  // before it shows it.
  int listedHiddenFor = 0;
  // The shell answers the request only once this many more snapshots were taken; -1 never. The window
  // does not wait for the answer.
  int answersAfterSnapshots = 0;
};

class SimulatedDesktop final : public WindowSystem, public Display, public Shell, public Clock {
 public:
  SimulatedDesktop();

  Platform AsPlatform() { return Platform{*this, *this, *this, *this}; }

  // ---- building the scene
  WindowHandle AddFolderWindow(const std::string& path, Rect rect, std::int32_t showCmd = 1);
  WindowHandle AddFolderWindow(const ShellFolderPath& path, Rect rect, const Placement& placement);
  // Another tab of an open window: one more item with the same handle.
  void AddTab(WindowHandle window, const std::string& path);
  // A window of the collection that is not a folder view (a browser window, say).
  WindowHandle AddOtherWindow();
  void SetMonitors(std::vector<Area> monitors) { monitors_ = std::move(monitors); }
  void SetVirtualDesktop(Area desktop) { virtualDesktop_ = desktop; }
  void PutToolbarOn(WindowHandle toolbar, int monitorIndex) { monitorOf_[toolbar] = monitorIndex; }
  void SetCaptionHeight(std::int32_t height) { captionHeight_ = height; }
  void OnExplore(const std::string& path, ExploreBehaviour behaviour) { explore_[path] = behaviour; }
  // Closed windows stay listed for this many snapshots (or existence checks) after the close was posted.
  void SetCloseDelay(int snapshots) { closeDelay_ = snapshots; }
  void SetShellBroken(bool broken) { shellBroken_ = broken; }
  // A clock whose sleeps return without time passing.
  void FreezeClock() { clockFrozen_ = true; }
  // The automation object can no longer be created once this many more snapshots were taken.
  void BreakShellAfterSnapshots(int snapshots) { shellBreaksAfter_ = snapshots_ + snapshots; }
  // The window's items come back empty in the next snapshot only, as one read while others close may.
  void MissInNextSnapshot(WindowHandle window) { missedIn_[window] = snapshots_ + 1; }
  // Every automation call (creating the object, Count, Item, and each item's answers) from the
  // call numbered `call` on, counted from now, throws as a shell that broke would; with `once`, only
  // that call, as one that failed for a moment.
  void FailAutomationCall(int call, bool once) {
    automationCalls_ = 0;
    failingCall_ = call;
    failsOnce_ = once;
  }
  int AutomationCalls() const { return automationCalls_; }
  // What the file system gives as the long form of a path; any other path is its own long form.
  void SetLongPathForm(const std::string& path, const std::string& longForm) { longForms_[path] = longForm; }

  std::vector<SimItem>& Items() { return items_; }
  SimWindow& Window(WindowHandle handle) { return windows_.at(handle); }
  bool IsOpen(WindowHandle handle) const { return windows_.count(handle) != 0; }
  // Windows the shell opened for explore requests, in order.
  const std::vector<WindowHandle>& OpenedWindows() const { return opened_; }

  // ---- what happened
  const std::vector<std::string>& Log() const { return log_; }
  std::vector<std::string> LogFor(WindowHandle handle) const;
  int Count(const std::string& callName) const;
  void ClearLog() { log_.clear(); }
  int Snapshots() const { return snapshots_; }
  int Sleeps() const { return sleeps_; }

  // ---- WindowSystem
  Rect GetWindowRect(WindowHandle window) override;
  Placement GetWindowPlacement(WindowHandle window) override;
  bool SetWindowPlacement(WindowHandle window, const Placement& placement) override;
  bool ShowWindow(WindowHandle window, std::int32_t showCmd) override;
  bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                    std::int32_t cy, std::uint32_t flags) override;
  bool PostClose(WindowHandle window) override;
  // A look at a closing window counts towards its close delay, as a snapshot does.
  bool Exists(WindowHandle window) override;
  bool IsHung(WindowHandle window) override;
  Rect VisibleFrame(WindowHandle window) override;
  bool IsShownToUser(WindowHandle window) override;

  // ---- Display
  std::vector<Area> Monitors() override { return monitors_; }
  int MonitorIndexOf(WindowHandle window) override;
  Area VirtualDesktop() override;
  std::int32_t CaptionHeight() override { return captionHeight_; }

  // ---- Shell
  std::unique_ptr<ShellWindows> OpenWindows() override;
  std::unique_ptr<ExploreRequest> Explore(std::string_view ansiPath) override;
  std::string LongPathForm(std::string_view ansiPath) override;

  // ---- Clock
  std::chrono::milliseconds Now() override { return now_; }
  void Sleep(std::chrono::milliseconds duration) override;
  // With window events on, a window the next snapshot will list wakes the sleep after 1 ms.
  void SleepUntilWindowShown(std::chrono::milliseconds longest) override;
  void SetWindowEvents(bool on) { windowEvents_ = on; }

 private:
  friend class SimShellWindows;
  friend class SimShellWindow;

  struct PendingWindow {
    WindowHandle handle;
    ShellFolderPath path;
    int snapshotsLeft;
    bool asTab = false;
    int hiddenFor = 0;
  };

  WindowHandle NewHandle() { return nextHandle_++; }
  // What the shell does with the request: whether it accepts it.
  bool ExploreNow(const std::string& path, const ExploreBehaviour& behaviour);
  void AutomationCall();
  void AdvanceSnapshot();
  void RemoveWindow(WindowHandle handle);

  std::map<WindowHandle, SimWindow> windows_;
  std::vector<SimItem> items_;
  std::vector<PendingWindow> pending_;
  std::vector<WindowHandle> opened_;
  std::map<std::string, ExploreBehaviour> explore_;
  std::vector<Area> monitors_;
  std::optional<Area> virtualDesktop_;
  std::map<WindowHandle, int> monitorOf_;
  std::int32_t captionHeight_ = 23;
  int closeDelay_ = 0;
  bool shellBroken_ = false;
  bool clockFrozen_ = false;
  bool windowEvents_ = false;
  std::optional<int> shellBreaksAfter_;
  std::map<WindowHandle, int> missedIn_;  // the snapshot that misses the window
  std::map<std::string, std::string> longForms_;
  std::vector<std::string> log_;
  int snapshots_ = 0;
  int sleeps_ = 0;
  int automationCalls_ = 0;
  int failingCall_ = 0;  // 0: none
  bool failsOnce_ = false;
  std::chrono::milliseconds now_{1'000'000};
  WindowHandle nextHandle_ = 0x1000;
};

// The settings and workbench files in a folder of their own, removed afterwards.
class ProfileFiles {
 public:
  ProfileFiles();
  ~ProfileFiles();
  ProfileFiles(const ProfileFiles&) = delete;
  ProfileFiles& operator=(const ProfileFiles&) = delete;

  const std::filesystem::path& SettingsFile() const { return settingsFile_; }
  const std::filesystem::path& WorkBenchFile() const { return workBenchFile_; }
  // Writes a file's whole text (lines joined with CR LF) before a profile opens it.
  static void WriteText(const std::filesystem::path& file, const std::string& text);
  static std::string ReadText(const std::filesystem::path& file);

 private:
  std::filesystem::path folder_;
  std::filesystem::path settingsFile_;
  std::filesystem::path workBenchFile_;
};

// The folder-window commands on a simulated desktop, with real profiles in a scratch folder.
class DesktopTest : public ::testing::Test {
 protected:
  static constexpr WindowHandle kToolbar = 0x10;

  // File text is given with "\n" line ends; the files get CR LF as the program writes them.
  void SettingsText(const std::string& text);
  void WorkBenchText(const std::string& text);
  FolderWindows& Organiser();
  Profile& WorkBenches();
  // The workbench file as a fresh profile reads it from disk.
  Profile WorkBenchesOnDisk() const { return Profile(files_.WorkBenchFile()); }
  std::string WorkBenchFileText() const { return ProfileFiles::ReadText(files_.WorkBenchFile()); }
  // Sections whose Last key reads 1, as a fresh profile reads the file.
  std::vector<std::string> LastMarked() const;

  SimulatedDesktop desktop_;
  ProfileFiles files_;

 private:
  std::unique_ptr<Profile> settings_;
  std::unique_ptr<Profile> workBenches_;
  std::unique_ptr<FolderWindows> organiser_;
};

}  // namespace zarn::test
