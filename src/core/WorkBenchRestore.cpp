// Restoring a workbench: close the folder windows, reopen each stored folder, put each new window
// back where it was.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/AnsiText.h"
#include "core/Error.h"
#include "core/FolderWindows.h"
#include "core/RestoreBounds.h"
#include "core/ShellPlaces.h"
#include "core/WorkBenchRecord.h"

namespace zarn {

namespace {

constexpr std::int32_t kSwShowNormal = 1;
constexpr std::int32_t kSwMax = 11;

// A show command the window system does not know (a damaged or missing field reads as 100) is
// rejected by ShowWindow, which would leave the new window in whatever state the shell opened it.
// 0 it knows, but it hides the window: a record read from a window while it vanished holds zeros.
// Such records are shown as a normal window instead.
std::int32_t ShowCommandToApply(std::int32_t stored) {
  return stored >= 1 && stored <= kSwMax ? stored : kSwShowNormal;
}

std::int32_t WrappedSum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Stands for every folder the workbench does not hold, so that the windows showing one can still be
// told apart and counted. No key is a line end: a stored path never holds one.
const std::string kUnknownFolder = "\n";

// One window of a snapshot, with the folder of each of its items (tabs) as the restore names them.
struct ListedWindow {
  WindowHandle handle = 0;
  std::vector<std::string> folders;

  bool Shows(const std::string& folder) const { return std::ranges::find(folders, folder) != folders.end(); }
  bool ShowsOnlyUnknownFolders() const {
    return std::ranges::all_of(folders, [](const std::string& folder) { return folder == kUnknownFolder; });
  }
};

}  // namespace

struct FolderWindows::RestoreState {
  explicit RestoreState(Shell& shell) : shell(shell) {}

  // A folder's name for comparing: the same for every spelling the file system takes for it, as
  // letter case, a separator at the end and short (8.3) names do not make another folder.
  const std::string& FolderKey(const std::string& path) {
    auto [key, added] = keys.try_emplace(path);
    if (added) key->second = FoldCase(WithoutTrailingSeparators(shell.LongPathForm(path)));
    return key->second;
  }

  // The folder key when the workbench holds that folder, otherwise kUnknownFolder.
  const std::string& StoredFolder(const std::string& path) {
    const std::string& key = FolderKey(path);
    return storedFolders.contains(key) ? key : kUnknownFolder;
  }

  // Each window once, in snapshot order, with the folders of all its items.
  std::vector<ListedWindow> ListWindows(const HandleList& list) {
    std::vector<ListedWindow> windows;
    std::map<WindowHandle, std::size_t> indexOf;
    for (const auto& record : list) {
      const auto [index, added] = indexOf.try_emplace(record->Handle, windows.size());
      if (added) windows.push_back(ListedWindow{record->Handle, {}});
      windows[index->second].folders.push_back(StoredFolder(record->Path));
    }
    return windows;
  }

  // The (window, folder) pairs with more items than ever seen before; the marks rise to this snapshot.
  std::set<std::pair<WindowHandle, std::string>> RaiseItemMarks(const std::vector<ListedWindow>& windows) {
    std::map<std::pair<WindowHandle, std::string>, int> items;
    for (const ListedWindow& window : windows) {
      for (const std::string& folder : window.folders) ++items[{window.handle, folder}];
    }
    std::set<std::pair<WindowHandle, std::string>> above;
    for (const auto& [slot, count] : items) {
      int& most = mostItems[slot];
      if (count > most) {
        above.insert(slot);
        most = count;
      }
    }
    return above;
  }

  // The record given up for a folder the window shows. It is about to get its window after all, so
  // it is no longer named as not restored.
  std::optional<WorkBenchRecord> TakeGivenUp(const ListedWindow& window) {
    const auto record =
        std::ranges::find_if(givenUp, [&](const WorkBenchRecord& r) { return window.Shows(FolderKey(r.path)); });
    if (record == givenUp.end()) return std::nullopt;
    WorkBenchRecord taken = std::move(*record);
    givenUp.erase(record);
    const auto named = std::ranges::find(notRestored, taken.path);
    if (named != notRestored.end()) notRestored.erase(named);
    return taken;
  }

  Shell& shell;
  // Counted at every look while a folder is awaited; read whole only now and then (see
  // LookForNewItems).
  std::unique_ptr<ShellWindows> watched;
  // The count the handle list stands for; none when an item could not be read, or it was never read.
  std::optional<std::int32_t> countSeen;
  std::chrono::milliseconds snapshotAt{};
  // Asked to close at the start and still listed until they are gone: never taken for a folder
  // reopened, even when its own window has not appeared yet.
  std::set<WindowHandle> closing;
  std::set<WindowHandle> placed;
  // The key of every folder the workbench holds.
  std::set<std::string> storedFolders;
  // The most items each window was ever seen with, per folder. A snapshot read while the closed
  // windows go away can miss an item that the next lists again; only an item beyond the mark is a
  // new tab.
  std::map<std::pair<WindowHandle, std::string>, int> mostItems;
  // Records whose wait ran out, in order. A window of theirs may still come while a later folder is
  // awaited; it is theirs, never the later folder's.
  std::vector<WorkBenchRecord> givenUp;
  std::vector<std::string> notRestored;
  std::vector<std::string> tabsAsWindows;
  // A key asks the file system for the long form, and the snapshot is read on every poll.
  std::map<std::string, std::string> keys;
};

void FolderWindows::WaitForClosingWindows(RestoreState& state) {
  // Asked of the window system, not of the shell's collection: a walk of the collection while windows
  // go away can miss one that is still there.
  std::vector<WindowHandle> open(state.closing.begin(), state.closing.end());
  Clock& clock = platform_.clock;
  const auto start = clock.Now();
  for (int poll = 1;; ++poll) {
    std::erase_if(open, [this](WindowHandle window) { return !platform_.windows.Exists(window); });
    if (open.empty() || clock.Now() - start >= kClosingWait || poll >= kMaxNewWindowPolls) return;
    clock.Sleep(kNewWindowPollInterval);
  }
}

std::optional<FolderWindows::Arrival> FolderWindows::WaitForFolder(RestoreState& state, const std::string& folder,
                                                                   ExploreRequest& request,
                                                                   std::chrono::milliseconds requested,
                                                                   RestoreProgress* progress, bool& refused) {
  Clock& clock = platform_.clock;
  std::optional<Error> failure;
  bool anyLookAnswered = false;
  for (int poll = 1;; ++poll) {
    // A window may come before the shell's answer does; a refusal ends the wait at once.
    if (request.Answer() == false) {
      refused = true;
      return std::nullopt;
    }
    // The windows closed at the start of the restore are still going away and may fail while they
    // are read. Such a snapshot is taken again rather than ending the whole restore.
    try {
      const bool listChanged = LookForNewItems(state);
      anyLookAnswered = true;
      if (listChanged) {
        if (std::optional<Arrival> arrival = FindFolder(state, folder)) return arrival;
      }
    } catch (const Error& error) {
      // A collection object whose shell went away stays broken: the next look asks for another, and
      // reads the collection whole.
      state.watched.reset();
      state.countSeen.reset();
      failure = error;
    }
    const auto waited = clock.Now() - requested;
    if (waited >= kNewWindowWait || poll >= kMaxNewWindowPolls) break;
    clock.SleepUntilWindowShown(waited < kFastPollingFor ? kNewWindowPollInterval : kSlowPollInterval);
    if (progress && progress->StopRequested()) return std::nullopt;
  }
  // A shell that failed every time for the whole wait is not a window closing: it would fail for
  // every other folder too, so the restore ends with its error.
  if (!anyLookAnswered && failure) throw *failure;
  return std::nullopt;
}

// The collection's count tells whether anything came: one call into the shell where a snapshot makes
// several per window, and the snapshot that found the last folder still holds for the next one. New
// windows are added at the end of the collection, so only the new items are read, as long as each is
// a window not listed yet. Anything else (a new tab, an item that could not be read, a count that
// fell) is read whole, and so is a hidden window that is shown now (the shell lists a window before
// it shows it, and may keep one hidden for later). The count cannot tell a window that closed as
// another opened: so the collection is also read whole after a while in which nothing came.
bool FolderWindows::LookForNewItems(RestoreState& state) {
  const auto now = platform_.clock.Now();
  const bool hiddenNowShown = std::ranges::any_of(
      hiddenItems_, [this](WindowHandle window) { return platform_.windows.IsShownToUser(window); });
  if (state.countSeen && !hiddenNowShown && now - state.snapshotAt < kWholeSnapshotInterval) {
    if (!state.watched) state.watched = platform_.shell.OpenWindows();
    const std::int32_t count = state.watched->Count();
    if (count == *state.countSeen) return false;
    if (count > *state.countSeen) {
      const std::size_t known = handleList_.size();
      const std::size_t hiddenKnown = hiddenItems_.size();
      const std::size_t listed = AppendItems(*state.watched, *state.countSeen, count);
      const bool allRead =
          listed + (hiddenItems_.size() - hiddenKnown) == static_cast<std::size_t>(count - *state.countSeen);
      const bool allNewWindows = std::all_of(handleList_.begin() + known, handleList_.end(), [&](const auto& item) {
        return std::none_of(handleList_.begin(), handleList_.begin() + known,
                            [&](const auto& old) { return old->Handle == item->Handle; });
      });
      if (allRead && allNewWindows) {
        state.countSeen = count;
        state.snapshotAt = now;
        return true;
      }
    }
  }
  const std::int32_t count = RefreshHandleList();
  state.snapshotAt = now;
  const bool allRead = handleList_.size() + hiddenItems_.size() == static_cast<std::size_t>(count);
  state.countSeen = allRead ? std::optional(count) : std::nullopt;
  return true;
}

std::optional<FolderWindows::Arrival> FolderWindows::FindFolder(RestoreState& state, const std::string& folder) {
  const std::vector<ListedWindow> windows = state.ListWindows(handleList_);
  const std::set<std::pair<WindowHandle, std::string>> newItems = state.RaiseItemMarks(windows);
  // A shell that opens folders as tabs adds an item to a window already placed instead.
  auto newTabOf = [&](const std::string& shown) -> std::optional<WindowHandle> {
    for (WindowHandle window : state.placed) {
      if (newItems.contains({window, shown})) return window;
    }
    return std::nullopt;
  };

  std::optional<WindowHandle> folderWindow;
  std::optional<WindowHandle> unknownWindow;
  // New windows are listed last: the newest is met first.
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (state.closing.contains(window->handle) || state.placed.contains(window->handle)) continue;
    if (window->Shows(folder)) {
      if (!folderWindow) folderWindow = window->handle;
    } else if (std::optional<WorkBenchRecord> late = state.TakeGivenUp(*window)) {
      PlaceWindow(window->handle, *late);
      state.placed.insert(window->handle);
    } else if (!unknownWindow && window->ShowsOnlyUnknownFolders()) {
      unknownWindow = window->handle;
    }
  }
  if (folderWindow) return Arrival{*folderWindow, false};
  if (std::optional<WindowHandle> tab = newTabOf(folder)) return Arrival{*tab, true};
  // A shell that reports paths in a form no record matches: the newest window, or a window with a
  // new tab, is taken for the folder as it always was. A window showing another folder of the
  // workbench never is.
  if (unknownWindow) return Arrival{*unknownWindow, false};
  if (std::optional<WindowHandle> tab = newTabOf(kUnknownFolder)) return Arrival{*tab, true};
  return std::nullopt;
}

bool FolderWindows::PlaceWindow(WindowHandle window, const WorkBenchRecord& record) {
  WindowSystem& windows = platform_.windows;
  if (windows.IsHung(window)) return false;
  const Area& bounds = record.bounds;
  const Rect wanted{bounds.left, bounds.top, WrappedSum(bounds.left, bounds.width),
                    WrappedSum(bounds.top, bounds.height)};
  const std::int32_t showCmd = ShowCommandToApply(record.placement.showCmd);
  auto move = [&] { windows.SetWindowPos(window, kHwndTop, bounds.left, bounds.top, bounds.width, bounds.height, 0); };

  Placement placement = record.placement;
  placement.showCmd = showCmd;
  // A minimized or maximized window keeps its stored rectangle only as its normal position, which the
  // placement carries.
  if (showCmd == kSwShowMinimized || showCmd == kSwShowMaximized) {
    move();
    windows.ShowWindow(window, showCmd);
    windows.SetWindowPlacement(window, placement);
    return true;
  }
  // Any other window ends at the rectangle it was saved at. The placement goes first: a window snapped
  // to a side or a quarter of the screen keeps its rectangle from before the snap as its normal
  // position, and applied last it would move the window there.
  windows.SetWindowPlacement(window, placement);
  windows.ShowWindow(window, showCmd);
  move();
  for (int tries = 1; tries < kMaxRectangleTries && windows.GetWindowRect(window) != wanted; ++tries) {
    platform_.clock.Sleep(kRectangleRetryInterval);
    move();
  }
  return true;
}

RestoreResult FolderWindows::LoadWorkBench(std::string_view name, RestoreProgress* progress) {
  CloseAllWindows();
  RestoreState state(platform_.shell);
  for (const auto& record : handleList_) state.closing.insert(record->Handle);

  std::vector<WorkBenchRecord> records;
  for (const std::string& key : workBenches_.ReadSection(name)) {
    if (key == kLastKey) continue;
    records.push_back(ParseRecordLine(workBenches_.ReadString(name, key, "")));
    // An empty path names no folder; it is also what a window whose path cannot be read as code
    // page 932 reports, and such a window must stay unknown.
    if (!records.back().path.empty()) state.storedFolders.insert(state.FolderKey(records.back().path));
  }

  WaitForClosingWindows(state);
  // Where the last window of each tab group went. No program can ask the shell to open a folder as a
  // tab of a given window, so the group's other tabs get windows of their own, each one caption lower
  // and to the right of the one before, so that none hides another.
  std::map<std::int32_t, WorkBenchRecord> lastOfGroup;
  const std::int32_t step = platform_.display.CaptionHeight();
  bool stopped = false;
  for (std::size_t index = 0; index < records.size(); ++index) {
    WorkBenchRecord record = records[index];
    stopped = stopped || (progress && progress->StopRequested());
    if (stopped) {
      state.notRestored.push_back(record.path);
      continue;
    }
    // Search results cannot be asked for again; named at once rather than after a wait for nothing.
    if (IsSearchResults(record.path)) {
      if (progress) progress->Opening(index + 1, records.size());
      state.notRestored.push_back(record.path);
      continue;
    }
    const auto requested = platform_.clock.Now();
    const std::unique_ptr<ExploreRequest> request = platform_.shell.Explore(record.path);
    // Shown once the shell has the request: the toolbar and the tray take some milliseconds to show
    // it, which the shell spends opening the folder.
    if (progress) progress->Opening(index + 1, records.size());
    bool refused = false;
    const std::optional<Arrival> arrival =
        WaitForFolder(state, state.FolderKey(record.path), *request, requested, progress, refused);
    if (!arrival) {
      state.notRestored.push_back(record.path);
      // A request still unanswered, or accepted, may yet bring a window: it gets this record's place.
      if (!refused) state.givenUp.push_back(record);
      continue;
    }
    // A tab shares its window's place, which an earlier record has set.
    if (arrival->asTab) continue;
    bool tabAsWindow = false;
    if (record.tabGroup != 0) {
      const auto [last, first] = lastOfGroup.try_emplace(record.tabGroup, record);
      if (!first) {
        record.bounds = last->second.bounds;
        record.bounds.left = WrappedSum(record.bounds.left, step);
        record.bounds.top = WrappedSum(record.bounds.top, step);
        record.placement = last->second.placement;
        Rect& normal = record.placement.normalPosition;
        normal = Rect{WrappedSum(normal.left, step), WrappedSum(normal.top, step), WrappedSum(normal.right, step),
                      WrappedSum(normal.bottom, step)};
        last->second = record;
        tabAsWindow = true;
      }
    }
    if (!PlaceWindow(arrival->window, record)) {
      state.notRestored.push_back(record.path);
    } else if (tabAsWindow) {
      state.tabsAsWindows.push_back(record.path);
    }
    state.placed.insert(arrival->window);
  }

  stopped = stopped || (progress && progress->StopRequested());
  MarkLastWorkBench(name);
  workBenches_.UpdateFile();
  return RestoreResult{std::move(state.notRestored), std::move(state.tabsAsWindows), stopped};
}

}  // namespace zarn
