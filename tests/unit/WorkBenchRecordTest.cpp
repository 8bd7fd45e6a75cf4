#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/WorkBenchRecord.h"

namespace zarn {
namespace {

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t cursor = 0;
  do {
    fields.emplace_back(NextTabField(line, cursor));
  } while (cursor < line.size());
  return fields;
}

THandleListRec Record(std::string path, Rect rect, std::int32_t showCmd, Point min, Point max, Rect normal) {
  THandleListRec record;
  record.Path = std::move(path);
  record.WindowRect = rect;
  record.ShowCmd = showCmd;
  record.MinPosition = min;
  record.MaxPosition = max;
  record.NormalPosition = normal;
  return record;
}

TEST(NextTabField, WalksFieldsAndStaysAtTheEnd) {
  const std::string_view line = "a\t\tbc\t";
  std::size_t cursor = 0;
  EXPECT_EQ(NextTabField(line, cursor), "a");
  EXPECT_EQ(cursor, 2u);
  EXPECT_EQ(NextTabField(line, cursor), "");
  EXPECT_EQ(NextTabField(line, cursor), "bc");
  EXPECT_EQ(cursor, line.size());
  // Past the trailing TAB, and any number of times after that: empty, cursor unmoved.
  EXPECT_EQ(NextTabField(line, cursor), "");
  EXPECT_EQ(NextTabField(line, cursor), "");
  EXPECT_EQ(cursor, line.size());

  std::size_t onEmpty = 0;
  EXPECT_EQ(NextTabField("", onEmpty), "");
  EXPECT_EQ(onEmpty, 0u);

  std::size_t beyond = 99;
  EXPECT_EQ(NextTabField("abc", beyond), "");
  EXPECT_EQ(beyond, 3u);
}

TEST(FormatRecordLine, WritesTheDocumentedExample) {
  const THandleListRec record = Record("C:\\Work", {100, 50, 900, 650}, 1, {0, 0}, {0, 0}, {100, 50, 900, 650});
  EXPECT_EQ(FormatRecordLine(record), "C:\\Work\t100\t50\t800\t600\t1\t0\t0\t0\t0\t50\t100\t900\t650");
}

TEST(FormatRecordLine, PutsEveryFieldInItsColumn) {
  // Every value distinct, so a swapped pair of fields cannot pass unnoticed.
  const THandleListRec record =
      Record("D:\\x", {-1920, -30, -1000, 570}, 2, {-32000, -31999}, {-8, -7}, {-1800, -20, -1100, 560});
  const std::vector<std::string> fields = Fields(FormatRecordLine(record));
  const std::vector<std::string> expected = {"D:\\x",  "-1920", "-30", "920", "600",   "2",     "-32000",
                                             "-31999", "-8",    "-7",  "-20", "-1800", "-1100", "560"};
  EXPECT_EQ(fields, expected);
}

TEST(FormatRecordLine, KeepsShiftJisPathBytes) {
  // 表 is 0x95 0x5C: its trail byte is a backslash, which must not be touched.
  const std::string path = "C:\\\x95\x5C\\\x83\x41";
  const std::string line = FormatRecordLine(Record(path, {0, 0, 1, 1}, 1, {}, {}, {}));
  EXPECT_EQ(line.substr(0, path.size() + 1), path + "\t");
  EXPECT_EQ(ParseRecordLine(line).path, path);
}

TEST(RecordLine, RoundTripsEveryField) {
  const THandleListRec record =
      Record("\\\\server\\share", {-1920, -30, -1000, 570}, 3, {-32000, -32000}, {-8, -8}, {-1800, -20, -1100, 560});
  const WorkBenchRecord read = ParseRecordLine(FormatRecordLine(record));
  EXPECT_EQ(read.path, record.Path);
  EXPECT_EQ(read.bounds, (Area{-1920, -30, 920, 600}));
  EXPECT_EQ(read.placement, (Placement{3, {-32000, -32000}, {-8, -8}, {-1800, -20, -1100, 560}}));
}

TEST(RecordLine, ExtremeRectanglesRoundTripWithoutOverflow) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  for (const Rect rect : {Rect{kMin, kMin, kMax, kMax}, Rect{kMax, kMax, kMin, kMin}, Rect{0, 0, kMin, kMax}}) {
    const WorkBenchRecord read = ParseRecordLine(FormatRecordLine(Record("p", rect, 1, {}, {}, rect)));
    // The stored width is right - left in 32-bit arithmetic: adding it back gives right exactly.
    const auto right = static_cast<std::int32_t>(static_cast<std::uint32_t>(read.bounds.left) +
                                                 static_cast<std::uint32_t>(read.bounds.width));
    const auto bottom = static_cast<std::int32_t>(static_cast<std::uint32_t>(read.bounds.top) +
                                                  static_cast<std::uint32_t>(read.bounds.height));
    EXPECT_EQ(read.bounds.left, rect.left);
    EXPECT_EQ(right, rect.right);
    EXPECT_EQ(bottom, rect.bottom);
    EXPECT_EQ(read.placement.normalPosition, rect);
  }
}

TEST(ParseRecordLine, MissingOrBrokenNumbersReadAs100) {
  struct Case {
    std::string line;
    std::string path;
    Area bounds;
    std::int32_t showCmd;
    Point min;
    Point max;
    Rect normal;
  };
  const std::vector<Case> cases = {
      // A path alone: every number is 100, the show command included.
      {"C:\\A", "C:\\A", {100, 100, 100, 100}, 100, {100, 100}, {100, 100}, {100, 100, 100, 100}},
      // The line of a key without "=": no path either.
      {"", "", {100, 100, 100, 100}, 100, {100, 100}, {100, 100}, {100, 100, 100, 100}},
      // Empty fields, letters, a trailing blank: each of those alone falls back.
      {"C:\\B\t5\t\tx\t7 \t1", "C:\\B", {5, 100, 100, 100}, 1, {100, 100}, {100, 100}, {100, 100, 100, 100}},
      // The number rule's other spellings: hexadecimal, leading blanks, a sign.
      {"C:\\C\t$10\t0x20\t 30\t+40\t-1\t$FFFFFFFF\tX0a\t0\t0\t1\t2\t3\t4",
       "C:\\C",
       {16, 32, 30, 40},
       -1,
       {-1, 10},
       {0, 0},
       {2, 1, 3, 4}},
      // Out of range and too long: fall back; fields beyond the fourteenth are ignored.
      {"C:\\D\t2147483648\t-2147483648\t$100000000\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t99\t98",
       "C:\\D",
       {100, -2147483647 - 1, 100, 1},
       1,
       {1, 1},
       {1, 1},
       {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const WorkBenchRecord record = ParseRecordLine(c.line);
    EXPECT_EQ(record.path, c.path);
    EXPECT_EQ(record.bounds, c.bounds);
    EXPECT_EQ(record.placement.showCmd, c.showCmd);
    EXPECT_EQ(record.placement.minPosition, c.min);
    EXPECT_EQ(record.placement.maxPosition, c.max);
    EXPECT_EQ(record.placement.normalPosition, c.normal);
  }
}

TEST(ParseRecordLine, TabGroupIsTheFifteenthFieldWhenItIsAPositiveNumber) {
  const std::string fourteen = "C:\\A\t1\t2\t3\t4\t1\t0\t0\t0\t0\t2\t1\t4\t6";
  for (const auto& [tail, group] : std::vector<std::pair<std::string, std::int32_t>>{
           {"", 0}, {"\t7", 7}, {"\t7\t8", 7}, {"\t-3", 0}, {"\tx", 0}, {"\t", 0}}) {
    const WorkBenchRecord record = ParseRecordLine(fourteen + tail);
    EXPECT_EQ(record.tabGroup, group) << tail;
    EXPECT_EQ(record.placement.normalPosition, (Rect{1, 2, 4, 6})) << tail;
  }
  THandleListRec window;
  window.Path = "C:\\A";
  EXPECT_EQ(ParseRecordLine(FormatRecordLine(window, 4)).tabGroup, 4);
  EXPECT_EQ(FormatRecordLine(window, 0), FormatRecordLine(window));
}

}  // namespace
}  // namespace zarn
