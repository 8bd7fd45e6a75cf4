#include "core/Profile.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

#include "core/AtomicFile.h"
#include "core/Error.h"

namespace zarn {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace fs = std::filesystem;

// A fresh directory per test, removed again afterwards.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("zarn-profile-" + std::to_string(stamp) + "-" + std::to_string(counter++) +
                                         "-" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A profile read from the given bytes, as if loaded from a file.
Profile Loaded(std::string_view bytes) {
  Profile profile("unused.ini");
  std::vector<std::string> lines{std::string(bytes)};
  profile.SetStrings(lines);
  return profile;
}

class ProfileFileTest : public ::testing::Test {
 protected:
  fs::path File(const std::string& name = "Zarn.ini") const { return dir_.path() / name; }
  TempDir dir_;
};

// ---------------------------------------------------------------------------------------------
// The number rule

// ---------------------------------------------------------------------------------------------
// Reading rules

TEST(ProfileReadTest, CutsLinesAtCrLfLfAndCr) {
  const Profile profile = Loaded("[S]\r\na=1\nb=2\rc=3\r\n\r\nd=4\n\re=5");
  EXPECT_THAT(profile.ReadSection("S"), ElementsAre("a", "b", "c", "d", "e"));
  EXPECT_EQ(profile.ReadString("S", "c", "-"), "3");
  EXPECT_EQ(profile.ReadString("S", "e", "-"), "5");
}

TEST(ProfileReadTest, NulEndsTheText) {
  const Profile profile = Loaded(std::string("[S]\na=1\nb=2\0\nc=3\n[T]\nd=4\n", 26));
  EXPECT_THAT(profile.ReadSection("S"), ElementsAre("a", "b"));
  EXPECT_THAT(profile.ReadSections(), ElementsAre("S"));
  EXPECT_EQ(profile.ReadString("S", "b", "-"), "2");
}

TEST(ProfileReadTest, TrimsBlanksAroundLinesKeysAndValues) {
  const Profile profile = Loaded("  [ Config ]  \n\t Left \t= \t 12 \x01\n Name=a b \nPath=C:\\\x83\x5C\n");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("Config"));
  EXPECT_EQ(profile.ReadInteger("config", "left", 0), 12);
  EXPECT_EQ(profile.ReadString("Config", "Name", "-"), "a b");
  // "\x83\x5C" ends in the byte of a backslash; it is one character and stays whole.
  EXPECT_EQ(profile.ReadString("Config", "Path", "-"), "C:\\\x83\x5C");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[Config]", "Left=12", "Name=a b", "Path=C:\\\x83\x5C", ""));
}

TEST(ProfileReadTest, DropsCommentsEmptyLinesAndLinesBeforeTheFirstSection) {
  const Profile profile = Loaded("top=1\n; intro\n\n[S]\n;a=1\n  ; b=2\n\n  \nc=3\n");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "c=3", ""));
  EXPECT_EQ(profile.ReadString("S", ";a", "-"), "-");
}

TEST(ProfileReadTest, SplitsAtTheFirstEquals) {
  const Profile profile = Loaded("[S]\na = b = c\n = v \n==\n");
  EXPECT_EQ(profile.ReadString("S", "a", "-"), "b = c");
  EXPECT_EQ(profile.ReadString("S", "", "-"), "=");  // the last of the two empty keys
  EXPECT_THAT(profile.ReadSection("S"), ElementsAre("a", "", ""));
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "a=b = c", "=v", "==", ""));
}

TEST(ProfileReadTest, HeaderNeedsBothBrackets) {
  const Profile profile = Loaded("[A]\n[B\nC]\n[]\nx=1\n[ [D] ]\ny=2\n");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("A", "", "[D]"));
  EXPECT_THAT(profile.ReadSection("A"), ElementsAre("", ""));
  EXPECT_EQ(profile.ReadString("", "x", "-"), "1");
  EXPECT_EQ(profile.ReadString("[d]", "Y", "-"), "2");
}

TEST(ProfileReadTest, HeaderIsFoundOnlyWhereItIsTheWholeLine) {
  const Profile profile = Loaded(
      "[A]\nk=[v]\nx[B]\n; [C]\n[D] ;\n \t[E]\t\r\n"
      "j=1\n[F]x\n\x83[G]\n[[H]]\n[I]\r[J]\n[K");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("A", "E", "[H]", "I", "J"));
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[A]", "k=[v]", "x[B]", "[D] ;", "", "[E]", "j=1", "[F]x", "\x83[G]",
                                                "", "[[H]]", "", "[I]", "", "[J]", "[K", ""));
}

TEST(ProfileReadTest, SectionsReadLateStillAnswerEveryOperation) {
  // Each operation is the first to touch its section's lines.
  Profile profile = Loaded("[A]\n a = 1 \n[B]\nb=2\n[C]\n;only a comment\n[D]\nd=4\n[E]\ne=5\n[F]\nf=6\n");
  EXPECT_EQ(profile.ReadString("a", "A", "-"), "1");
  EXPECT_THAT(profile.ReadSection("B"), ElementsAre("b"));
  EXPECT_FALSE(profile.SectionExists("C"));
  profile.DeleteKey("D", "d");
  profile.WriteString("E", "e", "50");
  EXPECT_EQ(profile.ReadInteger("F", "f", 0), 6);
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[A]", "a=1", "", "[B]", "b=2", "", "[C]", "", "[D]", "", "[E]", "e=50",
                                                "", "[F]", "f=6", ""));
}

TEST(ProfileReadTest, LineWithoutEqualsIsKeptButNeverFoundByKey) {
  Profile profile = Loaded("[S]\n\x83\x65\x83\x58\x83\x67\nplain\n=empty\n");
  EXPECT_THAT(profile.ReadSection("S"), ElementsAre("", "", ""));
  EXPECT_EQ(profile.ReadString("S", "plain", "-"), "-");
  // The empty key finds only the line whose key really is empty.
  EXPECT_EQ(profile.ReadString("S", "", "-"), "empty");
  profile.DeleteKey("S", "");
  EXPECT_EQ(profile.ReadString("S", "", "-"), "-");
  profile.DeleteKey("S", "");
  profile.DeleteKey("S", "plain");
  profile.WriteString("S", "", "again");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "\x83\x65\x83\x58\x83\x67", "plain", "=again", ""));
}

// ---------------------------------------------------------------------------------------------
// Duplicates and case

TEST(ProfileDuplicateTest, DuplicateSectionsStaySeparateAndTheLastOneAnswers) {
  Profile profile = Loaded("[Config]\nLeft=1\nTop=5\n[other]\nk=v\n[CONFIG]\nLeft=2\n");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("Config", "other", "CONFIG"));
  EXPECT_EQ(profile.ReadInteger("Config", "Left", 0), 2);
  // The last section answers alone: a key only the first one holds is missing.
  EXPECT_EQ(profile.ReadInteger("Config", "Top", 0), 0);
  profile.WriteInteger("config", "Top", 7);
  profile.WriteInteger("config", "Left", 3);
  EXPECT_THAT(profile.GetStrings(),
              ElementsAre("[Config]", "Left=1", "Top=5", "", "[other]", "k=v", "", "[CONFIG]", "Left=3", "Top=7", ""));
}

TEST(ProfileDuplicateTest, EmptyLastSectionHidesEarlierContent) {
  const Profile profile = Loaded("[W]\n1=a\n[w]\n");
  EXPECT_FALSE(profile.SectionExists("W"));
  EXPECT_EQ(profile.ReadString("W", "1", "-"), "-");
  EXPECT_THAT(profile.ReadSection("W"), IsEmpty());
}

TEST(ProfileDuplicateTest, DuplicateKeysActOnTheLastLine) {
  Profile profile = Loaded("[S]\nk=1\nx=0\nK=2\nk=3\n");
  EXPECT_EQ(profile.ReadString("S", "k", "-"), "3");
  profile.WriteString("S", "k", "4");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "k=1", "x=0", "K=2", "k=4", ""));
  profile.DeleteKey("S", "K");
  EXPECT_EQ(profile.ReadString("S", "k", "-"), "2");
  profile.WriteString("S", "K", "5");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "k=1", "x=0", "K=5", ""));
  profile.DeleteKey("S", "k");
  profile.DeleteKey("S", "k");
  EXPECT_EQ(profile.ReadString("S", "k", "-"), "-");
  profile.DeleteKey("S", "k");  // nothing left to delete
  profile.WriteString("S", "k", "6");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "x=0", "k=6", ""));
}

TEST(ProfileDuplicateTest, KeyAddedAfterADuplicateFollowsIt) {
  Profile profile = Loaded("[S]\na=1\na=2\n");
  profile.DeleteKey("S", "a");
  profile.WriteString("S", "b", "x");
  profile.WriteString("S", "A", "3");  // replaces the surviving a=1 in place
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "A=3", "b=x", ""));
}

TEST(ProfileCaseTest, TrailByteLettersAreNotFolded) {
  Profile profile("unused.ini");
  profile.WriteString("\x83\x41", "k", "upper");
  profile.WriteString("\x83\x61", "k", "lower");
  profile.WriteString("S", "\x83\x41", "1");
  profile.WriteString("S", "\x83\x61", "2");
  // Kept as written: a code page 932 character and the letter after it stay one string apart.
  // clang-format off
  profile.WriteString("S", "\x83\x41" "a", "3");
  profile.WriteString("S", "\x83\x41" "A", "4");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("\x83\x41", "\x83\x61", "S"));
  EXPECT_EQ(profile.ReadString("\x83\x41", "K", "-"), "upper");
  EXPECT_EQ(profile.ReadString("\x83\x61", "K", "-"), "lower");
  EXPECT_THAT(profile.ReadSection("s"), ElementsAre("\x83\x41", "\x83\x61", "\x83\x41" "A"));
  EXPECT_EQ(profile.ReadString("s", "\x83\x61", "-"), "2");
  EXPECT_EQ(profile.ReadString("s", "\x83\x41" "a", "-"), "4");
  // clang-format on
}

TEST(ProfileCaseTest, SpellingIsKeptAsFirstWrittenForSectionsAsLastWrittenForKeys) {
  Profile profile("unused.ini");
  profile.WriteString("WorkBench", "Last", "0");
  profile.WriteString("WORKBENCH", "LAST", "1");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[WorkBench]", "LAST=1", ""));
}

// ---------------------------------------------------------------------------------------------
// Writing in memory

TEST(ProfileWriteTest, ValuesAndNamesAreStoredUntrimmedUntilTheNextRead) {
  Profile profile("unused.ini");
  profile.WriteString(" Sp ", " k ", "  v \t");
  EXPECT_EQ(profile.ReadString(" Sp ", " k ", "-"), "  v \t");
  EXPECT_EQ(profile.ReadString("Sp", "k", "-"), "-");
  const std::vector<std::string> written = profile.GetStrings();
  EXPECT_THAT(written, ElementsAre("[ Sp ]", " k =  v \t", ""));
  Profile reread("unused.ini");
  reread.SetStrings(written);
  EXPECT_EQ(reread.ReadString("Sp", "k", "-"), "v");
  EXPECT_THAT(reread.ReadSections(), ElementsAre("Sp"));
}

TEST(ProfileWriteTest, IntegersAndBools) {
  Profile profile("unused.ini");
  profile.WriteBool("Config", "TitleBarView", true);
  profile.WriteBool("Config", "Hidden", false);
  profile.WriteInteger("Config", "Left", -2147483647 - 1);
  profile.WriteInteger("Config", "Top", 0);
  EXPECT_THAT(profile.GetStrings(),
              ElementsAre("[Config]", "TitleBarView=1", "Hidden=0", "Left=-2147483648", "Top=0", ""));
  EXPECT_EQ(profile.ReadInteger("Config", "Left", 5), INT32_MIN);
  EXPECT_TRUE(profile.ReadBool("Config", "TitleBarView", false));
  EXPECT_FALSE(profile.ReadBool("Config", "Hidden", true));
}

TEST(ProfileWriteTest, UnparsableOrMissingNumbersGiveTheDefault) {
  Profile profile = Loaded("[Config]\nA=0x2\nB=x2\nC=two\nD=2 \nE=\nF=$FFFFFFFF\nG=yes\nH=-3\n");
  EXPECT_EQ(profile.ReadInteger("Config", "A", 9), 2);
  EXPECT_EQ(profile.ReadInteger("Config", "B", 9), 2);
  EXPECT_EQ(profile.ReadInteger("Config", "C", 9), 9);
  EXPECT_EQ(profile.ReadInteger("Config", "E", 9), 9);
  EXPECT_EQ(profile.ReadInteger("Config", "F", 9), -1);
  EXPECT_EQ(profile.ReadInteger("Config", "Z", 9), 9);
  EXPECT_EQ(profile.ReadInteger("None", "A", 9), 9);
  EXPECT_TRUE(profile.ReadBool("Config", "G", true));    // unparsable: default 1
  EXPECT_FALSE(profile.ReadBool("Config", "G", false));  // unparsable: default 0
  EXPECT_TRUE(profile.ReadBool("Config", "H", false));   // any non-zero number is true
  // Read from the file, "2 " was trimmed; written with a blank, it stays and fails.
  EXPECT_EQ(profile.ReadInteger("Config", "D", 9), 2);
  profile.WriteString("Config", "D", "2 ");
  EXPECT_EQ(profile.ReadInteger("Config", "D", 9), 9);
}

TEST(ProfileWriteTest, MissingSectionIsAppendedAtTheEnd) {
  Profile profile = Loaded("[A]\nk=1\n[B]\nk=2\n");
  profile.WriteString("c", "k", "3");
  profile.WriteString("a", "j", "4");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("A", "B", "c"));
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[A]", "k=1", "j=4", "", "[B]", "k=2", "", "[c]", "k=3", ""));
}

TEST(ProfileWriteTest, DeleteKeyKeepsTheEmptySectionWhichThenCountsAsAbsent) {
  Profile profile = Loaded("[W]\n1=a\nLast=1\n");
  EXPECT_TRUE(profile.SectionExists("w"));
  for (const std::string& key : profile.ReadSection("W")) profile.DeleteKey("W", key);
  EXPECT_FALSE(profile.SectionExists("W"));
  EXPECT_THAT(profile.ReadSections(), ElementsAre("W"));
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[W]", ""));
  profile.DeleteKey("Missing", "1");  // no such section: nothing happens, nothing is added
  EXPECT_THAT(profile.ReadSections(), ElementsAre("W"));
  profile.WriteString("w", "Last", "1");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[W]", "Last=1", ""));
}

TEST(ProfileWriteTest, KeyHoldingEqualsIsStoredAsItsFirstPart) {
  // The line's key is what precedes its first "="; written back and read again it stays the same.
  Profile profile("unused.ini");
  profile.WriteString("S", "a=b", "c");
  EXPECT_EQ(profile.ReadString("S", "a", "-"), "b=c");
  EXPECT_EQ(profile.ReadString("S", "a=b", "-"), "-");
  EXPECT_THAT(profile.ReadSection("S"), ElementsAre("a"));
  profile.WriteString("S", "a", "d");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[S]", "a=d", ""));
}

TEST(ProfileWriteTest, ClearAndSetStringsReplaceEverything) {
  Profile profile = Loaded("[A]\nk=1\n");
  profile.SetStrings({"[B]", "j = 2", "", "[C]"});
  EXPECT_THAT(profile.ReadSections(), ElementsAre("B", "C"));
  EXPECT_EQ(profile.ReadString("A", "k", "-"), "-");
  EXPECT_EQ(profile.ReadString("B", "j", "-"), "2");
  profile.Clear();
  EXPECT_THAT(profile.ReadSections(), IsEmpty());
  EXPECT_THAT(profile.GetStrings(), IsEmpty());
  profile.WriteString("A", "k", "v");
  EXPECT_THAT(profile.GetStrings(), ElementsAre("[A]", "k=v", ""));
}

TEST(ProfileWriteTest, ManyDeletesAndRewritesKeepOrderAndContent) {
  // Enough churn to drop tombstones and repack the text several times over.
  Profile profile("unused.ini");
  const std::string payload(200, 'p');
  for (int round = 0; round < 3; ++round) {
    for (int k = 1; k <= 3000; ++k) profile.WriteString("W", std::to_string(k), payload + std::to_string(k + round));
    for (int k = 1; k <= 3000; k += 2) profile.DeleteKey("W", std::to_string(k));
    for (int k = 1; k <= 3000; k += 3) profile.WriteString("W", std::to_string(k), "r" + std::to_string(round));
  }
  const std::vector<std::string> keys = profile.ReadSection("W");
  ASSERT_EQ(keys.size(), 2000u);  // the even keys, and the odd ones written back at k = 1 mod 3
  EXPECT_EQ(keys[0], "2");
  for (int k = 1; k <= 3000; ++k) {
    const std::string value = profile.ReadString("W", std::to_string(k), "-");
    if (k % 3 == 1) {
      EXPECT_EQ(value, "r2") << k;
    } else if (k % 2 == 0) {
      EXPECT_EQ(value, payload + std::to_string(k + 2)) << k;
    } else {
      EXPECT_EQ(value, "-") << k;
    }
  }
  Profile reread("unused.ini");
  reread.SetStrings(profile.GetStrings());
  EXPECT_EQ(reread.GetStrings(), profile.GetStrings());
}

// ---------------------------------------------------------------------------------------------
// Files

TEST_F(ProfileFileTest, MissingFileGivesAnEmptyProfileAndWritesNothing) {
  {
    Profile profile(File());
    EXPECT_THAT(profile.ReadSections(), IsEmpty());
    EXPECT_EQ(profile.ReadInteger("Config", "MainLayerAlpha", 255), 255);
    EXPECT_EQ(profile.FileName(), File());
  }
  EXPECT_FALSE(fs::exists(File()));
}

TEST_F(ProfileFileTest, WrittenFormEndsEverySectionWithAnEmptyLineAndUsesCrLf) {
  WriteAll(File(), "; settings\nstray=1\n[ Config ]\nLeft = 10\n[Work]\n1=C:\\a\tb\n");
  Profile profile(File());
  profile.WriteBool("Config", "TitleBarView", false);
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), "[Config]\r\nLeft=10\r\nTitleBarView=0\r\n\r\n[Work]\r\n1=C:\\a\tb\r\n\r\n");
  EXPECT_FALSE(fs::exists(TemporaryFileFor(File())));
}

TEST_F(ProfileFileTest, EmptyProfileWritesAnEmptyFile) {
  WriteAll(File(), "junk before any section\n");
  Profile profile(File());
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), "");
}

TEST_F(ProfileFileTest, RoundTripKeepsJapaneseBytesDuplicatesAndKeylessLines) {
  const std::string original =
      "[\x83\x8f\x81\x5b\x83\x4e]\r\n1=C:\\\x95\x5c\\\x83\x5c\x83\x74\x83\x67\t1\t2\r\nLast=1\r\n\r\n"
      "[\x83\x8f\x81\x5b\x83\x4e]\r\nplain line\r\n=\r\n\r\n"
      "[Config]\r\nLeft=-5\r\nLeft=6\r\n\r\n";
  WriteAll(File(), original);
  Profile profile(File());
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), original);
  Profile again(File());
  EXPECT_EQ(again.GetStrings(), profile.GetStrings());
  EXPECT_EQ(again.ReadInteger("CONFIG", "left", 0), 6);
}

TEST_F(ProfileFileTest, UnreadableExistingFileThrowsInsteadOfLookingEmpty) {
  fs::create_directory(File());
  try {
    Profile profile(File());
    FAIL() << "a directory was read as a profile";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr(File().filename().string()));
  }
}

TEST_F(ProfileFileTest, FailedWriteThrowsAndLeavesTheOldFileWhole) {
  const std::string old = "[Config]\r\nLeft=1\r\n\r\n";
  WriteAll(File(), old);
  Profile profile(File());
  profile.WriteInteger("Config", "Left", 2);

  // The temporary file's place is taken by a directory: nothing can be written there.
  fs::create_directory(TemporaryFileFor(File()));
  EXPECT_THROW(profile.UpdateFile(), Error);
  EXPECT_EQ(ReadAll(File()), old);
  EXPECT_TRUE(fs::is_directory(TemporaryFileFor(File())));  // not ours to remove
  fs::remove(TemporaryFileFor(File()));

  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), "[Config]\r\nLeft=2\r\n\r\n");
}

TEST_F(ProfileFileTest, ReadOnlyFileIsNotReplacedUntilWritableAgain) {
  const std::string old = "[Config]\r\nLeft=1\r\n\r\n";
  WriteAll(File(), old);
  Profile profile(File());
  profile.WriteInteger("Config", "Left", 2);

  // Replacing goes through the folder, so without its own check the write would succeed.
  fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(profile.UpdateFile(), Error);
  EXPECT_EQ(ReadAll(File()), old);
  EXPECT_FALSE(fs::exists(TemporaryFileFor(File())));

  fs::permissions(File(), fs::perms::owner_write, fs::perm_options::add);
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), "[Config]\r\nLeft=2\r\n\r\n");
}

TEST_F(ProfileFileTest, TargetThatIsADirectoryThrowsAndLeavesNoTemporaryFile) {
  fs::create_directory(File());
  WriteAll(File() / "inside.txt", "keep");
  Profile profile(File("other.ini"));
  profile.WriteString("A", "k", "v");
  profile.Rename(File(), false);
  try {
    profile.UpdateFile();
    FAIL() << "a directory was replaced";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr(File().filename().string()));
  }
  EXPECT_FALSE(fs::exists(TemporaryFileFor(File())));
  EXPECT_EQ(ReadAll(File() / "inside.txt"), "keep");
}

TEST_F(ProfileFileTest, WriterLeftWithoutCommitChangesNothing) {
  WriteAll(File(), "old");
  {
    AtomicFileWriter writer(File());
    writer.Append(std::string(1 << 20, 'x'));  // more than one block: some of it reached the disk
    EXPECT_TRUE(fs::exists(TemporaryFileFor(File())));
  }
  EXPECT_EQ(ReadAll(File()), "old");
  EXPECT_FALSE(fs::exists(TemporaryFileFor(File())));
}

TEST_F(ProfileFileTest, WriterWritesLargeContentInPiecesInOrder) {
  std::string expected;
  AtomicFileWriter writer(File());
  for (int i = 0; i < 5000; ++i) {
    const std::string piece = std::to_string(i) + std::string(static_cast<std::size_t>(i % 300), 'a' + i % 26);
    writer.Append(piece);
    expected += piece;
  }
  writer.Append(std::string(300000, 'z'));  // larger than a block on its own
  expected += std::string(300000, 'z');
  writer.Commit();
  EXPECT_EQ(ReadAll(File()), expected);
  EXPECT_THROW(writer.Append("late"), Error);
}

TEST_F(ProfileFileTest, TargetInAMissingDirectoryThrows) {
  Profile profile(dir_.path() / "no-such-dir" / "Zarn.wbf");
  profile.WriteString("A", "k", "v");
  EXPECT_THROW(profile.UpdateFile(), Error);
  EXPECT_FALSE(fs::exists(dir_.path() / "no-such-dir"));
}

TEST_F(ProfileFileTest, StaleTemporaryFileIsReplaced) {
  WriteAll(TemporaryFileFor(File()), "left over from a crash, longer than the new content");
  Profile profile(File());
  profile.WriteString("A", "k", "v");
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File()), "[A]\r\nk=v\r\n\r\n");
  EXPECT_FALSE(fs::exists(TemporaryFileFor(File())));
}

TEST_F(ProfileFileTest, WritingThroughALinkKeepsTheLink) {
  const fs::path real = File("real.wbf");
  WriteAll(real, "[A]\r\nk=1\r\n\r\n");
  fs::create_symlink(real, File("link.wbf"));
  Profile profile(File("link.wbf"));
  profile.WriteString("A", "k", "2");
  profile.UpdateFile();
  EXPECT_TRUE(fs::is_symlink(File("link.wbf")));
  EXPECT_EQ(ReadAll(real), "[A]\r\nk=2\r\n\r\n");
}

TEST_F(ProfileFileTest, RenameWithReloadDiscardsMemoryAndReadsTheFile) {
  WriteAll(File(), "[A]\nk=disk\n");
  Profile profile(File());
  profile.WriteString("A", "k", "memory");
  profile.Rename(File(), true);
  EXPECT_EQ(profile.ReadString("A", "k", "-"), "disk");

  // Another file: its content replaces this one's; a missing one reads as empty, as when opened.
  WriteAll(File("b.ini"), "[B]\nj=1\n");
  profile.Rename(File("b.ini"), true);
  EXPECT_EQ(profile.FileName(), File("b.ini"));
  EXPECT_THAT(profile.ReadSections(), ElementsAre("B"));
  profile.Rename(File("none.ini"), true);
  EXPECT_THAT(profile.ReadSections(), IsEmpty());
}

TEST_F(ProfileFileTest, RenameWithoutReloadKeepsMemoryForTheNextWrite) {
  WriteAll(File(), "[A]\nk=disk\n");
  Profile profile(File());
  profile.WriteString("A", "k", "memory");
  profile.Rename(File("copy.ini"), false);
  profile.UpdateFile();
  EXPECT_EQ(ReadAll(File("copy.ini")), "[A]\r\nk=memory\r\n\r\n");
  EXPECT_EQ(ReadAll(File()), "[A]\nk=disk\n");
}

TEST_F(ProfileFileTest, FailedReloadKeepsContentAndName) {
  WriteAll(File(), "[A]\nk=v\n");
  Profile profile(File());
  fs::create_directory(File("dir.ini"));
  EXPECT_THROW(profile.Rename(File("dir.ini"), true), Error);
  EXPECT_EQ(profile.FileName(), File());
  EXPECT_EQ(profile.ReadString("A", "k", "-"), "v");
}

TEST_F(ProfileFileTest, SecondProfileRewritesAndFirstReloads) {
  // How the organiser commits: a second object writes the file, the first one reloads it.
  WriteAll(File("Zarn.wbf"), "[One]\n1=C:\\a\nLast=1\n[Two]\n1=C:\\b\nLast=0\n");
  Profile kept(File("Zarn.wbf"));
  {
    Profile rewrite(File("Zarn.wbf"));
    rewrite.Clear();
    rewrite.WriteString("Two", "1", "C:\\b");
    rewrite.WriteString("Two", "Last", "0");
    rewrite.UpdateFile();
  }
  kept.Rename(File("Zarn.wbf"), true);
  EXPECT_THAT(kept.ReadSections(), ElementsAre("Two"));
}

}  // namespace
}  // namespace zarn
