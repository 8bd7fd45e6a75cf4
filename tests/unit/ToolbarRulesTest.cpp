// The toolbar program's decisions that do not need a window: where it opens, what each stored
// setting does, which menu item is bold, what the picture and error texts say.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/PictureKind.h"
#include "core/Profile.h"
#include "core/StartPosition.h"
#include "core/ToolbarSettings.h"
#include "core/ToolbarWrap.h"
#include "core/UserMessages.h"
#include "core/WorkBenchMenuMarks.h"

namespace zarn {
namespace {

TEST(StartPosition, KeepsWhatIsOnScreenResetsBeyondTheDesktopAndRescuesTheLost) {
  const Area desktop{-1920, 0, 3840, 1080};  // a monitor left of the primary one
  const std::vector<MonitorAreas> monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                              {{-1920, 0, 1920, 1080}, {-1920, 0, 1920, 1040}}};
  const Extent size{100, 80};
  struct Case {
    Point stored;
    Point expected;
  } cases[] = {
      {{755, 605}, {755, 605}},      // the first run's design position
      {{5000, 605}, {0, 605}},       // beyond the desktop's width: reset to 0
      {{3840, 605}, {1820, 605}},    // equal to the width is kept, then moved onto the nearest monitor
      {{-1500, 300}, {-1500, 300}},  // on the monitor left of the primary one
      {{100, 5000}, {100, 0}},       // beyond the desktop's height
      {{1900, 1070}, {1900, 1070}},  // partly visible: the user's own choice
      {{0, -500}, {0, 0}},           // above every monitor: onto the work area
      {{-5000, 900}, {-1920, 900}},  // left of everything, low on the screen
      {{2500, 1050}, {1820, 960}},   // after the resolution was lowered: fully inside the work area
  };
  for (const Case& c : cases) {
    const Point p = StartPosition(c.stored, size, desktop, monitors);
    EXPECT_EQ(p, c.expected) << "stored " << c.stored.x << ", " << c.stored.y;
  }
  // A window larger than the work area keeps its caption on screen.
  EXPECT_EQ(StartPosition({3000, 3000}, {2500, 2000}, {0, 0, 1920, 1080}, {monitors[0]}), (Point{0, 0}));
}

TEST(ToolbarSettings, EveryStoredValueHasAnAnswer) {
  EXPECT_EQ(CascadeVariantFromSetting(1), CascadeVariant::UniformSize);
  for (int value : {0, -1, 2, 100}) EXPECT_EQ(CascadeVariantFromSetting(value), CascadeVariant::KeepSize) << value;

  struct ShowCase {
    std::int32_t stored;
    bool window, icon, closeEnds;
  } shows[] = {{0, true, true, false},
               {1, true, false, true},
               {2, false, true, false},
               {3, true, true, false},
               {-1, true, true, false}};
  for (const ShowCase& c : shows) {
    const ShowMode mode = ShowModeFromSetting(c.stored);
    EXPECT_EQ(ShowModeActionFor(mode).showWindow, c.window) << c.stored;
    EXPECT_EQ(ShowModeActionFor(mode).addTrayIcon, c.icon) << c.stored;
    EXPECT_EQ(CloseEndsProgram(mode), c.closeEnds) << c.stored;
    // Whatever the value, the program can always be reached again.
    EXPECT_TRUE(ShowModeActionFor(mode).addTrayIcon || CloseEndsProgram(mode)) << c.stored;
  }

  EXPECT_EQ(TrayActionFor(kWmRButtonDown, ShowMode::TrayOnly, false), TrayAction::PopUpMainMenu);
  EXPECT_EQ(TrayActionFor(kWmRButtonDown, ShowMode::WindowAndTray, true), TrayAction::Nothing);
  EXPECT_EQ(TrayActionFor(kWmLButtonDown, ShowMode::WindowAndTray, false), TrayAction::ShowWindow);
  EXPECT_EQ(TrayActionFor(kWmLButtonDown, ShowMode::TrayOnly, false), TrayAction::Nothing);
  EXPECT_EQ(TrayActionFor(0x0200, ShowMode::WindowAndTray, false), TrayAction::Nothing);

  struct LayerCase {
    std::int32_t type, alpha;
    LayerAction action;
    std::uint32_t value;
  } layers[] = {{0, 128, LayerAction::RemoveLayered, 0}, {1, 128, LayerAction::ColourKey, 0xF0F0F0},
                {2, 128, LayerAction::Alpha, 128},       {2, 0, LayerAction::Alpha, 0},
                {2, 300, LayerAction::Alpha, 255},       {2, -4, LayerAction::Alpha, 0},
                {3, 128, LayerAction::Nothing, 0}};
  for (const LayerCase& c : layers) {
    const LayerRequest request = LayerRequestFor(c.type, c.alpha, 0xF0F0F0);
    EXPECT_EQ(request.action, c.action) << c.type << "/" << c.alpha;
    EXPECT_EQ(request.value, c.value) << c.type << "/" << c.alpha;
  }

  EXPECT_EQ(LoadButtonActionFor(0), LoadButtonAction::PopUpMenu);
  EXPECT_EQ(LoadButtonActionFor(1), LoadButtonAction::LoadLast);
  EXPECT_EQ(LoadButtonActionFor(2), LoadButtonAction::Nothing);
}

class MenuMarks : public ::testing::Test {
 protected:
  Profile workBenches_{std::filesystem::path("no-such-dir-zarn") / "menus.wbf"};
  WorkBenchMenuMarks marks_;

  void Store(const std::vector<std::pair<std::string, bool>>& benches) {
    workBenches_.Clear();
    for (const auto& [name, last] : benches) {
      workBenches_.WriteString(name, "1", "C:\\x");
      workBenches_.WriteBool(name, "Last", last);
    }
  }
  std::optional<WorkBenchMenuMarks::Mark> Bench(std::size_t i) { return WorkBenchMenuMarks::Mark{false, i}; }
};

TEST_F(MenuMarks, DropDownsFollowTheLastMarkSubmenusKeepTheClickUntilRebuilt) {
  Store({{"A", false}, {"B", true}, {"C", false}});
  marks_.Rebuild(workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadDropDown), Bench(1));
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::SaveDropDown), Bench(1));
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadSubmenu), std::nullopt);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::SaveSubmenu), std::nullopt);

  // C restored from the right-click menu: bold there at once, in the drop-downs when they next open.
  marks_.WorkBenchChosen(WorkBenchMenu::LoadSubmenu, 2);
  Store({{"A", false}, {"B", false}, {"C", true}});
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadSubmenu), Bench(2));
  marks_.MenuOpening(WorkBenchMenu::SaveDropDown, workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::SaveDropDown), Bench(2));

  // A later from the drop-down: the submenu keeps C until the menus are built again.
  marks_.WorkBenchChosen(WorkBenchMenu::LoadDropDown, 0);
  Store({{"A", true}, {"B", false}, {"C", false}});
  marks_.MenuOpening(WorkBenchMenu::LoadSubmenu, workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadSubmenu), Bench(2));
  marks_.Rebuild(workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadSubmenu), std::nullopt);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::LoadDropDown), Bench(0));

  // No Last anywhere: the drop-down's mark stays where it was.
  Store({{"A", false}, {"B", false}});
  marks_.Rebuild(workBenches_);
  marks_.WorkBenchChosen(WorkBenchMenu::SaveDropDown, 1);
  marks_.MenuOpening(WorkBenchMenu::SaveDropDown, workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::SaveDropDown), Bench(1));
  // A workbench named like the fixed item and marked last makes the fixed item bold.
  workBenches_.WriteBool(WorkBenchMenuMarks::FixedCaption(WorkBenchMenu::SaveDropDown), "Last", true);
  marks_.MenuOpening(WorkBenchMenu::SaveDropDown, workBenches_);
  EXPECT_EQ(marks_.DefaultOf(WorkBenchMenu::SaveDropDown), (WorkBenchMenuMarks::Mark{true, 0}));
}

TEST(PictureKind, ByExtensionIgnoringCaseWithTheMessagesShown) {
  struct Case {
    std::u16string path;
    PictureKind kind;
    std::u16string extension;
  } cases[] = {{u"C:\\pics\\sky.BMP", PictureKind::Bitmap, u"BMP"},
               {u"C:\\pics\\app.Ico", PictureKind::Icon, u"Ico"},
               {u"C:\\pics\\a.wmf", PictureKind::Metafile, u"wmf"},
               {u"C:\\pics\\a.EMF", PictureKind::Metafile, u"EMF"},
               {u"C:\\pics\\photo.jpg", PictureKind::Unsupported, u"jpg"},
               {u"C:\\my.pics\\noext", PictureKind::Unsupported, u""},
               {u"C:\\pics\\archive.bmp.zip", PictureKind::Unsupported, u"zip"}};
  for (const Case& c : cases) {
    EXPECT_EQ(PictureKindOf(c.path), c.kind);
    EXPECT_EQ(PictureExtension(c.path), c.extension);
  }
  EXPECT_EQ(UnsupportedPictureMessage(u"C:\\a.Jpg"), u"拡張子 .Jpg の画像形式は処理できません");
  EXPECT_EQ(BadPictureMessage(PictureKind::Bitmap), u"ビットマップイメージが不正です");
  EXPECT_EQ(BadPictureMessage(PictureKind::Icon), u"アイコンイメージが不正です");
  EXPECT_EQ(BadPictureMessage(PictureKind::Metafile), u"メタファイルが不正です");
}

TEST(UserMessages, ErrorDotRuleAndFolderSummaries) {
  EXPECT_EQ(GenericErrorText(u"Access denied"), u"Access denied.");
  EXPECT_EQ(GenericErrorText(u"Done."), u"Done.");
  EXPECT_EQ(GenericErrorText(u"(x)"), u"(x)");  // ')' sorts below '.'
  EXPECT_EQ(GenericErrorText(u"書けません"), u"書けません.");
  EXPECT_EQ(GenericErrorText(u""), u"");

  EXPECT_TRUE(NotRestoredSummary({}).empty());
  const std::u16string two = NotRestoredSummary({u"C:\\A", u""});
  EXPECT_NE(two.find(u"\r\nC:\\A"), std::u16string::npos);
  EXPECT_NE(two.find(u"（フォルダ名なし）"), std::u16string::npos);
  std::vector<std::u16string> many(25, u"D:\\x");
  const std::u16string summary = LeftOutSummary(many);
  EXPECT_NE(summary.find(u"ほか 5 件"), std::u16string::npos);

  EXPECT_TRUE(RestoreSummary({}, {}).empty());
  EXPECT_EQ(RestoreSummary({u"C:\\A"}, {}), NotRestoredSummary({u"C:\\A"}));
  const std::u16string both = RestoreSummary({u"C:\\A"}, {u"C:\\T"});
  EXPECT_EQ(both.find(NotRestoredSummary({u"C:\\A"}) + u"\r\n\r\n"), 0u);
  EXPECT_NE(both.find(u"タブ"), std::u16string::npos);
  EXPECT_NE(both.find(u"\r\nC:\\T"), std::u16string::npos);
}

// The toolbar's layout: cascade (a drop-down, 36), tile (23), a separator (8), close all (23), the
// separator that always ends the first row, then save and load (36 each).
TEST(ToolbarWrap, RowsBreakAtTheWidthAndAfterTheFixedBreak) {
  const std::vector<ToolbarItem> items = {{36, false, false}, {23, false, false}, {8, true, false},  {23, false, false},
                                          {8, true, true},    {36, false, false}, {36, false, false}};
  struct Case {
    std::int32_t width;
    std::vector<bool> ends;
  } cases[] = {
      // Wide enough: only the fixed break.
      {1000, {false, false, false, false, true, false, false}},
      {90, {false, false, false, false, true, false, false}},
      // Close all no longer fits: the separator before it ends the row instead of leading the next.
      {75, {false, false, true, false, true, false, false}},
      // Save and load no longer fit side by side.
      {71, {false, false, true, false, true, true, false}},
      // The separator itself does not fit: it ends the row.
      {60, {false, false, true, false, true, true, false}},
      // Tile no longer fits beside cascade; close all moves up beside it.
      {58, {true, false, false, false, true, true, false}},
      // Narrower than any button: one button a row, a separator ending the row it follows.
      {1, {true, false, true, false, true, true, false}},
      {0, {true, false, true, false, true, true, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToolbarRowEnds(items, c.width), c.ends) << c.width;
  }
  EXPECT_TRUE(ToolbarRowEnds({}, 100).empty());
}

}  // namespace
}  // namespace zarn
