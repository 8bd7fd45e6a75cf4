#include "core/FolderWindows.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/ArrangeLayout.h"
#include "core/ConfigSettings.h"
#include "core/Error.h"
#include "core/WorkBenchRecord.h"

namespace zarn {

namespace {

// A control character in a path would split the record line or the file's line; Windows never puts
// one in a folder name, but a shell namespace extension might.
bool FitsInRecordLine(const std::string& path) {
  for (unsigned char c : path) {
    if (c < 0x20) return false;
  }
  return true;
}

}  // namespace

FolderWindows::FolderWindows(Platform platform, Profile& settings, Profile& workBenches)
    : platform_(platform), settings_(settings), workBenches_(workBenches) {}

void FolderWindows::ClearHandleList() {
  handleList_.clear();
  goneItems_.clear();
  hiddenItems_.clear();
}

std::int32_t FolderWindows::RefreshHandleList() {
  ClearHandleList();
  std::unique_ptr<ShellWindows> shellWindows = platform_.shell.OpenWindows();
  const std::int32_t count = shellWindows->Count();
  AppendItems(*shellWindows, 0, count);
  return count;
}

std::size_t FolderWindows::AppendItems(ShellWindows& shellWindows, std::int32_t from, std::int32_t to) {
  const std::size_t before = handleList_.size();
  for (std::int32_t i = from; i < to; ++i) {
    std::u16string path;
    try {
      AddItem(shellWindows, i, path);
    } catch (const ShellItemGone&) {
      // Its window closed or hangs: the others are still arranged, saved or matched.
      goneItems_.push_back(std::move(path));
    }
  }
  return handleList_.size() - before;
}

void FolderWindows::AddItem(ShellWindows& shellWindows, std::int32_t index, std::u16string& readPath) {
  std::unique_ptr<ShellWindow> item = shellWindows.Item(index);
  if (!item) return;  // closed since the count was read
  if (!item->IsFolderView()) return;

  auto record = std::make_unique<THandleListRec>();
  record->Handle = item->Handle();
  // On another virtual desktop, or kept hidden by the shell: no command of the user's is meant for it.
  if (!platform_.windows.IsShownToUser(record->Handle)) {
    hiddenItems_.push_back(record->Handle);
    return;
  }
  ShellFolderPath path = item->FolderPath();
  readPath = path.wide;
  record->Path = std::move(path.ansi);
  record->WidePath = std::move(path.wide);
  record->PathRepresentable = path.representable;
  record->WindowRect = platform_.windows.GetWindowRect(record->Handle);
  THandleListRec& added = *handleList_.emplace_back(std::move(record));

  const Placement placement = platform_.windows.GetWindowPlacement(added.Handle);
  added.ShowCmd = placement.showCmd;
  added.MinPosition = placement.minPosition;
  added.MaxPosition = placement.maxPosition;
  added.NormalPosition = placement.normalPosition;
}

std::vector<WindowHandle> FolderWindows::DistinctHandles() const {
  std::vector<WindowHandle> handles;
  std::unordered_set<WindowHandle> seen;
  for (const auto& record : handleList_) {
    if (seen.insert(record->Handle).second) handles.push_back(record->Handle);
  }
  return handles;
}

std::vector<WindowHandle> FolderWindows::AnsweringHandles() {
  std::vector<WindowHandle> handles = DistinctHandles();
  std::erase_if(handles, [this](WindowHandle window) { return platform_.windows.IsHung(window); });
  return handles;
}

Area FolderWindows::ToolbarMonitor() {
  const std::vector<Area> monitors = platform_.display.Monitors();
  const int index = platform_.display.MonitorIndexOf(toolbar_);
  if (index >= 0 && static_cast<std::size_t>(index) < monitors.size()) return monitors[index];
  if (!monitors.empty()) return monitors.front();
  return platform_.display.VirtualDesktop();
}

Area FolderWindows::GetArrangeArea() {
  const AreaMode mode = ReadAreaMode(settings_);
  switch (mode) {
    case AreaMode::VirtualDesktop:
      return ChooseArrangeArea(mode, {}, platform_.display.VirtualDesktop(), {});
    case AreaMode::Custom:
      return ChooseArrangeArea(mode, {}, platform_.display.VirtualDesktop(), ReadCustomArea(settings_));
    case AreaMode::ToolbarMonitor:
      break;
  }
  return ChooseArrangeArea(mode, ToolbarMonitor(), {}, {});
}

void FolderWindows::CascadeWindows(bool uniformSize) {
  RefreshHandleList();
  const Area area = GetArrangeArea();
  const std::int32_t step = platform_.display.CaptionHeight();
  Extent size;
  std::uint32_t flags = kSwpNoSize;
  if (uniformSize) {
    // Half of the toolbar's monitor even when the area is the desktop or a custom rectangle.
    size = UniformCascadeSize(ToolbarMonitor());
    flags = 0;
  }
  const std::vector<WindowHandle> handles = AnsweringHandles();
  const std::vector<Point> positions = CascadePositions(area, handles.size(), step, size.width, size.height);
  for (std::size_t i = 0; i < handles.size(); ++i) {
    platform_.windows.ShowWindow(handles[i], kSwShowDefault);
    MoveWindow(handles[i], Area{positions[i].x, positions[i].y, size.width, size.height}, flags);
  }
}

// The window's invisible resize borders lie outside the area, so that what the user sees of it fills
// the area: tiled windows then meet without gaps and reach the monitor's edges. Borders that do not
// look like borders (a window reading as all zeros, one on its way elsewhere) count as none.
Area FolderWindows::WithInvisibleBorders(WindowHandle window, const Area& area) {
  const Rect whole = platform_.windows.GetWindowRect(window);
  const Rect seen = platform_.windows.VisibleFrame(window);
  const std::int32_t left = seen.left - whole.left;
  const std::int32_t top = seen.top - whole.top;
  const std::int32_t right = whole.right - seen.right;
  const std::int32_t bottom = whole.bottom - seen.bottom;
  constexpr std::int32_t kMostBorder = 32;
  for (std::int32_t border : {left, top, right, bottom}) {
    if (border < 0 || border > kMostBorder) return area;
  }
  return Area{area.left - left, area.top - top, area.width + left + right, area.height + top + bottom};
}

void FolderWindows::MoveWindow(WindowHandle window, const Area& cell, std::uint32_t flags) {
  WindowSystem& windows = platform_.windows;
  const Area to = WithInvisibleBorders(window, cell);
  windows.SetWindowPos(window, kHwndTop, to.left, to.top, to.width, to.height, flags);
  // A window that lands on a monitor of another scale resizes itself for it during the move, and so
  // ends the wrong size, or with the same size at another place. Moved once more from where it is
  // now, it keeps that monitor's scale and takes the rectangle asked for.
  const Rect now = windows.GetWindowRect(window);
  const bool sized = (flags & kSwpNoSize) != 0 || (now.Width() == to.width && now.Height() == to.height);
  if (now.left != to.left || now.top != to.top || !sized) {
    windows.SetWindowPos(window, kHwndTop, to.left, to.top, to.width, to.height, flags);
  }
}

void FolderWindows::TileWindows() {
  RefreshHandleList();
  const Area area = GetArrangeArea();
  const std::vector<WindowHandle> handles = AnsweringHandles();
  const std::vector<Area> cells = TileCells(area, handles.size());
  for (std::size_t i = 0; i < handles.size(); ++i) {
    platform_.windows.ShowWindow(handles[i], kSwShowDefault);
    MoveWindow(handles[i], cells[i], 0);
  }
}

void FolderWindows::CloseAllWindows() {
  RefreshHandleList();
  for (WindowHandle handle : DistinctHandles()) platform_.windows.PostClose(handle);
}

SaveResult FolderWindows::SaveWorkBench(std::string_view name, bool isNew,
                                        const std::function<bool()>& confirmOverwrite) {
  SaveResult result;
  if (isNew && workBenches_.SectionExists(name)) {
    if (!confirmOverwrite || !confirmOverwrite()) return result;
  }

  // Taken before anything is deleted: a snapshot that fails leaves the stored workbench as it was.
  RefreshHandleList();

  for (const std::string& key : workBenches_.ReadSection(name)) workBenches_.DeleteKey(name, key);

  // Every item is kept, tabs of one window included: each is a folder to reopen. The tabs of a window
  // are marked with the number of its first record, so that the restore can tell them from windows.
  std::vector<const THandleListRec*> kept;
  std::unordered_map<WindowHandle, std::int32_t> itemsOf;
  for (const auto& record : handleList_) {
    if (!record->PathRepresentable || !FitsInRecordLine(record->Path)) {
      result.leftOut.push_back(record->WidePath);
      continue;
    }
    kept.push_back(record.get());
    ++itemsOf[record->Handle];
  }
  std::unordered_map<WindowHandle, std::int32_t> firstNumberOf;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const std::int32_t number = static_cast<std::int32_t>(i + 1);
    const std::int32_t group =
        itemsOf[kept[i]->Handle] > 1 ? firstNumberOf.try_emplace(kept[i]->Handle, number).first->second : 0;
    workBenches_.WriteString(name, std::to_string(number), FormatRecordLine(*kept[i], group));
  }
  // Windows that closed or hung while they were read are not in the workbench either.
  result.leftOut.insert(result.leftOut.end(), goneItems_.begin(), goneItems_.end());

  MarkLastWorkBench(name);
  workBenches_.UpdateFile();
  result.saved = true;
  return result;
}

void FolderWindows::MarkLastWorkBench(std::string_view name) { zarn::MarkLastWorkBench(workBenches_, name); }

}  // namespace zarn
