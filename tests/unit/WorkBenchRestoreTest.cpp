#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "SimulatedDesktop.h"
#include "core/AnsiText.h"
#include "core/Error.h"
#include "core/RestoreBounds.h"
#include "core/WorkBenchRecord.h"

namespace zarn::test {
namespace {

std::string H(WindowHandle h) { return std::to_string(h); }

// A stored record as the save writes it.
std::string Record(const std::string& path, Rect rect, int showCmd, Rect normal) {
  THandleListRec record;
  record.Path = path;
  record.WindowRect = rect;
  record.ShowCmd = showCmd;
  record.MinPosition = {-1, -1};
  record.MaxPosition = {-8, -8};
  record.NormalPosition = normal;
  return FormatRecordLine(record);
}

class LoadWorkBench : public DesktopTest {
 protected:
  RestoreResult Load(const std::string& name) { return Organiser().LoadWorkBench(name); }
  // Restores the workbench "R" of `text` on a desktop of the case's own.
  RestoreResult LoadOn(SimulatedDesktop& desktop, const std::string& text) {
    WorkBenchText(text);
    Profile settings(files_.SettingsFile());
    FolderWindows organiser(desktop.AsPlatform(), settings, WorkBenches());
    return organiser.LoadWorkBench("R");
  }
  // Every window-changing call made on one window.
  std::vector<std::string> CallsOn(WindowHandle h) const { return desktop_.LogFor(h); }
};

TEST_F(LoadWorkBench, ClosesOpensAndPlacesEachFolderThenMarksIt) {
  const WindowHandle old1 = desktop_.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
  const WindowHandle old2 = desktop_.AddFolderWindow("C:\\Old2", Rect{0, 0, 300, 300});
  WorkBenchText("[Other]\nLast=1\n[Desk]\n1=" + Record("C:\\A", {-1900, 10, -1000, 700}, 1, {-1900, 10, -1000, 700}) +
                "\n2=" + Record("C:\\B", {-32000, -32000, -31840, -31973}, 2, {50, 60, 850, 660}) + "\nLast=0\n");

  const RestoreResult result = Load("desk");
  EXPECT_TRUE(result.notRestored.empty());
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  const WindowHandle a = desktop_.OpenedWindows()[0];
  const WindowHandle b = desktop_.OpenedWindows()[1];
  EXPECT_EQ(desktop_.Log(),
            (std::vector<std::string>{
                "PostClose(" + H(old1) + ")", "PostClose(" + H(old2) + ")", "Explore(C:\\A)",
                // Normal: the placement first, the saved rectangle last.
                "SetWindowPlacement(" + H(a) + ", show 1, min -1 -1, max -8 -8, normal -1900 10 -1000 700)",
                "ShowWindow(" + H(a) + ", 1)", "SetWindowPos(" + H(a) + ", 0, -1900, 10, 900, 690, 0)",
                "Explore(C:\\B)", "SetWindowPos(" + H(b) + ", 0, -32000, -32000, 160, 27, 0)",
                // Minimized: the rectangle is not forced, the placement carries the normal one.
                "ShowWindow(" + H(b) + ", 2)",
                "SetWindowPlacement(" + H(b) + ", show 2, min -1 -1, max -8 -8, normal 50 60 850 660)"}));
  EXPECT_EQ(desktop_.Window(a).rect, (Rect{-1900, 10, -1000, 700}));
  EXPECT_EQ(desktop_.Sleeps(), 0);
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"Desk"}));
  // The records themselves are untouched.
  EXPECT_EQ(ParseRecordLine(WorkBenchesOnDisk().ReadString("Desk", "2", "")).placement.normalPosition,
            (Rect{50, 60, 850, 660}));
}

// A window snapped to a side or a quarter is saved with its snapped rectangle and, as its normal
// position, the rectangle from before the snap. It comes back where it was saved, in whichever state.
TEST_F(LoadWorkBench, SnappedWindowEndsAtItsSavedRectangleNotItsNormalPosition) {
  const Rect snapped{0, 0, 960, 1040};
  const Rect beforeSnap{200, 150, 900, 700};
  WorkBenchText("[Snap]\n1=" + Record("C:\\Left", snapped, 1, beforeSnap) +
                "\n2=" + Record("C:\\Max", {-8, -8, 1928, 1088}, 3, beforeSnap) + "\n");
  Load("Snap");
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, snapped);
  // A maximized record keeps its normal position for when the user restores the window.
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).placement.normalPosition, beforeSnap);
  EXPECT_EQ(CallsOn(desktop_.OpenedWindows()[1]).back().rfind("SetWindowPlacement", 0), 0u);
}

// A new window that does not answer is never moved (that would wait for it); it is named as not
// restored, and the next folder gets its place.
TEST_F(LoadWorkBench, WindowThatDoesNotAnswerIsNamedAndTheRestGoOn) {
  desktop_.OnExplore("C:\\Hung", ExploreBehaviour{.hung = true});
  WorkBenchText("[H]\n1=" + Record("C:\\Hung", {0, 0, 500, 500}, 1, {0, 0, 500, 500}) +
                "\n2=" + Record("C:\\Next", {10, 10, 510, 510}, 1, {10, 10, 510, 510}) + "\n");
  const RestoreResult result = Load("H");
  EXPECT_EQ(result.notRestored, (std::vector<std::string>{"C:\\Hung"}));
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(CallsOn(desktop_.OpenedWindows()[0]), std::vector<std::string>{});
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{10, 10, 510, 510}));
}

TEST_F(LoadWorkBench, WorkBenchWithOnlyLastClosesEverythingAndOpensNothing) {
  const WindowHandle old = desktop_.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
  WorkBenchText("[A]\nLast=1\n[Nothing]\nLast=0\n");
  EXPECT_TRUE(Load("Nothing").notRestored.empty());
  EXPECT_EQ(desktop_.Log(), (std::vector<std::string>{"PostClose(" + H(old) + ")"}));
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"Nothing"}));
}

TEST_F(LoadWorkBench, RecordWithOnlyAPathUses100AndAShowCommandWindowsKnows) {
  WorkBenchText("[P]\n1=C:\\Only\n");
  Load("P");
  ASSERT_EQ(desktop_.OpenedWindows().size(), 1u);
  const WindowHandle w = desktop_.OpenedWindows()[0];
  EXPECT_EQ(CallsOn(w),
            (std::vector<std::string>{
                "SetWindowPlacement(" + H(w) + ", show 1, min 100 100, max 100 100, normal 100 100 100 100)",
                "ShowWindow(" + H(w) + ", 1)", "SetWindowPos(" + H(w) + ", 0, 100, 100, 100, 100, 0)"}));
  EXPECT_TRUE(desktop_.Window(w).visible);
}

TEST_F(LoadWorkBench, ValidShowCommandsPassThroughUnknownOnesShowNormally) {
  std::string text = "[S]\n";
  const std::vector<int> stored = {0, 7, 11, 12, -1, 100};
  for (std::size_t i = 0; i < stored.size(); ++i) {
    text += std::to_string(i + 1) + "=" + Record("C:\\S" + std::to_string(i), {0, 0, 640, 480}, stored[i], {}) + "\n";
  }
  WorkBenchText(text);
  Load("S");
  // 0 is what a window read while it vanished stores: applied as is, it would hide the folder.
  const std::vector<int> applied = {1, 7, 11, 1, 1, 1};
  ASSERT_EQ(desktop_.OpenedWindows().size(), stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const WindowHandle w = desktop_.OpenedWindows()[i];
    EXPECT_EQ(CallsOn(w)[1], "ShowWindow(" + H(w) + ", " + std::to_string(applied[i]) + ")") << stored[i];
    EXPECT_EQ(desktop_.Window(w).placement.showCmd, applied[i]) << stored[i];
    EXPECT_TRUE(desktop_.Window(w).visible) << stored[i];
  }
  EXPECT_EQ(ParseRecordLine(WorkBenchesOnDisk().ReadString("S", "1", "")).placement.showCmd, 0);
}

TEST_F(LoadWorkBench, LineWithoutEqualsSignIsARecordWithAnEmptyPath) {
  WorkBenchText("[N]\njust text\n");
  Load("N");
  EXPECT_EQ(desktop_.Count("Explore"), 1);
  EXPECT_EQ(desktop_.Log().front(), "Explore()");
}

TEST_F(LoadWorkBench, MaximizedRecordIsNotForcedToItsRectangle) {
  desktop_.OnExplore("C:\\Max", ExploreBehaviour{.minWidth = 4000, .minHeight = 4000});
  WorkBenchText("[M]\n1=" + Record("C:\\Max", {-8, -8, 1928, 1088}, 3, {100, 100, 900, 700}) + "\n");
  Load("M");
  const WindowHandle w = desktop_.OpenedWindows().at(0);
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 1);
  EXPECT_EQ(CallsOn(w).back(),
            "SetWindowPlacement(" + H(w) + ", show 3, min -1 -1, max -8 -8, normal 100 100 900 700)");
  EXPECT_EQ(desktop_.Sleeps(), 0);
}

TEST_F(LoadWorkBench, WindowThatRefusesItsSizeIsPlacedAfterBoundedTries) {
  desktop_.OnExplore("C:\\Small", ExploreBehaviour{.minWidth = 112, .minHeight = 27});
  WorkBenchText("[C]\n1=" + Record("C:\\Small", {10, 10, 60, 20}, 1, {10, 10, 60, 20}) +
                "\n2=" + Record("C:\\Next", {0, 0, 500, 500}, 1, {0, 0, 500, 500}) + "\n");
  const RestoreResult result = Load("C");
  EXPECT_TRUE(result.notRestored.empty());
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  const WindowHandle small = desktop_.OpenedWindows()[0];
  int moves = 0;
  for (const std::string& call : CallsOn(small)) moves += call.rfind("SetWindowPos", 0) == 0;
  EXPECT_EQ(moves, kMaxRectangleTries);
  EXPECT_EQ(CallsOn(small).front().rfind("SetWindowPlacement", 0), 0u);
  EXPECT_EQ(CallsOn(small).back().rfind("SetWindowPos", 0), 0u);
  EXPECT_EQ(desktop_.Window(small).rect, (Rect{10, 10, 122, 37}));
  // Each retry waited a little rather than spinning.
  EXPECT_EQ(desktop_.Sleeps(), kMaxRectangleTries - 1);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{0, 0, 500, 500}));
}

TEST_F(LoadWorkBench, ClosingWindowsStillListedAreNeverTaken) {
  // Slower to go than the restore waits for them.
  desktop_.SetCloseDelay(1'000'000);
  const WindowHandle old1 = desktop_.AddFolderWindow("C:\\Old1", Rect{0, 0, 300, 300});
  const WindowHandle old2 = desktop_.AddFolderWindow("C:\\Old2", Rect{0, 0, 300, 300});
  // The first new window appears only after two more snapshots, while both old ones are still listed.
  desktop_.OnExplore("C:\\A", ExploreBehaviour{.appearsAfterSnapshots = 2});
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {1, 2, 301, 202}) +
                "\n2=" + Record("C:\\B", {3, 4, 303, 204}, 1, {3, 4, 303, 204}) + "\n");

  EXPECT_TRUE(Load("R").notRestored.empty());
  EXPECT_EQ(CallsOn(old1), (std::vector<std::string>{"PostClose(" + H(old1) + ")"}));
  EXPECT_EQ(CallsOn(old2), (std::vector<std::string>{"PostClose(" + H(old2) + ")"}));
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{3, 4, 303, 204}));
  EXPECT_EQ(desktop_.Sleeps(), kClosingWait / kNewWindowPollInterval + 2);
}

TEST_F(LoadWorkBench, FirstFolderIsAskedForOnceTheClosedWindowsAreGoneOrTheWaitRanOut) {
  // A shell that opens folders as tabs would put it into a window about to close.
  for (const int closeDelay : {4, 1'000'000}) {
    SCOPED_TRACE(closeDelay);
    SimulatedDesktop desktop;
    desktop.SetCloseDelay(closeDelay);
    const WindowHandle old = desktop.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
    bool oldOpenAtRequest = true;
    const auto start = desktop.Now();
    std::chrono::milliseconds requestedAfter{};
    desktop.OnExplore("C:\\A", ExploreBehaviour{.meanwhile = [&](SimulatedDesktop& d) {
                        oldOpenAtRequest = d.IsOpen(old) && !d.Items().empty() && d.Items().front().handle == old;
                        requestedAfter = d.Now() - start;
                      }});
    EXPECT_TRUE(LoadOn(desktop, "[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n").notRestored.empty());
    EXPECT_EQ(oldOpenAtRequest, closeDelay > 4);
    if (closeDelay > 4) {
      EXPECT_GE(requestedAfter, kClosingWait);
      EXPECT_LT(requestedAfter, kClosingWait + 2 * kNewWindowPollInterval);
    }
  }
}

TEST_F(LoadWorkBench, TabsOfOneWindowComeBackAsTabsOrAsWindowsACaptionApart) {
  desktop_.SetCaptionHeight(30);
  const std::string tabs = "\n1=" + Record("C:\\A", {10, 20, 610, 520}, 1, {10, 20, 610, 520}) + "\t1" +
                           "\n2=" + Record("C:\\B", {500, 500, 900, 900}, 1, {500, 500, 900, 900}) +
                           "\n3=" + Record("C:\\A2", {10, 20, 610, 520}, 1, {10, 20, 610, 520}) + "\t1" +
                           "\n4=" + Record("C:\\A3", {10, 20, 610, 520}, 1, {10, 20, 610, 520}) + "\t1\n";
  WorkBenchText("[R]" + tabs);
  RestoreResult result = Load("R");
  EXPECT_TRUE(result.notRestored.empty());
  EXPECT_EQ(result.tabsAsWindows, (std::vector<std::string>{"C:\\A2", "C:\\A3"}));
  ASSERT_EQ(desktop_.OpenedWindows().size(), 4u);
  const std::vector<Rect> expected = {{10, 20, 610, 520}, {500, 500, 900, 900}, {40, 50, 640, 550}, {70, 80, 670, 580}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[i]).rect, expected[i]) << i;
    EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[i]).placement.normalPosition, expected[i]) << i;
  }

  // A shell that opens the folders as tabs of the newest window gives the window back whole.
  SimulatedDesktop tabbing;
  for (const char* path : {"C:\\A2", "C:\\A3"})
    tabbing.OnExplore(path, ExploreBehaviour{.kind = ExploreBehaviour::Kind::OpenTab, .existing = 0});
  Profile settings(files_.SettingsFile());
  FolderWindows organiser(tabbing.AsPlatform(), settings, WorkBenches());
  result = organiser.LoadWorkBench("R");
  EXPECT_TRUE(result.notRestored.empty());
  EXPECT_TRUE(result.tabsAsWindows.empty());
  EXPECT_EQ(tabbing.OpenedWindows().size(), 2u);
  EXPECT_EQ(tabbing.Items().size(), 4u);
}

TEST_F(LoadWorkBench, ScanFromTheEndTakesTheNewestWindow) {
  // While the shell opens C:\A, the user opens another folder window, listed ahead of the new one.
  WindowHandle foreign = 0;
  desktop_.OnExplore("C:\\A", ExploreBehaviour{.meanwhile = [&](SimulatedDesktop& desktop) {
                       foreign = desktop.AddFolderWindow("C:\\Foreign", Rect{7, 7, 107, 107});
                       std::rotate(desktop.Items().begin(), desktop.Items().end() - 1, desktop.Items().end());
                     }});
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n");
  Load("R");
  ASSERT_EQ(desktop_.OpenedWindows().size(), 1u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
  EXPECT_TRUE(CallsOn(foreign).empty());
  EXPECT_EQ(desktop_.Window(foreign).rect, (Rect{7, 7, 107, 107}));
}

TEST_F(LoadWorkBench, PlacesTheShellNamesAreMatchedByNameAndSearchesNamedAtOnce) {
  const std::string thisPc = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
  const std::string search = "search-ms:displayname=x&crumb=location:C%3A%5CA";
  // The shell may spell the parsing name of the window it opens in other letter case.
  desktop_.OnExplore(thisPc, ExploreBehaviour{.reportedPath = "::{20d04fe0-3aea-1069-a2d8-08002b30309d}"});
  WorkBenchText("[R]\n1=" + Record(search, {0, 0, 9, 9}, 1, {}) + "\n2=" + Record(thisPc, {1, 2, 301, 202}, 1, {}) +
                "\n3=" + Record("C:\\A", {5, 6, 305, 206}, 1, {}) + "\n");
  const RestoreResult result = Load("R");
  EXPECT_EQ(result.notRestored, (std::vector<std::string>{search}));
  EXPECT_EQ(desktop_.Count("Explore"), 2);
  EXPECT_EQ(desktop_.Sleeps(), 0);
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{5, 6, 305, 206}));
}

TEST_F(LoadWorkBench, FolderWhoseWindowNeverComesIsReportedAfterTheWait) {
  desktop_.OnExplore("C:\\Never", ExploreBehaviour{.kind = ExploreBehaviour::Kind::Ignore});
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) +
                "\n2=" + Record("C:\\Never", {0, 0, 9, 9}, 1, {}) + "\n3=" + Record("C:\\C", {5, 6, 305, 206}, 1, {}) +
                "\nLast=0\n[Other]\nLast=1\n");
  const auto start = desktop_.Now();

  const RestoreResult result = Load("R");
  EXPECT_EQ(result.notRestored, (std::vector<std::string>{"C:\\Never"}));
  const auto waited = desktop_.Now() - start;
  EXPECT_GE(waited, kNewWindowWait);
  EXPECT_LT(waited, kNewWindowWait + 2 * kSlowPollInterval);
  EXPECT_EQ(desktop_.Sleeps(), kPollsOfAFruitlessWait - 1);
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{5, 6, 305, 206}));
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"R"}));
}

TEST_F(LoadWorkBench, WaitEndsEvenWhenTheClockStandsStill) {
  desktop_.FreezeClock();
  desktop_.OnExplore("C:\\Never", ExploreBehaviour{.kind = ExploreBehaviour::Kind::Ignore});
  desktop_.OnExplore("C:\\Small", ExploreBehaviour{.minWidth = 500, .minHeight = 500});
  WorkBenchText("[R]\n1=" + Record("C:\\Never", {0, 0, 9, 9}, 1, {}) +
                "\n2=" + Record("C:\\Small", {0, 0, 9, 9}, 1, {}) + "\n");
  EXPECT_EQ(Load("R").notRestored, (std::vector<std::string>{"C:\\Never"}));
  EXPECT_EQ(desktop_.Sleeps(), kMaxNewWindowPolls - 1 + kMaxRectangleTries - 1);
}

TEST_F(LoadWorkBench, FolderTheShellRefusesIsSkippedAtOnceAndReported) {
  desktop_.OnExplore("C:\\Missing", ExploreBehaviour{.kind = ExploreBehaviour::Kind::Refuse});
  WorkBenchText("[R]\n1=" + Record("C:\\Missing", {0, 0, 9, 9}, 1, {}) +
                "\n2=" + Record("C:\\B", {3, 4, 303, 204}, 1, {}) + "\n");
  const RestoreResult result = Load("R");
  EXPECT_EQ(result.notRestored, (std::vector<std::string>{"C:\\Missing"}));
  EXPECT_EQ(desktop_.Sleeps(), 0);
  ASSERT_EQ(desktop_.OpenedWindows().size(), 1u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{3, 4, 303, 204}));
}

TEST_F(LoadWorkBench, WindowBroughtForwardInsteadOfOpenedIsNotTakenForANewOne) {
  // A window asked to close is slow to go, and the shell shows it again instead of opening a new one.
  desktop_.SetCloseDelay(1'000'000);
  const WindowHandle old = desktop_.AddFolderWindow("C:\\Same", Rect{0, 0, 300, 300});
  desktop_.OnExplore("C:\\Same", ExploreBehaviour{.kind = ExploreBehaviour::Kind::BringForward, .existing = old});
  WorkBenchText("[R]\n1=" + Record("C:\\Same", {1, 2, 301, 202}, 1, {}) + "\n");
  const auto start = desktop_.Now();

  const RestoreResult result = Load("R");
  EXPECT_EQ(result.notRestored, (std::vector<std::string>{"C:\\Same"}));
  EXPECT_GE(desktop_.Now() - start, kNewWindowWait);
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 0);
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"R"}));
}

TEST_F(LoadWorkBench, FolderOpenedAsATabCountsAsRestoredWithoutMovingItsWindow) {
  // A shell set to open folders in tabs: the second and third folders join the first one's window.
  desktop_.OnExplore("C:\\B", ExploreBehaviour{.kind = ExploreBehaviour::Kind::OpenTab, .appearsAfterSnapshots = 2});
  desktop_.OnExplore("C:\\C", ExploreBehaviour{.kind = ExploreBehaviour::Kind::OpenTab});
  WorkBenchText("[T]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n2=" + Record("C:\\B", {9, 9, 99, 99}, 1, {}) +
                "\n3=" + Record("C:\\C", {8, 8, 88, 88}, 1, {}) + "\n");
  const auto start = desktop_.Now();

  EXPECT_TRUE(Load("T").notRestored.empty());
  ASSERT_EQ(desktop_.OpenedWindows().size(), 1u);
  const WindowHandle w = desktop_.OpenedWindows()[0];
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 1);
  EXPECT_EQ(desktop_.Window(w).rect, (Rect{1, 2, 301, 202}));
  EXPECT_EQ(desktop_.Items().size(), 3u);
  EXPECT_EQ(desktop_.Now() - start, 2 * kNewWindowPollInterval);
}

TEST_F(LoadWorkBench, PlacedWindowMissingFromOneSnapshotIsNotTakenForANewTab) {
  // While B is requested, one snapshot misses A's placed window; B's own window comes a poll later.
  desktop_.OnExplore("C:\\B", ExploreBehaviour{.appearsAfterSnapshots = 2, .meanwhile = [](SimulatedDesktop& desktop) {
                                                 desktop.MissInNextSnapshot(desktop.OpenedWindows().at(0));
                                               }});
  const std::vector<Rect> rects = {{1, 2, 301, 202}, {3, 4, 303, 204}, {5, 6, 305, 206}};
  WorkBenchText("[R]\n1=" + Record("C:\\A", rects[0], 1, rects[0]) + "\n2=" + Record("C:\\B", rects[1], 1, rects[1]) +
                "\n3=" + Record("C:\\C", rects[2], 1, rects[2]) + "\n");

  EXPECT_TRUE(Load("R").notRestored.empty());
  ASSERT_EQ(desktop_.OpenedWindows().size(), 3u);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[i]).rect, rects[i]) << i;
  }
}

TEST_F(LoadWorkBench, WindowComingAfterItsWaitRanOutGetsItsOwnPlaceNotTheNextOnes) {
  // The late window first shows during the next record's wait; the next record's window a poll later,
  // or at the same look as the late one.
  constexpr int kPollsOfOneWait = kPollsOfAFruitlessWait;
  struct Case {
    std::string stored;    // the late folder as the workbench holds it
    std::string reported;  // the same folder as the shell reports its window
    std::string next;      // the next record's folder
  };
  const std::vector<Case> cases = {
      {"C:\\Late", "C:\\Late", "C:\\Next"},
      {"c:\\late\\", "C:\\Late", "C:\\Next"},
      {"C:\\LATEFO~1", "C:\\Late folder", "C:\\Next"},
      // Two katakana whose second bytes are 'A' and 'a': two folders, not one in two cases.
      {"C:\\\x83\x41", "C:\\\x83\x41", "C:\\\x83\x61"},
  };
  for (const Case& c : cases)
    for (const int nextLooks : {1, 0}) {
      SCOPED_TRACE(c.stored + " " + std::to_string(nextLooks));
      desktop_ = SimulatedDesktop();
      desktop_.SetLongPathForm("C:\\LATEFO~1", "C:\\Late folder");
      desktop_.OnExplore(c.stored,
                         ExploreBehaviour{.appearsAfterSnapshots = kPollsOfOneWait, .reportedPath = c.reported});
      desktop_.OnExplore(c.next, ExploreBehaviour{.appearsAfterSnapshots = nextLooks});
      WorkBenchText("[R]\n1=" + Record(c.stored, {1, 2, 301, 202}, 1, {}) +
                    "\n2=" + Record(c.next, {3, 4, 303, 204}, 1, {}) + "\n");

      // Placed after all, so no longer named as not restored.
      EXPECT_TRUE(Load("R").notRestored.empty());
      ASSERT_GE(desktop_.OpenedWindows().size(), 1u);
      EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
      ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
      EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{3, 4, 303, 204}));
    }
}

TEST(FolderPathEnd, SeparatorsAtTheEndGoButNeverTheSecondByteOfACharacter) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\A\\", "C:\\A"},
      {"C:\\A\\/\\", "C:\\A"},
      {"C:\\\x95\x5C", "C:\\\x95\x5C"},  // a folder named with one kanji whose second byte is 0x5C
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C"},
      {"\\\\", ""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(WithoutTrailingSeparators(path), expected) << path;
}

TEST_F(LoadWorkBench, ShellReportingPathsInAnUnknownFormStillRestoresAsBefore) {
  // B opens as a tab of A's window, C in a window of its own; no path reads as a stored one.
  for (const std::string prefix : {"\\\\?\\", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\"}) {
    SCOPED_TRACE(prefix);
    desktop_ = SimulatedDesktop();
    desktop_.OnExplore("C:\\A", ExploreBehaviour{.reportedPath = prefix + "C:\\A"});
    desktop_.OnExplore("C:\\B", ExploreBehaviour{.kind = ExploreBehaviour::Kind::OpenTab,
                                                 .appearsAfterSnapshots = 1,
                                                 .reportedPath = prefix + "C:\\B"});
    desktop_.OnExplore("C:\\C", ExploreBehaviour{.appearsAfterSnapshots = 1, .reportedPath = prefix + "C:\\C"});
    WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n2=" +
                  Record("C:\\B", {9, 9, 99, 99}, 1, {}) + "\n3=" + Record("C:\\C", {5, 6, 305, 206}, 1, {}) + "\n");

    EXPECT_TRUE(Load("R").notRestored.empty());
    ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
    EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
    EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{5, 6, 305, 206}));
    EXPECT_EQ(desktop_.Count("SetWindowPos"), 2);
  }
}

// A window closed at the start of the restore fails while it is read: disconnected, it is passed over
// at once; failing otherwise, the whole snapshot is taken again until it is gone.
struct ClosingCase {
  SimWindow::ClosingFailure failure;
  int sleeps;
};
class ClosingWindow : public LoadWorkBench, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingWindow, FailingWhileItClosesNeverEndsTheRestore) {
  // Still there after the restore's wait for the closed windows (one look per poll), and for three
  // snapshots more.
  const int waitLooks = static_cast<int>(kClosingWait / kNewWindowPollInterval) + 1;
  desktop_.SetCloseDelay(waitLooks + 3);
  const WindowHandle old = desktop_.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
  desktop_.Window(old).failsWhileClosing = GetParam().failure;
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n");

  EXPECT_TRUE(Load("R").notRestored.empty());
  ASSERT_EQ(desktop_.OpenedWindows().size(), 1u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[0]).rect, (Rect{1, 2, 301, 202}));
  EXPECT_EQ(desktop_.Sleeps(), waitLooks - 1 + GetParam().sleeps);  // each failed poll is followed by a short wait
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"R"}));
}

INSTANTIATE_TEST_SUITE_P(Failures, ClosingWindow,
                         ::testing::Values(ClosingCase{SimWindow::ClosingFailure::Gone, 0},
                                           ClosingCase{SimWindow::ClosingFailure::Error, 3}));

TEST_F(LoadWorkBench, ShellThatKeepsFailingEndsTheRestoreWithoutMarking) {
  desktop_.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) +
                "\n2=" + Record("C:\\B", {1, 2, 301, 202}, 1, {}) + "\nLast=0\n[Other]\nLast=1\n");
  const std::string fileBefore = WorkBenchFileText();
  desktop_.BreakShellAfterSnapshots(1);  // the close-all snapshot still works
  const auto start = desktop_.Now();

  EXPECT_THROW(Load("R"), Error);
  // One bounded wait, not one per folder.
  EXPECT_LT(desktop_.Now() - start, 2 * kNewWindowWait);
  EXPECT_EQ(desktop_.Count("Explore"), 1);
  EXPECT_EQ(WorkBenchFileText(), fileBefore);
  EXPECT_EQ(WorkBenches().ReadString("Other", "Last", ""), "1");
}

TEST_F(LoadWorkBench, FailingCloseAllEndsTheRestoreBeforeAnythingOpens) {
  desktop_.AddFolderWindow("C:\\Old", Rect{0, 0, 300, 300});
  desktop_.Items().back().pathFailures = 1;
  WorkBenchText("[R]\n1=C:\\A\n");
  EXPECT_THROW(Load("R"), Error);
  EXPECT_EQ(desktop_.Count("Explore"), 0);
  EXPECT_EQ(desktop_.Count("PostClose"), 0);
}

TEST_F(LoadWorkBench, TheShellsAnswerMayComeLateOrNeverAndTheWaitCountsFromTheRequest) {
  struct Case {
    const char* what;
    ExploreBehaviour slow;  // for C:\\S; C:\\N after it opens at once
    bool slowPlaced;        // at its own record, now or when its window comes late
    bool slowNamed;
    bool waitedTheBound;
  };
  const Case cases[] = {
      {"window before the answer", {.answersAfterSnapshots = 3}, true, false, false},
      {"no answer, no window",
       {.kind = ExploreBehaviour::Kind::Ignore, .answersAfterSnapshots = -1},
       false,
       true,
       true},
      // Placed when it comes, and then no longer named.
      {"no answer, a window after the bound",
       {.appearsAfterSnapshots = kPollsOfAFruitlessWait + 10, .answersAfterSnapshots = -1},
       true,
       false,
       true},
      {"refused after a while",
       {.kind = ExploreBehaviour::Kind::Refuse, .answersAfterSnapshots = 2},
       false,
       true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedDesktop desktop;
    desktop.OnExplore("C:\\S", c.slow);
    // The next folder's window comes late, so that a late window of C:\S is seen while it is awaited.
    desktop.OnExplore("C:\\N", ExploreBehaviour{.appearsAfterSnapshots = 1000});
    const auto start = desktop.Now();
    const RestoreResult result = LoadOn(desktop, "[R]\n1=" + Record("C:\\S", {1, 2, 301, 202}, 1, {}) +
                                                     "\n2=" + Record("C:\\N", {5, 6, 305, 206}, 1, {}) + "\n");
    const bool slowNamed = std::ranges::find(result.notRestored, "C:\\S") != result.notRestored.end();
    EXPECT_EQ(slowNamed, c.slowNamed);
    const bool slowPlaced =
        !desktop.OpenedWindows().empty() && desktop.Window(desktop.OpenedWindows()[0]).rect == Rect{1, 2, 301, 202};
    EXPECT_EQ(slowPlaced, c.slowPlaced);
    EXPECT_EQ(desktop.Count("Explore"), 2);
    // The refused one ends its wait at once, the others within the one bound from their request.
    const auto firstRecordDone = c.waitedTheBound ? kNewWindowWait : std::chrono::milliseconds{0};
    EXPECT_GE(desktop.Now() - start, firstRecordDone);
  }
}

TEST_F(LoadWorkBench, AWindowShownWakesTheWaitThatOtherwiseLooksOnlyNowAndThen) {
  // Comes after the first, quick polls: found at the next slow poll, or at once when the system says so.
  std::chrono::milliseconds took[2];
  for (const bool events : {false, true}) {
    SimulatedDesktop desktop;
    desktop.SetWindowEvents(events);
    desktop.OnExplore("C:\\A", ExploreBehaviour{.appearsAfterSnapshots = 30});
    const auto start = desktop.Now();
    EXPECT_TRUE(LoadOn(desktop, "[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n").notRestored.empty());
    took[events] = desktop.Now() - start;
  }
  EXPECT_GT(took[false], kFastPollingFor + kSlowPollInterval);
  EXPECT_EQ(took[false] - took[true], kSlowPollInterval - std::chrono::milliseconds{1});
}

// While a wait looks, it counts the collection; it reads the new items when the count grows, and the
// whole collection after a while in which nothing came, for a window that went as another came, which
// leaves the count as it was.
TEST_F(LoadWorkBench, TheWaitCountsTheCollectionReadsWhatCameAndAllOfItNowAndThen) {
  const std::string bench =
      "[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n2=" + Record("C:\\B", {5, 6, 305, 206}, 1, {}) +
      "\n3=" + Record("C:\\C", {7, 8, 307, 208}, 1, {}) + "\n4=" + Record("C:\\L", {9, 9, 309, 209}, 1, {}) + "\n";
  int calls[2] = {};
  for (const int looks : {0, 60}) {
    SimulatedDesktop desktop;
    // One the shell keeps hidden all along is no reason to read the collection whole.
    desktop.Window(desktop.AddFolderWindow("C:\\Preloaded", {0, 0, 9, 9})).visible = false;
    desktop.OnExplore("C:\\L", ExploreBehaviour{.appearsAfterSnapshots = looks});
    EXPECT_TRUE(LoadOn(desktop, bench).notRestored.empty());
    calls[looks != 0] = desktop.AutomationCalls();
  }
  // 60 more looks with three windows open: reading them whole each time would be 60 * (2 + 3 * 4).
  EXPECT_LT(calls[1] - calls[0], 60 * 3);

  // Each new window is read alone: twice the folders cost about twice the calls, where snapshots of
  // every window open would cost about four times as many.
  int restoreCalls[2] = {};
  for (const int folders : {8, 16}) {
    SimulatedDesktop desktop;
    std::string text = "[R]\n";
    for (int i = 0; i < folders; ++i)
      text += std::to_string(i + 1) + "=" + Record("C:\\F" + std::to_string(i), {i, i, 300 + i, 200 + i}, 1, {}) + "\n";
    EXPECT_TRUE(LoadOn(desktop, text).notRestored.empty());
    restoreCalls[folders == 16] = desktop.AutomationCalls();
  }
  EXPECT_LT(restoreCalls[1], 2.5 * restoreCalls[0]) << restoreCalls[0] << " " << restoreCalls[1];

  // The first window goes at the very look at which the second one comes.
  desktop_.OnExplore("C:\\B", ExploreBehaviour{.appearsAfterSnapshots = 40, .meanwhile = [](SimulatedDesktop& d) {
                                                 d.SetCloseDelay(40);
                                                 d.PostClose(d.OpenedWindows()[0]);
                                               }});
  WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) +
                "\n2=" + Record("C:\\B", {5, 6, 305, 206}, 1, {}) + "\n");
  const auto start = desktop_.Now();
  EXPECT_TRUE(Load("R").notRestored.empty());
  EXPECT_LT(desktop_.Now() - start, kNewWindowWait);
  ASSERT_EQ(desktop_.OpenedWindows().size(), 2u);
  EXPECT_EQ(desktop_.Window(desktop_.OpenedWindows()[1]).rect, (Rect{5, 6, 305, 206}));

  // Listed before it is shown: watched until it is, and taken at once.
  SimulatedDesktop hidden;
  hidden.OnExplore("C:\\H", ExploreBehaviour{.listedHiddenFor = 20});
  const auto requested = hidden.Now();
  EXPECT_TRUE(LoadOn(hidden, "[R]\n1=" + Record("C:\\H", {1, 2, 301, 202}, 1, {}) + "\n").notRestored.empty());
  EXPECT_LT(hidden.Now() - requested, kFastPollingFor);
}

// Stops when asked after a number of questions, and keeps what it was shown.
class StopAfter final : public RestoreProgress {
 public:
  explicit StopAfter(int questions) : questionsLeft_(questions) {}
  void Opening(std::size_t number, std::size_t count) override {
    shown.push_back(std::to_string(number) + "/" + std::to_string(count));
  }
  bool StopRequested() override {
    if (questionsLeft_ > 0)
      --questionsLeft_;
    else if (questionsLeft_ == 0)
      stopped_ = true;
    return stopped_;
  }
  std::vector<std::string> shown;

 private:
  int questionsLeft_;
  bool stopped_ = false;
};

TEST_F(LoadWorkBench, StoppedItKeepsWhatIsPlacedNamesTheRestAndStillMarksTheWorkbench) {
  struct Case {
    int questions;  // answered "go on" before the first "stop"; -1 never stops
    std::vector<std::string> shown;
    std::size_t opened;
    std::vector<std::string> notRestored;
  };
  // C:\B never opens: its wait asks once per poll.
  const Case cases[] = {
      {-1, {"1/3", "2/3", "3/3"}, 2, {"C:\\B"}},
      {0, {}, 0, {"C:\\A", "C:\\B", "C:\\C"}},
      {1, {"1/3"}, 1, {"C:\\B", "C:\\C"}},
      {5, {"1/3", "2/3"}, 1, {"C:\\B", "C:\\C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.questions);
    SimulatedDesktop desktop;
    desktop.OnExplore("C:\\B", ExploreBehaviour{.kind = ExploreBehaviour::Kind::Ignore});
    WorkBenchText("[R]\n1=" + Record("C:\\A", {1, 2, 301, 202}, 1, {}) + "\n2=" + Record("C:\\B", {0, 0, 9, 9}, 1, {}) +
                  "\n3=" + Record("C:\\C", {5, 6, 305, 206}, 1, {}) + "\nLast=0\n[Other]\nLast=1\n");
    Profile settings(files_.SettingsFile());
    Profile workBenches(files_.WorkBenchFile());
    FolderWindows organiser(desktop.AsPlatform(), settings, workBenches);
    StopAfter progress(c.questions);
    const auto start = desktop.Now();
    const RestoreResult result = organiser.LoadWorkBench("R", &progress);
    EXPECT_EQ(result.stopped, c.questions >= 0);
    EXPECT_EQ(progress.shown, c.shown);
    EXPECT_EQ(desktop.OpenedWindows().size(), c.opened);
    EXPECT_EQ(result.notRestored, c.notRestored);
    // A stop ends the wait for the folder at once.
    EXPECT_EQ(desktop.Now() - start < kNewWindowWait, c.questions >= 0);
    EXPECT_EQ(LastMarked(), (std::vector<std::string>{"R"}));
  }
}

}  // namespace
}  // namespace zarn::test
