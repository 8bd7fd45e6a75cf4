#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "SimulatedDesktop.h"
#include "core/Error.h"
#include "core/WorkBenchRecord.h"

namespace zarn::test {
namespace {

class SaveWorkBench : public DesktopTest {
 protected:
  SaveResult Save(const std::string& name, bool isNew, bool answer = true) {
    return Organiser().SaveWorkBench(name, isNew, [this, answer] {
      ++questions_;
      return answer;
    });
  }
  std::vector<std::string> KeysOnDisk(const std::string& section) const {
    return WorkBenchesOnDisk().ReadSection(section);
  }
  int questions_ = 0;
};

TEST_F(SaveWorkBench, StoresEveryWindowAsANumberedRecordThenLast) {
  const Placement maxPlacement{3, {-1, -1}, {-8, -8}, {100, 50, 900, 650}};
  desktop_.AddFolderWindow(AsciiPath("C:\\Work"), Rect{-8, -8, 1928, 1088}, maxPlacement);
  desktop_.AddOtherWindow();
  desktop_.AddFolderWindow("D:\\Data", Rect{-1900, 10, -1000, 700});

  const SaveResult result = Save("Morning", true);
  EXPECT_TRUE(result.saved);
  EXPECT_TRUE(result.leftOut.empty());
  EXPECT_EQ(questions_, 0);
  EXPECT_EQ(WorkBenchFileText(),
            "[Morning]\r\n"
            "1=C:\\Work\t-8\t-8\t1936\t1096\t3\t-1\t-1\t-8\t-8\t50\t100\t900\t650\r\n"
            "2=D:\\Data\t-1900\t10\t900\t690\t1\t-1\t-1\t-1\t-1\t10\t-1900\t-1000\t700\r\n"
            "Last=1\r\n"
            "\r\n");
}

// A window that closes or hangs while it is read is left out and named with the others left out; the
// save goes on, and so do the arrangements.
TEST_F(SaveWorkBench, WindowThatFailsWhileReadIsLeftOutAndTheRestIsSaved) {
  desktop_.AddFolderWindow("C:\\Before", Rect{0, 0, 100, 100});
  const WindowHandle hung = desktop_.AddFolderWindow("C:\\Hung", Rect{0, 0, 100, 100});
  desktop_.AddFolderWindow("C:\\After", Rect{0, 0, 100, 100});
  desktop_.Items()[1].gone = true;

  const SaveResult result = Save("Mixed", true);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.leftOut.size(), 1u);
  EXPECT_EQ(KeysOnDisk("Mixed"), (std::vector<std::string>{"1", "2", "Last"}));
  EXPECT_NE(WorkBenchesOnDisk().ReadString("Mixed", "2", "").find("C:\\After"), std::string::npos);
  Organiser().TileWindows();
  EXPECT_EQ(desktop_.Count("SetWindowPos"), 2);
  EXPECT_EQ(desktop_.LogFor(hung), std::vector<std::string>{});
}

// Windows on another virtual desktop (cloaked) and windows the shell keeps hidden are not the user's
// to save, arrange or close.
TEST_F(SaveWorkBench, WindowsNotShownToTheUserAreLeftAlone) {
  desktop_.AddFolderWindow("C:\\Here", Rect{0, 0, 100, 100});
  const WindowHandle elsewhere = desktop_.AddFolderWindow("C:\\OtherDesktop", Rect{0, 0, 100, 100});
  const WindowHandle hidden = desktop_.AddFolderWindow("C:\\Preloaded", Rect{0, 0, 100, 100});
  desktop_.Window(elsewhere).cloaked = true;
  desktop_.Window(hidden).visible = false;

  const SaveResult result = Save("Here", true);
  EXPECT_TRUE(result.leftOut.empty());
  EXPECT_EQ(KeysOnDisk("Here"), (std::vector<std::string>{"1", "Last"}));
  Organiser().TileWindows();
  Organiser().CascadeWindows(true);
  Organiser().CloseAllWindows();
  for (WindowHandle window : {elsewhere, hidden}) EXPECT_EQ(desktop_.LogFor(window), std::vector<std::string>{});
}

TEST_F(SaveWorkBench, WithNoWindowsOnlyLastRemains) {
  WorkBenchText("[Empty]\n1=C:\\A\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\nLast=0\n");
  Save("Empty", false);
  EXPECT_EQ(KeysOnDisk("Empty"), (std::vector<std::string>{"Last"}));
  EXPECT_EQ(WorkBenchesOnDisk().ReadString("Empty", "Last", ""), "1");
}

TEST_F(SaveWorkBench, FewerWindowsReplaceTheWholeWorkBenchInPlace) {
  std::string text = "[First]\nLast=1\n[Big]\n";
  for (int k = 1; k <= 8; ++k) text += std::to_string(k) + "=C:\\Old" + std::to_string(k) + "\n";
  text += "Last=0\n[Third]\n1=C:\\T\n";
  WorkBenchText(text);
  for (int k = 1; k <= 5; ++k) desktop_.AddFolderWindow("C:\\New" + std::to_string(k), Rect{0, 0, 100, 100});

  Save("Big", false);
  const Profile disk = WorkBenchesOnDisk();
  EXPECT_EQ(disk.ReadSections(), (std::vector<std::string>{"First", "Big", "Third"}));
  EXPECT_EQ(disk.ReadSection("Big"), (std::vector<std::string>{"1", "2", "3", "4", "5", "Last"}));
  EXPECT_EQ(ParseRecordLine(disk.ReadString("Big", "5", "")).path, "C:\\New5");
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"Big"}));
  // A section that had no Last gets one at its end.
  EXPECT_EQ(disk.ReadSection("Third"), (std::vector<std::string>{"1", "Last"}));
  EXPECT_EQ(disk.ReadString("Third", "Last", ""), "0");
}

TEST_F(SaveWorkBench, AnExistingNameIsOverwrittenOnlyWhenConfirmed) {
  const std::string before = "[A]\n1=C:\\Keep\nLast=1\n[B]\nLast=0\n";
  WorkBenchText(before);
  const std::string fileBefore = WorkBenchFileText();
  desktop_.AddFolderWindow("C:\\New", Rect{0, 0, 100, 100});

  const SaveResult declined = Save("a", true, false);
  EXPECT_FALSE(declined.saved);
  EXPECT_EQ(questions_, 1);
  EXPECT_EQ(WorkBenchFileText(), fileBefore);
  EXPECT_EQ(WorkBenches().ReadString("A", "1", ""), "C:\\Keep");
  EXPECT_EQ(desktop_.Snapshots(), 0);  // declined before the windows were even looked at

  const SaveResult confirmed = Save("a", true, true);
  EXPECT_TRUE(confirmed.saved);
  EXPECT_EQ(questions_, 2);
  const Profile disk = WorkBenchesOnDisk();
  // Same section, first spelling kept, still first.
  EXPECT_EQ(disk.ReadSections(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ParseRecordLine(disk.ReadString("A", "1", "")).path, "C:\\New");
  EXPECT_EQ(LastMarked(), (std::vector<std::string>{"A"}));
}

TEST_F(SaveWorkBench, NoQuestionForAnEmptySectionOrAnExplicitOverwrite) {
  WorkBenchText("[Hollow]\n[Full]\n1=C:\\X\n");
  Save("Hollow", true, false);
  Save("FULL", false, false);
  EXPECT_EQ(questions_, 0);
  EXPECT_EQ(WorkBenchesOnDisk().ReadSections(), (std::vector<std::string>{"Hollow", "Full"}));
  EXPECT_EQ(WorkBenchesOnDisk().ReadSection("Full"), (std::vector<std::string>{"Last"}));
}

TEST_F(SaveWorkBench, KeepsALineWithoutEqualsSign) {
  WorkBenchText("[W]\n1=C:\\Old\nsome note\nLast=0\n");
  desktop_.AddFolderWindow("C:\\New", Rect{0, 0, 100, 100});
  Save("W", false);
  EXPECT_EQ(WorkBenchesOnDisk().ReadSection("W"), (std::vector<std::string>{"", "1", "Last"}));
  EXPECT_NE(WorkBenchFileText().find("\r\nsome note\r\n"), std::string::npos);
}

TEST_F(SaveWorkBench, FailingSnapshotDeletesNothing) {
  WorkBenchText("[W]\n1=C:\\Old\nLast=1\n[V]\nLast=0\n");
  const std::string fileBefore = WorkBenchFileText();
  const std::vector<std::string> memoryBefore = WorkBenches().GetStrings();
  desktop_.AddFolderWindow("C:\\New", Rect{0, 0, 100, 100});
  desktop_.Items().back().pathFailures = 1;
  EXPECT_THROW(Save("W", false), Error);
  EXPECT_EQ(WorkBenches().GetStrings(), memoryBefore);
  EXPECT_EQ(WorkBenchFileText(), fileBefore);
}

TEST_F(SaveWorkBench, KeepsEveryTabOfAWindowMarkedWithItsWindowsFirstRecord) {
  const WindowHandle a = desktop_.AddFolderWindow("C:\\A", Rect{0, 0, 100, 100});
  desktop_.AddFolderWindow("C:\\B", Rect{0, 0, 100, 100});
  desktop_.AddTab(a, "C:\\A\\Sub");
  desktop_.AddTab(a, "C:\\A");
  // A window whose other tab cannot be stored is a window with one tab in the file.
  const WindowHandle c = desktop_.AddFolderWindow("C:\\C", Rect{0, 0, 100, 100});
  desktop_.Items().push_back(SimItem{c, ShellFolderPath{"C:\\?", u"C:\\\u00E9", false}});
  Save("Tabs", true);
  const Profile disk = WorkBenchesOnDisk();
  EXPECT_EQ(disk.ReadSection("Tabs"), (std::vector<std::string>{"1", "2", "3", "4", "5", "Last"}));
  const std::vector<std::pair<std::string, std::int32_t>> expected = {
      {"C:\\A", 1}, {"C:\\B", 0}, {"C:\\A\\Sub", 1}, {"C:\\A", 1}, {"C:\\C", 0}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string line = disk.ReadString("Tabs", std::to_string(i + 1), "");
    const WorkBenchRecord record = ParseRecordLine(line);
    EXPECT_EQ(std::pair(record.path, record.tabGroup), expected[i]) << line;
    // A window with one tab keeps the 14 fields older versions wrote.
    EXPECT_EQ(std::ranges::count(line, '\t'), expected[i].second ? 14 : 13) << line;
  }
}

TEST_F(SaveWorkBench, LeavesOutPathsTheFileCannotHoldAndSaysWhich) {
  desktop_.AddFolderWindow("C:\\One", Rect{0, 0, 100, 100});
  const std::u16string wide = u"C:\\\u00E9t\u00E9";  // accented letters: no code page 932 form
  Placement normal;
  normal.showCmd = 1;
  desktop_.AddFolderWindow(ShellFolderPath{"C:\\?t?", wide, false}, Rect{0, 0, 100, 100}, normal);
  desktop_.AddFolderWindow(ShellFolderPath{"C:\\Bad\tName", u"C:\\Bad\tName", true}, Rect{0, 0, 100, 100}, normal);
  desktop_.AddFolderWindow("C:\\Two", Rect{0, 0, 100, 100});

  const SaveResult result = Save("Mixed", true);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.leftOut, (std::vector<std::u16string>{wide, u"C:\\Bad\tName"}));
  const Profile disk = WorkBenchesOnDisk();
  EXPECT_EQ(disk.ReadSection("Mixed"), (std::vector<std::string>{"1", "2", "Last"}));
  EXPECT_EQ(ParseRecordLine(disk.ReadString("Mixed", "2", "")).path, "C:\\Two");
  EXPECT_EQ(WorkBenchFileText().find('?'), std::string::npos);
}

TEST(MarkLastWorkBench, MarksExactlyOneSectionInMemoryOnly) {
  ProfileFiles files;
  ProfileFiles::WriteText(files.WorkBenchFile(), "[A]\r\nLast=1\r\n[B]\r\n1=x\r\n[C]\r\nLast=1\r\n");
  Profile settings(files.SettingsFile());
  Profile workBenches(files.WorkBenchFile());
  SimulatedDesktop desktop;
  FolderWindows organiser(desktop.AsPlatform(), settings, workBenches);
  const std::string before = ProfileFiles::ReadText(files.WorkBenchFile());

  organiser.MarkLastWorkBench("b");
  EXPECT_EQ(workBenches.ReadString("A", "Last", ""), "0");
  EXPECT_EQ(workBenches.ReadString("B", "Last", ""), "1");
  EXPECT_EQ(workBenches.ReadString("C", "Last", ""), "0");
  EXPECT_EQ(workBenches.ReadSection("B"), (std::vector<std::string>{"1", "Last"}));
  EXPECT_EQ(ProfileFiles::ReadText(files.WorkBenchFile()), before);
  EXPECT_TRUE(desktop.Log().empty());
}

}  // namespace
}  // namespace zarn::test
