// Workbenches against what goes wrong outside the program: records no save wrote, folders that are
// all gone, and a shell whose automation fails at any one call of a save or a restore.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedDesktop.h"
#include "core/Error.h"
#include "core/WorkBenchRecord.h"

namespace zarn::test {
namespace {

TEST(ParseRecordLine, GarbageInEveryFieldReadsAsAPathAndHundreds) {
  const Placement hundreds{100, {100, 100}, {100, 100}, {100, 100, 100, 100}};
  const std::string huge(1 << 20, '9');
  struct Case {
    std::string line;
    std::string path;
  };
  const std::vector<Case> cases = {
      {std::string(13, '\t'), ""},
      {"a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl\tm\tn", "a"},
      {"\x81\t\x81\t\xFF\t\x80\x80\t\x01\t\x7F\t-\t+\t$\t0x\tx\t--1\t1e3\t1.5", "\x81"},
      {huge + "\t" + huge + "\t" + huge, huge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40));
    const WorkBenchRecord record = ParseRecordLine(c.line);
    EXPECT_EQ(record.path, c.path);
    EXPECT_EQ(record.bounds, (Area{100, 100, 100, 100}));
    EXPECT_EQ(record.placement, hundreds);
  }
}

std::string Record(const std::string& path, Rect rect) {
  THandleListRec record;
  record.Path = path;
  record.WindowRect = rect;
  record.ShowCmd = 1;
  record.NormalPosition = rect;
  return FormatRecordLine(record);
}

const std::vector<std::string> kFolders = {"C:\\A", "C:\\B", "C:\\C"};
Rect PlaceOf(std::size_t i) {
  return Rect{static_cast<std::int32_t>(100 * i), 10, static_cast<std::int32_t>(100 * i + 400), 310};
}

std::string WorkBenchWithAllFolders() {
  std::string text = "[R]\n";
  for (std::size_t i = 0; i < kFolders.size(); ++i)
    text += std::to_string(i + 1) + "=" + Record(kFolders[i], PlaceOf(i)) + "\n";
  return text + "Last=0\n[Other]\nLast=1\n";
}

class FolderFaultTest : public DesktopTest {};

TEST_F(FolderFaultTest, WorkBenchWhoseFoldersAreAllGoneIsReportedAndKept) {
  for (const auto kind : {ExploreBehaviour::Kind::Refuse, ExploreBehaviour::Kind::Ignore}) {
    SCOPED_TRACE(kind == ExploreBehaviour::Kind::Refuse ? "the shell refuses" : "no window ever comes");
    for (const std::string& folder : kFolders) desktop_.OnExplore(folder, ExploreBehaviour{.kind = kind});
    WorkBenchText(WorkBenchWithAllFolders());
    const RestoreResult result = Organiser().LoadWorkBench("R");
    EXPECT_EQ(result.notRestored, kFolders);
    EXPECT_TRUE(desktop_.OpenedWindows().empty());
    // Nothing is dropped from the file: the folders may come back (a drive plugged in again).
    EXPECT_EQ(WorkBenchesOnDisk().ReadSection("R"), (std::vector<std::string>{"1", "2", "3", "Last"}));
    EXPECT_EQ(LastMarked(), (std::vector<std::string>{"R"}));
  }
}

std::string WriteWorkBenchWithAllFolders(const ProfileFiles& files) {
  ProfileFiles::WriteText(files.WorkBenchFile(), WorkBenchWithAllFolders());
  return ProfileFiles::ReadText(files.WorkBenchFile());
}

// The folder windows of a restore or a save on a fresh desktop and fresh files, one per run.
struct Scene {
  explicit Scene(bool restore) {
    desktop.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
    const WindowHandle tabbed = desktop.AddFolderWindow("C:\\Old2", Rect{5, 5, 305, 305});
    desktop.AddTab(tabbed, "C:\\Old2\\Tab");
    desktop.AddOtherWindow();
    // One folder is slow, so that a wait sees snapshots without it before the one with it.
    if (restore) desktop.OnExplore("C:\\B", ExploreBehaviour{.appearsAfterSnapshots = 2});
    organiser.SetToolbar(0x10);
  }

  SimulatedDesktop desktop;
  ProfileFiles files;
  const std::string fileBefore = WriteWorkBenchWithAllFolders(files);
  Profile settings{files.SettingsFile()};
  Profile workBenches{files.WorkBenchFile()};
  FolderWindows organiser{desktop.AsPlatform(), settings, workBenches};
  const std::vector<std::string> memoryBefore = workBenches.GetStrings();
};

// The automation calls of the snapshot a restore starts with.
int CallsOfOneSnapshot() {
  Scene scene(true);
  scene.organiser.CloseAllWindows();
  return scene.desktop.AutomationCalls();
}

int CallsOfACleanRun(bool restore) {
  Scene scene(restore);
  scene.desktop.FailAutomationCall(0, false);
  if (restore) {
    EXPECT_TRUE(scene.organiser.LoadWorkBench("R").notRestored.empty());
  } else {
    EXPECT_TRUE(scene.organiser.SaveWorkBench("R", false, nullptr).saved);
  }
  return scene.desktop.AutomationCalls();
}

TEST(ShellFailure, SaveFailingAtAnyAutomationCallChangesNothing) {
  const int calls = CallsOfACleanRun(false);
  ASSERT_GT(calls, 10);
  RecordProperty("automation_calls", calls);
  for (const bool once : {true, false}) {
    for (int call = 1; call <= calls; ++call) {
      SCOPED_TRACE((once ? "once at call " : "from call ") + std::to_string(call) + " of " + std::to_string(calls));
      Scene scene(false);
      scene.desktop.FailAutomationCall(call, once);
      EXPECT_THROW(scene.organiser.SaveWorkBench("R", false, nullptr), Error);
      EXPECT_EQ(ProfileFiles::ReadText(scene.files.WorkBenchFile()), scene.fileBefore);
      EXPECT_EQ(scene.workBenches.GetStrings(), scene.memoryBefore);
    }
  }
}

// A failure in the snapshot that closes the old windows ends the restore before anything changes. A
// later one is taken again at the next poll when it was momentary, and every folder gets its place;
// a shell that stays broken ends the restore with its error, and the file is not marked.
TEST(ShellFailure, RestoreFailingAtAnyAutomationCallEndsOrGoesOnCleanly) {
  const int calls = CallsOfACleanRun(true);
  ASSERT_GT(calls, 30);
  RecordProperty("automation_calls", calls);
  const int closeAllCalls = CallsOfOneSnapshot();
  ASSERT_EQ(closeAllCalls, 16);  // the object, Count, two calls for the other window, four for each folder
  for (const bool once : {true, false}) {
    for (int call = 1; call <= calls; ++call) {
      SCOPED_TRACE((once ? "once at call " : "from call ") + std::to_string(call) + " of " + std::to_string(calls));
      Scene scene(true);
      scene.desktop.FailAutomationCall(call, once);
      if (call <= closeAllCalls || !once) {
        EXPECT_THROW(scene.organiser.LoadWorkBench("R"), Error);
        EXPECT_EQ(ProfileFiles::ReadText(scene.files.WorkBenchFile()), scene.fileBefore);
        EXPECT_EQ(scene.workBenches.GetStrings(), scene.memoryBefore);
        if (call <= closeAllCalls) {
          EXPECT_EQ(scene.desktop.Count("PostClose"), 0);
          EXPECT_EQ(scene.desktop.Count("Explore"), 0);
        }
        continue;
      }
      RestoreResult result;
      ASSERT_NO_THROW(result = scene.organiser.LoadWorkBench("R"));
      EXPECT_TRUE(result.notRestored.empty());
      ASSERT_EQ(scene.desktop.OpenedWindows().size(), kFolders.size());
      for (std::size_t i = 0; i < kFolders.size(); ++i)
        EXPECT_EQ(scene.desktop.Window(scene.desktop.OpenedWindows()[i]).rect, PlaceOf(i));
      EXPECT_EQ(Profile(scene.files.WorkBenchFile()).ReadString("R", "Last", ""), "1");
    }
  }
}

}  // namespace
}  // namespace zarn::test
