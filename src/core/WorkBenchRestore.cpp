// Restoring a workbench: close the folder windows, reopen each stored folder, put each new window
// back where it was.
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "core/Error.h"
#include "core/FolderWindows.h"
#include "core/RestoreBounds.h"
#include "core/WorkBenchRecord.h"

namespace zarn {

namespace {

constexpr std::string_view kLastKey = "Last";
constexpr std::int32_t kSwShowNormal = 1;
constexpr std::int32_t kSwMax = 11;

// A show command the window system does not know (a damaged or missing field reads as 100) is
// rejected by ShowWindow, which would leave the new window in whatever state the shell opened it.
// Such a record is shown as a normal window instead.
std::int32_t ShowCommandToApply(std::int32_t stored) {
  return stored >= 0 && stored <= kSwMax ? stored : kSwShowNormal;
}

std::int32_t WrappedSum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

struct FolderWindows::RestoreState {
  // Asked to close at the start and still listed until they are gone: never taken for a folder
  // reopened, even when its own window has not appeared yet.
  std::set<WindowHandle> closing;
  std::set<WindowHandle> placed;
  // Items (tabs) per window in the last snapshot that could be read.
  std::map<WindowHandle, int> itemsPerWindow;
};

namespace {

std::map<WindowHandle, int> ItemsPerWindow(const HandleList& list) {
  std::map<WindowHandle, int> items;
  for (const auto& record : list) ++items[record->Handle];
  return items;
}

}  // namespace

std::optional<FolderWindows::Arrival> FolderWindows::WaitForNewFolder(RestoreState& state) {
  Clock& clock = platform_.clock;
  const auto start = clock.Now();
  std::optional<Error> failure;
  bool anySnapshotTaken = false;
  for (int poll = 1;; ++poll) {
    // The windows closed at the start of the restore are still going away and may fail while they
    // are read. Such a snapshot is taken again rather than ending the whole restore.
    try {
      RefreshHandleList();
      anySnapshotTaken = true;
      std::map<WindowHandle, int> items = ItemsPerWindow(handleList_);
      std::swap(items, state.itemsPerWindow);
      // New windows are listed last.
      for (auto it = handleList_.rbegin(); it != handleList_.rend(); ++it) {
        const WindowHandle handle = (*it)->Handle;
        if (!state.closing.contains(handle) && !state.placed.contains(handle)) return Arrival{handle, false};
      }
      // A shell that opens folders as tabs adds an item to a window already placed instead.
      for (WindowHandle handle : state.placed) {
        if (state.itemsPerWindow[handle] > items[handle]) return Arrival{handle, true};
      }
    } catch (const Error& error) {
      failure = error;
    }
    if (clock.Now() - start >= kNewWindowWait || poll >= kMaxNewWindowPolls) break;
    clock.Sleep(kNewWindowPollInterval);
  }
  // A shell that failed every time for the whole wait is not a window closing: it would fail for
  // every other folder too, so the restore ends with its error.
  if (!anySnapshotTaken && failure) throw *failure;
  return std::nullopt;
}

void FolderWindows::PlaceWindow(WindowHandle window, const WorkBenchRecord& record) {
  WindowSystem& windows = platform_.windows;
  const Area& bounds = record.bounds;
  const Rect wanted{bounds.left, bounds.top, WrappedSum(bounds.left, bounds.width),
                    WrappedSum(bounds.top, bounds.height)};
  const std::int32_t showCmd = ShowCommandToApply(record.placement.showCmd);
  auto move = [&] { windows.SetWindowPos(window, kHwndTop, bounds.left, bounds.top, bounds.width, bounds.height, 0); };

  move();
  windows.ShowWindow(window, showCmd);
  // A minimized or maximized window keeps its stored rectangle only as its normal position.
  if (showCmd != kSwShowMinimized && showCmd != kSwShowMaximized) {
    for (int tries = 1; tries < kMaxRectangleTries && windows.GetWindowRect(window) != wanted; ++tries) {
      platform_.clock.Sleep(kRectangleRetryInterval);
      move();
    }
  }
  Placement placement = record.placement;
  placement.showCmd = showCmd;
  windows.SetWindowPlacement(window, placement);
}

RestoreResult FolderWindows::LoadWorkBench(std::string_view name) {
  RestoreResult result;
  CloseAllWindows();
  RestoreState state;
  for (const auto& record : handleList_) state.closing.insert(record->Handle);
  state.itemsPerWindow = ItemsPerWindow(handleList_);

  for (const std::string& key : workBenches_.ReadSection(name)) {
    if (key == kLastKey) continue;
    const WorkBenchRecord record = ParseRecordLine(workBenches_.ReadString(name, key, ""));
    if (!platform_.shell.Explore(record.path)) {
      result.notRestored.push_back(record.path);
      continue;
    }
    const std::optional<Arrival> arrival = WaitForNewFolder(state);
    if (!arrival) {
      result.notRestored.push_back(record.path);
      continue;
    }
    // A tab shares its window's place, which an earlier record has set.
    if (arrival->asTab) continue;
    PlaceWindow(arrival->window, record);
    state.placed.insert(arrival->window);
  }

  MarkLastWorkBench(name);
  workBenches_.UpdateFile();
  return result;
}

}  // namespace zarn
