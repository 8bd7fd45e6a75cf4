// Restoring a workbench: close the folder windows, reopen each stored folder, put each new window
// back where it was.
#include <optional>
#include <set>

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

std::optional<WindowHandle> FolderWindows::WaitForNewWindow(const std::set<WindowHandle>& taken) {
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
      for (auto it = handleList_.rbegin(); it != handleList_.rend(); ++it) {
        if (!taken.contains((*it)->Handle)) return (*it)->Handle;
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
  // The windows just asked to close stay listed until they are gone. They are never taken for a
  // reopened folder, even when the new window has not appeared yet.
  std::set<WindowHandle> taken;
  for (const auto& record : handleList_) taken.insert(record->Handle);

  for (const std::string& key : workBenches_.ReadSection(name)) {
    if (key == kLastKey) continue;
    const WorkBenchRecord record = ParseRecordLine(workBenches_.ReadString(name, key, ""));
    if (!platform_.shell.Explore(record.path)) {
      result.notRestored.push_back(record.path);
      continue;
    }
    const std::optional<WindowHandle> window = WaitForNewWindow(taken);
    if (!window) {
      result.notRestored.push_back(record.path);
      continue;
    }
    PlaceWindow(*window, record);
    taken.insert(*window);
  }

  MarkLastWorkBench(name);
  workBenches_.UpdateFile();
  return result;
}

}  // namespace zarn
