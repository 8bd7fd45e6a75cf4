#pragma once
// The folder-window commands of the main toolbar window: snapshot, arrangement, workbench save and
// restore. The window owns one of these; everything it touches goes through the platform seam.
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Geometry.h"
#include "core/HandleList.h"
#include "core/Profile.h"
#include "core/WorkBenchRecord.h"
#include "core/ports/Clock.h"
#include "core/ports/Display.h"
#include "core/ports/Shell.h"
#include "core/ports/WindowSystem.h"

namespace zarn {

struct SaveResult {
  bool saved = false;                   // false when the user declined to overwrite
  std::vector<std::u16string> leftOut;  // folders whose path code page 932 cannot hold
};

struct RestoreResult {
  std::vector<std::string> notRestored;  // stored paths (code page 932) that got no window
  // Tabs of one window that came back as windows of their own, each a caption lower than the one before.
  std::vector<std::string> tabsAsWindows;
  bool stopped = false;  // the user stopped it
};

// What the user sees of a restore while it runs, and the way to stop it. The waits of a restore let the
// user-interface thread answer meanwhile, so both are asked for between the steps.
class RestoreProgress {
 public:
  virtual ~RestoreProgress() = default;
  // Folder `number` (from 1) of `count` is about to be asked for.
  virtual void Opening(std::size_t number, std::size_t count) = 0;
  // The user asked to stop: the wait for the folder asked for last ends, and no further one is asked.
  virtual bool StopRequested() = 0;
};

struct Platform {
  WindowSystem& windows;
  Display& display;
  Shell& shell;
  Clock& clock;
};

class FolderWindows {
 public:
  FolderWindows(Platform platform, Profile& settings, Profile& workBenches);

  // The toolbar window: its monitor is the default arrangement area and gives the uniform size.
  void SetToolbar(WindowHandle toolbar) { toolbar_ = toolbar; }

  const HandleList& Handles() const { return handleList_; }
  // Returns the number of items the shell's collection had, the windows it skipped included.
  std::int32_t RefreshHandleList();
  void ClearHandleList();

  Area GetArrangeArea();
  void CascadeWindows(bool uniformSize);
  void TileWindows();
  void CloseAllWindows();

  // confirmOverwrite is asked only when isNew and the workbench already exists.
  SaveResult SaveWorkBench(std::string_view name, bool isNew, const std::function<bool()>& confirmOverwrite);
  void MarkLastWorkBench(std::string_view name);
  // Stopped, it still marks the workbench as the last one and writes the file, as a whole restore does;
  // the folders not asked for are named as not restored.
  RestoreResult LoadWorkBench(std::string_view name, RestoreProgress* progress = nullptr);

 private:
  // Reads one item into the handle list; `readPath` holds its folder once that is read, for when a
  // later call on the item fails.
  void AddItem(ShellWindows& shellWindows, std::int32_t index, std::u16string& readPath);
  // Reads the items [from, to) into the handle list; returns how many were listed.
  std::size_t AppendItems(ShellWindows& shellWindows, std::int32_t from, std::int32_t to);
  // Each window handle once, in snapshot order: a window with several tabs is listed once per tab.
  std::vector<WindowHandle> DistinctHandles() const;
  // The same without the windows that do not answer: moving one would hold the program up.
  std::vector<WindowHandle> AnsweringHandles();
  Area ToolbarMonitor();
  // What one restore knows about the windows it closed and placed.
  struct RestoreState;
  struct Arrival {
    WindowHandle window = 0;
    bool asTab = false;  // the folder opened as one more tab of a window already placed
  };
  // Waits, for a short while at most, until the windows asked to close are gone: a shell
  // that opens folders as tabs would otherwise put the first one into a window about to close.
  void WaitForClosingWindows(RestoreState& state);
  // Polls the snapshot until the folder just requested (its key) shows up in a new window or a new
  // tab, or until the wait runs out. The wait counts from `requested`; `refused` is set when the
  // shell turns the request down.
  std::optional<Arrival> WaitForFolder(RestoreState& state, const std::string& folder, ExploreRequest& request,
                                       std::chrono::milliseconds requested, RestoreProgress* progress, bool& refused);
  // One look at the collection while a folder is awaited; true when the handle list was read anew or
  // grew, so that it is worth searching.
  bool LookForNewItems(RestoreState& state);
  // What the snapshot just taken shows of the folder. A late window of a folder given up earlier is
  // put at its own record's place on the way.
  std::optional<Arrival> FindFolder(RestoreState& state, const std::string& folder);
  // SetWindowPos so that the window's visible frame takes the cell, and once more where the window did
  // not end there.
  void MoveWindow(WindowHandle window, const Area& cell, std::uint32_t flags);
  Area WithInvisibleBorders(WindowHandle window, const Area& area);
  // False, without touching it, for a window that does not answer.
  bool PlaceWindow(WindowHandle window, const WorkBenchRecord& record);

  Platform platform_;
  Profile& settings_;
  Profile& workBenches_;
  WindowHandle toolbar_ = 0;
  HandleList handleList_;
  // The folders of the items the last snapshot skipped (ShellItemGone); empty where unknown.
  std::vector<std::u16string> goneItems_;
  // Items of the collection left out because their window is not shown to the user (kept hidden by
  // the shell, or on another virtual desktop).
  std::vector<WindowHandle> hiddenItems_;
};

}  // namespace zarn
