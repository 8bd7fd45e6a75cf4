#include "SimulatedDesktop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "core/Error.h"

namespace zarn::test {

// On Windows the call would wait for the window's thread for ever: here it fails the test instead.
static void ExpectAnswering(const SimWindow& window) {
  if (window.hung) ADD_FAILURE() << "a call that waits for a window that does not answer";
}

ShellFolderPath AsciiPath(const std::string& path) {
  return ShellFolderPath{path, std::u16string(path.begin(), path.end()), true};
}

// One fetched item of the collection. Like the automation object it refers to, it reads the desktop
// live: a window closing after the fetch shows in what the item then answers.
class SimShellWindow final : public ShellWindow {
 public:
  SimShellWindow(SimulatedDesktop& desktop, std::size_t index) : desktop_(desktop), index_(index) {}

  bool IsFolderView() override {
    Call();
    return item().folderView;
  }
  WindowHandle Handle() override {
    Call();
    return item().handle;
  }
  ShellFolderPath FolderPath() override {
    Call();
    SimItem& it = item();
    if (it.pathFailures != 0) {
      if (it.pathFailures > 0) --it.pathFailures;
      throw Error("The folder of the shell window could not be read.");
    }
    auto window = desktop_.windows_.find(it.handle);
    if (window != desktop_.windows_.end() && window->second.closingSnapshotsLeft) {
      // Disconnected, as the shell's objects of a closed window are; or some other failure.
      if (window->second.failsWhileClosing == SimWindow::ClosingFailure::Gone) throw ShellItemGone("closed");
      if (window->second.failsWhileClosing == SimWindow::ClosingFailure::Error) throw Error("unreadable");
    }
    return it.path;
  }

 private:
  void Call() {
    desktop_.AutomationCall();
    if (item().gone) throw ShellItemGone("The shell window does not answer.");
  }
  SimItem& item() { return desktop_.items_.at(index_); }
  SimulatedDesktop& desktop_;
  std::size_t index_;
};

class SimShellWindows final : public ShellWindows {
 public:
  explicit SimShellWindows(SimulatedDesktop& desktop) : desktop_(desktop) {}

  std::int32_t Count() override {
    desktop_.AutomationCall();
    desktop_.AdvanceSnapshot();
    return static_cast<std::int32_t>(desktop_.items_.size());
  }
  std::unique_ptr<ShellWindow> Item(std::int32_t index) override {
    desktop_.AutomationCall();
    if (index < 0 || static_cast<std::size_t>(index) >= desktop_.items_.size()) return nullptr;
    if (desktop_.items_[index].vanishes) return nullptr;
    const auto missed = desktop_.missedIn_.find(desktop_.items_[index].handle);
    if (missed != desktop_.missedIn_.end() && missed->second == desktop_.snapshots_) return nullptr;
    return std::make_unique<SimShellWindow>(desktop_, static_cast<std::size_t>(index));
  }

 private:
  SimulatedDesktop& desktop_;
};

SimulatedDesktop::SimulatedDesktop() : monitors_{Area{0, 0, 1920, 1080}} {}

WindowHandle SimulatedDesktop::AddFolderWindow(const std::string& path, Rect rect, std::int32_t showCmd) {
  return AddFolderWindow(AsciiPath(path), rect, Placement{showCmd, {-1, -1}, {-1, -1}, rect});
}

WindowHandle SimulatedDesktop::AddFolderWindow(const ShellFolderPath& path, Rect rect, const Placement& placement) {
  const WindowHandle handle = NewHandle();
  SimWindow& window = windows_[handle];
  window.rect = rect;
  window.placement = placement;
  items_.push_back(SimItem{handle, path});
  return handle;
}

void SimulatedDesktop::AddTab(WindowHandle window, const std::string& path) {
  items_.push_back(SimItem{window, AsciiPath(path)});
}

WindowHandle SimulatedDesktop::AddOtherWindow() {
  const WindowHandle handle = NewHandle();
  windows_[handle].rect = Rect{10, 10, 500, 400};
  SimItem item{handle, AsciiPath("https://example.invalid/")};
  item.folderView = false;
  items_.push_back(item);
  return handle;
}

std::vector<std::string> SimulatedDesktop::LogFor(WindowHandle handle) const {
  const std::string tag = "(" + std::to_string(handle);
  std::vector<std::string> calls;
  for (const std::string& entry : log_) {
    const auto open = entry.find('(');
    if (open == std::string::npos || entry.compare(open, tag.size(), tag) != 0) continue;
    const char after = entry.size() > open + tag.size() ? entry[open + tag.size()] : '\0';
    if (after == ',' || after == ')') calls.push_back(entry);
  }
  return calls;
}

int SimulatedDesktop::Count(const std::string& callName) const {
  return static_cast<int>(std::count_if(log_.begin(), log_.end(), [&](const std::string& entry) {
    return entry.compare(0, callName.size() + 1, callName + "(") == 0;
  }));
}

Rect SimulatedDesktop::GetWindowRect(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? Rect{} : it->second.rect;
}

Placement SimulatedDesktop::GetWindowPlacement(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? Placement{} : it->second.placement;
}

bool SimulatedDesktop::SetWindowPlacement(WindowHandle window, const Placement& p) {
  std::ostringstream entry;
  entry << "SetWindowPlacement(" << window << ", show " << p.showCmd << ", min " << p.minPosition.x << ' '
        << p.minPosition.y << ", max " << p.maxPosition.x << ' ' << p.maxPosition.y << ", normal "
        << p.normalPosition.left << ' ' << p.normalPosition.top << ' ' << p.normalPosition.right << ' '
        << p.normalPosition.bottom << ')';
  log_.push_back(entry.str());
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  SimWindow& w = it->second;
  ExpectAnswering(w);
  w.placement = p;
  // A window left neither minimized nor maximized takes its normal position, as on Windows.
  const std::int32_t show = p.showCmd;
  if (show != 2 && show != 3 && show != 6 && show != 7 && show != 11) {
    w.rect.left = p.normalPosition.left;
    w.rect.top = p.normalPosition.top;
    w.rect.right = w.rect.left + std::max<std::int32_t>(p.normalPosition.Width(), w.minWidth);
    w.rect.bottom = w.rect.top + std::max<std::int32_t>(p.normalPosition.Height(), w.minHeight);
  }
  return true;
}

bool SimulatedDesktop::ShowWindow(WindowHandle window, std::int32_t showCmd) {
  log_.push_back("ShowWindow(" + std::to_string(window) + ", " + std::to_string(showCmd) + ")");
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  ExpectAnswering(it->second);
  it->second.visible = showCmd != 0;
  return true;
}

bool SimulatedDesktop::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) {
  std::ostringstream entry;
  entry << "SetWindowPos(" << window << ", " << static_cast<std::int64_t>(insertAfter) << ", " << x << ", " << y << ", "
        << cx << ", " << cy << ", " << flags << ')';
  log_.push_back(entry.str());
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  SimWindow& w = it->second;
  ExpectAnswering(w);
  std::int64_t width = w.rect.Width();
  std::int64_t height = w.rect.Height();
  if (!(flags & kSwpNoSize)) {
    width = std::max<std::int64_t>(cx, w.minWidth);
    height = std::max<std::int64_t>(cy, w.minHeight);
  }
  if (!(flags & kSwpNoMove)) {
    w.rect.left = x;
    w.rect.top = y;
  }
  if (w.rescaleOnNextMove != 1.0) {
    width = static_cast<std::int64_t>(static_cast<double>(width) * w.rescaleOnNextMove);
    height = static_cast<std::int64_t>(static_cast<double>(height) * w.rescaleOnNextMove);
    w.rescaleOnNextMove = 1.0;
  }
  w.rect.right = static_cast<std::int32_t>(w.rect.left + width);
  w.rect.bottom = static_cast<std::int32_t>(w.rect.top + height);
  return true;
}

Rect SimulatedDesktop::VisibleFrame(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return {};
  const Rect& r = it->second.rect;
  const Rect& b = it->second.invisibleBorders;
  return Rect{r.left + b.left, r.top + b.top, r.right - b.right, r.bottom - b.bottom};
}

bool SimulatedDesktop::IsShownToUser(WindowHandle window) {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.visible && !it->second.cloaked;
}

bool SimulatedDesktop::IsHung(WindowHandle window) {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.hung;
}

bool SimulatedDesktop::PostClose(WindowHandle window) {
  log_.push_back("PostClose(" + std::to_string(window) + ")");
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  if (!it->second.closingSnapshotsLeft) it->second.closingSnapshotsLeft = closeDelay_;
  return true;
}

bool SimulatedDesktop::Exists(WindowHandle window) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  std::optional<int>& left = it->second.closingSnapshotsLeft;
  if (left) {
    if (*left == 0) {
      RemoveWindow(window);
      return false;
    }
    --*left;
  }
  return true;
}

int SimulatedDesktop::MonitorIndexOf(WindowHandle window) {
  auto it = monitorOf_.find(window);
  return it == monitorOf_.end() ? 0 : it->second;
}

Area SimulatedDesktop::VirtualDesktop() {
  if (virtualDesktop_) return *virtualDesktop_;
  std::int64_t left = monitors_.front().left, top = monitors_.front().top;
  std::int64_t right = left + monitors_.front().width, bottom = top + monitors_.front().height;
  for (const Area& m : monitors_) {
    left = std::min<std::int64_t>(left, m.left);
    top = std::min<std::int64_t>(top, m.top);
    right = std::max<std::int64_t>(right, std::int64_t{m.left} + m.width);
    bottom = std::max<std::int64_t>(bottom, std::int64_t{m.top} + m.height);
  }
  return Area{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right - left),
              static_cast<std::int32_t>(bottom - top)};
}

void SimulatedDesktop::RemoveWindow(WindowHandle handle) {
  windows_.erase(handle);
  std::erase_if(items_, [&](const SimItem& item) { return item.handle == handle; });
}

// Time passes between two looks at the collection's count: windows asked to close go away, requested
// ones appear.
void SimulatedDesktop::AdvanceSnapshot() {
  ++snapshots_;
  std::vector<WindowHandle> gone;
  for (auto& [handle, window] : windows_) {
    if (!window.closingSnapshotsLeft) continue;
    if (*window.closingSnapshotsLeft == 0) {
      gone.push_back(handle);
    } else {
      --*window.closingSnapshotsLeft;
    }
  }
  for (WindowHandle handle : gone) RemoveWindow(handle);

  for (auto& [handle, window] : windows_) {
    if (window.shownAfterSnapshots > 0 && --window.shownAfterSnapshots == 0) window.visible = true;
  }
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->snapshotsLeft > 0) {
      --it->snapshotsLeft;
      ++it;
      continue;
    }
    items_.push_back(SimItem{it->handle, it->path});
    if (it->hiddenFor > 0) {
      SimWindow& window = windows_.at(it->handle);
      window.visible = false;
      window.shownAfterSnapshots = it->hiddenFor;
    }
    if (!it->asTab) opened_.push_back(it->handle);
    it = pending_.erase(it);
  }
}

void SimulatedDesktop::AutomationCall() {
  ++automationCalls_;
  if (failingCall_ == 0 || automationCalls_ < failingCall_ || (failsOnce_ && automationCalls_ > failingCall_)) return;
  throw Error("The shell's automation failed.");
}

std::unique_ptr<ShellWindows> SimulatedDesktop::OpenWindows() {
  AutomationCall();
  if (shellBroken_ || (shellBreaksAfter_ && snapshots_ >= *shellBreaksAfter_)) {
    throw Error("Shell.Application could not be created.");
  }
  return std::make_unique<SimShellWindows>(*this);
}

namespace {

// Answers once the desktop has taken a given number of snapshots.
class SimExploreRequest final : public ExploreRequest {
 public:
  SimExploreRequest(const SimulatedDesktop& desktop, bool accepted, std::optional<int> answerAt)
      : desktop_(desktop), accepted_(accepted), answerAt_(answerAt) {}
  std::optional<bool> Answer() override {
    if (!answerAt_ || desktop_.Snapshots() < *answerAt_) return std::nullopt;
    return accepted_;
  }

 private:
  const SimulatedDesktop& desktop_;
  bool accepted_;
  std::optional<int> answerAt_;
};

}  // namespace

std::unique_ptr<ExploreRequest> SimulatedDesktop::Explore(std::string_view ansiPath) {
  const std::string path(ansiPath);
  auto rule = explore_.find(path);
  const ExploreBehaviour behaviour = rule == explore_.end() ? ExploreBehaviour{} : rule->second;
  const std::optional<int> answerAt = behaviour.answersAfterSnapshots < 0
                                          ? std::nullopt
                                          : std::optional<int>(snapshots_ + behaviour.answersAfterSnapshots);
  return std::make_unique<SimExploreRequest>(*this, ExploreNow(path, behaviour), answerAt);
}

bool SimulatedDesktop::ExploreNow(const std::string& path, const ExploreBehaviour& behaviour) {
  log_.push_back("Explore(" + path + ")");
  if (behaviour.meanwhile) behaviour.meanwhile(*this);
  const ShellFolderPath reported = AsciiPath(behaviour.reportedPath.empty() ? path : behaviour.reportedPath);
  switch (behaviour.kind) {
    case ExploreBehaviour::Kind::Refuse:
      return false;
    case ExploreBehaviour::Kind::Ignore:
      return true;
    case ExploreBehaviour::Kind::BringForward:
      log_.push_back("BroughtForward(" + std::to_string(behaviour.existing) + ")");
      return true;
    case ExploreBehaviour::Kind::OpenTab: {
      const WindowHandle window = behaviour.existing ? behaviour.existing : opened_.back();
      pending_.push_back(PendingWindow{window, reported, behaviour.appearsAfterSnapshots, true});
      return true;
    }
    case ExploreBehaviour::Kind::OpenWindow:
      break;
  }
  const WindowHandle handle = NewHandle();
  SimWindow& window = windows_[handle];
  window.rect = Rect{0, 0, 640, 480};
  window.placement = Placement{1, {-1, -1}, {-1, -1}, window.rect};
  window.minWidth = behaviour.minWidth;
  window.minHeight = behaviour.minHeight;
  window.hung = behaviour.hung;
  window.visible = true;  // the shell is asked to show it
  pending_.push_back(
      PendingWindow{handle, reported, behaviour.appearsAfterSnapshots, false, behaviour.listedHiddenFor});
  return true;
}

std::string SimulatedDesktop::LongPathForm(std::string_view ansiPath) {
  const auto alias = longForms_.find(std::string(ansiPath));
  return alias == longForms_.end() ? std::string(ansiPath) : alias->second;
}

void SimulatedDesktop::SleepUntilWindowShown(std::chrono::milliseconds longest) {
  const bool shownNext = std::ranges::any_of(pending_, [](const PendingWindow& w) { return w.snapshotsLeft == 0; });
  Sleep(windowEvents_ && shownNext ? std::min(longest, std::chrono::milliseconds{1}) : longest);
}

void SimulatedDesktop::Sleep(std::chrono::milliseconds duration) {
  ++sleeps_;
  if (!clockFrozen_) now_ += duration;
}

ProfileFiles::ProfileFiles() {
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() /
            ("zarn-folderwindows-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  settingsFile_ = folder_ / "Zarn.ini";
  workBenchFile_ = folder_ / "Zarn.wbf";
}

ProfileFiles::~ProfileFiles() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void ProfileFiles::WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ProfileFiles::ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

void DesktopTest::SettingsText(const std::string& text) {
  ProfileFiles::WriteText(files_.SettingsFile(), WithCrLf(text));
  organiser_.reset();
  settings_.reset();
}

void DesktopTest::WorkBenchText(const std::string& text) {
  ProfileFiles::WriteText(files_.WorkBenchFile(), WithCrLf(text));
  organiser_.reset();
  workBenches_.reset();
}

Profile& DesktopTest::WorkBenches() {
  Organiser();
  return *workBenches_;
}

FolderWindows& DesktopTest::Organiser() {
  if (!settings_) settings_ = std::make_unique<Profile>(files_.SettingsFile());
  if (!workBenches_) workBenches_ = std::make_unique<Profile>(files_.WorkBenchFile());
  if (!organiser_) {
    organiser_ = std::make_unique<FolderWindows>(desktop_.AsPlatform(), *settings_, *workBenches_);
    organiser_->SetToolbar(kToolbar);
  }
  return *organiser_;
}

std::vector<std::string> DesktopTest::LastMarked() const {
  const Profile disk = WorkBenchesOnDisk();
  std::vector<std::string> marked;
  for (const std::string& section : disk.ReadSections()) {
    if (disk.ReadString(section, "Last", "") == "1") marked.push_back(section);
  }
  return marked;
}

}  // namespace zarn::test
