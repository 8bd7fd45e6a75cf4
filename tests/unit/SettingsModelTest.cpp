#include "core/SettingsModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "core/AtomicFile.h"
#include "core/Error.h"
#include "core/Profile.h"
#include "core/WorkBenchOrganiser.h"

namespace zarn {
namespace {

using ::testing::ElementsAre;
using Result = WorkBenchOrganiser::RenameResult;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A workbench file in a fresh directory, removed again afterwards.
class OrganiserTest : public ::testing::Test {
 protected:
  OrganiserTest() {
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("zarn-organiser-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
            std::to_string(counter++) + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  ~OrganiserTest() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path File() const { return dir_ / "Zarn.wbf"; }
  Profile& Open(std::string_view bytes) {
    std::ofstream(File(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    profile_.emplace(File());
    return *profile_;
  }
  fs::path dir_;
  std::optional<Profile> profile_;
};

// ---- the settings page

struct StoredCase {
  const char* config;  // the lines of [Config] as another editor may have left them
  SettingsValues shown;
  const char* stored[6];  // what OK writes back, in order
};

TEST(SettingsValuesTest, StoredNumbersShowAndStoreAsTheListsAndTrackBarAllow) {
  const StoredCase cases[] = {
      {"",
       {0, 0, true, 0, 255, 0},
       {"MoniterMode=0", "ShowMode=0", "TitleBarView=1", "MainLayerType=0", "MainLayerAlpha=255", "WorkBenchLoad=0"}},
      {"ShowMode=5\nMainLayerAlpha=300\nMoniterMode=-1\nWorkBenchLoad=2\nMainLayerType=3\nTitleBarView=0",
       {std::nullopt, std::nullopt, false, std::nullopt, 255, std::nullopt},
       {"MoniterMode=-1", "ShowMode=-1", "TitleBarView=0", "MainLayerType=-1", "MainLayerAlpha=255",
        "WorkBenchLoad=-1"}},
      {"MoniterMode=$2\nShowMode=0x1\nMainLayerType=x2\nMainLayerAlpha=$80\nWorkBenchLoad=X1\nTitleBarView=$0",
       {2, 1, false, 2, 128, 1},
       {"MoniterMode=2", "ShowMode=1", "TitleBarView=0", "MainLayerType=2", "MainLayerAlpha=128", "WorkBenchLoad=1"}},
      // Text that is no number falls back to the default, as the toolbar reads it.
      {"MoniterMode=one\nMainLayerAlpha=-7\nTitleBarView=yes\nShowMode=$FFFFFFFF",
       {0, std::nullopt, true, 0, 0, 0},
       {"MoniterMode=0", "ShowMode=-1", "TitleBarView=1", "MainLayerType=0", "MainLayerAlpha=0", "WorkBenchLoad=0"}},
  };
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(c.config);
    Profile settings("unused.ini");
    settings.SetStrings({"[Config]", c.config});
    const SettingsValues shown = ReadSettingsValues(settings);
    EXPECT_EQ(shown, c.shown);

    Profile written("never-written.ini");
    WriteSettingsValues(written, shown);
    EXPECT_THAT(written.GetStrings(), ElementsAre("[Config]", c.stored[0], c.stored[1], c.stored[2], c.stored[3],
                                                  c.stored[4], c.stored[5], ""));
    EXPECT_FALSE(fs::exists("never-written.ini"));
  }
}

TEST(SettingsValuesTest, PreviewsFollowTheChosenLayerType) {
  using Kind = LayerAction;
  struct Case {
    std::optional<std::int32_t> type;
    Kind byType;
    std::uint32_t byTypeValue;
    Kind byAlpha;
  };
  const Case cases[] = {{0, Kind::Alpha, 255, Kind::Nothing},
                        {1, Kind::ColourKey, 0x00C0D0E0, Kind::Nothing},
                        {2, Kind::Alpha, 77, Kind::Alpha},
                        {std::nullopt, Kind::Nothing, 0, Kind::Nothing}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type.value_or(-1));
    SettingsValues values;
    values.mainLayerType = c.type;
    values.mainLayerAlpha = 77;
    const LayerRequest byType = PreviewForLayerType(values, 0xFFC0D0E0);
    EXPECT_EQ(byType.action, c.byType);
    EXPECT_EQ(byType.value, c.byTypeValue);
    const LayerRequest byAlpha = PreviewForAlpha(values);
    EXPECT_EQ(byAlpha.action, c.byAlpha);
    EXPECT_EQ(byAlpha.value, c.byAlpha == Kind::Alpha ? 77u : 0u);
  }
}

// ---- the organiser page

TEST_F(OrganiserTest, MovesStopAtTheEndsAndDeleteDropsTheSelection) {
  WorkBenchOrganiser organiser(Open("[A]\n1=a\n[B]\n1=b\n[C]\n1=c\n"));
  EXPECT_EQ(organiser.Selected(), std::nullopt);
  EXPECT_FALSE(organiser.MoveUp());
  EXPECT_FALSE(organiser.Delete());
  organiser.Select(3);
  EXPECT_EQ(organiser.Selected(), std::nullopt);

  organiser.Select(0);
  EXPECT_FALSE(organiser.MoveUp());
  EXPECT_TRUE(organiser.MoveDown());
  EXPECT_TRUE(organiser.MoveDown());
  EXPECT_FALSE(organiser.MoveDown());
  EXPECT_EQ(organiser.Selected(), 2u);
  EXPECT_THAT(organiser.Rows(), ElementsAre("B", "C", "A"));
  EXPECT_TRUE(organiser.MoveUp());
  EXPECT_TRUE(organiser.Delete());
  EXPECT_EQ(organiser.Selected(), std::nullopt);
  EXPECT_THAT(organiser.Rows(), ElementsAre("B", "C"));
}

TEST_F(OrganiserTest, RenameRefusesNamesTheProfileStillHoldsInAnyLetterCase) {
  Profile& profile = Open("[Alpha]\n1=a\n[Beta]\n1=b\n[Gamma]\n1=g\n");
  const auto before = profile.GetStrings();
  WorkBenchOrganiser organiser(profile);
  EXPECT_EQ(organiser.Rename("New"), Result::NoSelection);
  organiser.Select(1);
  ASSERT_TRUE(organiser.Delete());  // Beta stays in the profile until Commit
  organiser.Select(0);
  for (const char* name : {"ALPHA", " alpha", "gamma\t", "BETA"}) {
    EXPECT_EQ(organiser.Rename(name), Result::AlreadyRegistered) << name;
  }
  EXPECT_THAT(organiser.Rows(), ElementsAre("Alpha", "Gamma"));
  EXPECT_EQ(profile.GetStrings(), before);
}

TEST_F(OrganiserTest, TrimmedRenameIsCommittedInListOrderWithoutEmptySections) {
  Profile& profile = Open("[A]\n1=a\n[Empty]\n[Old]\n1=o\nLast=1\n[C]\n1=c\n");
  const std::string original = ReadAll(File());
  WorkBenchOrganiser organiser(profile);
  organiser.Select(2);
  EXPECT_EQ(organiser.Rename(" \t\x81\x40New Name\x81\x40 "), Result::Renamed);
  EXPECT_EQ(ReadAll(File()), original);  // only Commit writes
  EXPECT_TRUE(organiser.MoveUp());
  EXPECT_TRUE(organiser.MoveUp());
  organiser.Select(3);
  EXPECT_TRUE(organiser.Delete());
  EXPECT_THAT(organiser.Rows(), ElementsAre("New Name", "A", "Empty"));

  organiser.Commit();
  EXPECT_EQ(ReadAll(File()), "[New Name]\r\n1=o\r\nLast=1\r\n\r\n[A]\r\n1=a\r\n\r\n");
  EXPECT_EQ(profile.ReadString("NEW NAME", "1", ""), "o");
  EXPECT_THAT(profile.ReadSections(), ElementsAre("New Name", "A"));
}

TEST_F(OrganiserTest, RenameOntoAnEmptySectionsNameOrToNothingKeepsTheWorkBench) {
  Profile& profile = Open("[Old]\n1=o\n[Empty]\n[Other]\n1=x\n");
  WorkBenchOrganiser organiser(profile);
  organiser.Select(0);
  EXPECT_EQ(organiser.Rename("EMPTY"), Result::Renamed);
  organiser.Select(2);
  EXPECT_EQ(organiser.Rename(" \t "), Result::Renamed);
  organiser.Commit();
  EXPECT_EQ(ReadAll(File()), "[EMPTY]\r\n1=o\r\n\r\n[]\r\n1=x\r\n\r\n");
  EXPECT_EQ(profile.ReadString("", "1", ""), "x");
}

// A TAB inside would split the menu caption and reach the file; the save path refuses the same
// names (CheckWorkBenchName).
TEST_F(OrganiserTest, RenameRefusesAControlCharacterInsideAndChangesNothing) {
  Profile& profile = Open("[A]\n1=a\n[B]\n1=b\n");
  const auto before = profile.GetStrings();
  WorkBenchOrganiser organiser(profile);
  organiser.Select(0);
  for (const char* name : {"New\tName", "a\x01z", " x\ry ", "del\x7F"}) {
    EXPECT_EQ(organiser.Rename(name), Result::NotStorable) << name;
  }
  EXPECT_THAT(organiser.Rows(), ElementsAre("A", "B"));
  EXPECT_EQ(profile.GetStrings(), before);
  // Blanks and control characters at the ends are trimmed, not refused.
  EXPECT_EQ(organiser.Rename("\tTrimmed\r\n"), Result::Renamed);
  EXPECT_THAT(organiser.Rows(), ElementsAre("Trimmed", "B"));
}

TEST_F(OrganiserTest, CancelDropsARenameAndAFailedCommitChangesNothing) {
  Profile& profile = Open("[A]\n1=a\n[B]\n1=b\n");
  const std::string original = ReadAll(File());
  {
    WorkBenchOrganiser organiser(profile);
    organiser.Select(0);
    ASSERT_EQ(organiser.Rename("Z"), Result::Renamed);
    organiser.Cancel();
    EXPECT_THAT(profile.ReadSections(), ElementsAre("A", "B"));
    EXPECT_FALSE(profile.SectionExists("Z"));
  }
  WorkBenchOrganiser organiser(profile);
  organiser.Select(0);
  ASSERT_EQ(organiser.Rename("Z"), Result::Renamed);
  fs::create_directory(TemporaryFileFor(File()));
  EXPECT_THROW(organiser.Commit(), Error);
  EXPECT_EQ(ReadAll(File()), original);
  EXPECT_THAT(profile.ReadSections(), ElementsAre("Z", "B"));
}

TEST_F(OrganiserTest, JapaneseTrailBytesAreNotFoldedAndSameNamedSectionsKeepTheirData) {
  // 0x83 0x41 and 0x83 0x61 are two different characters, not one in two letter cases.
  Profile& profile = Open("[\x83\x41]\n1=ka\n[A]\n1=first\n[a]\n1=second\n");
  WorkBenchOrganiser organiser(profile);
  organiser.Select(0);
  EXPECT_EQ(organiser.Rename("\x83\x61"), Result::Renamed);
  // The row's own spelling finds its own section, so both workbenches of one folded name survive.
  organiser.Select(2);
  EXPECT_EQ(organiser.Rename("B"), Result::Renamed);
  organiser.Commit();
  EXPECT_EQ(ReadAll(File()), "[\x83\x61]\r\n1=ka\r\n\r\n[A]\r\n1=first\r\n\r\n[B]\r\n1=second\r\n\r\n");

  // Left as they are, only the later one can be loaded, and that one is kept.
  WorkBenchOrganiser unchanged(Open("[A]\n1=first\n[a]\n1=second\n"));
  unchanged.Commit();
  EXPECT_EQ(ReadAll(File()), "[A]\r\n1=second\r\n\r\n");
}

}  // namespace
}  // namespace zarn
