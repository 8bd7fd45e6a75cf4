// Profile files that no save of ours wrote: garbage, NUL bytes, huge lines and section counts, broken
// Shift-JIS, another editor's byte-order marks. Each loads without fault to a documented outcome, and
// a save either writes back exactly what was kept or, for a file the reader cannot see into, leaves
// it alone. Each case is its own ctest test with a time limit (tests/unit/CMakeLists.txt), so a
// case that hangs fails there; the times measured are in docs/reliability.md.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/Profile.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::string RandomBytes(std::size_t size, bool withNul) {
  std::mt19937 random(20261209);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(withNul ? random() % 256 : 1 + random() % 255);
  return bytes;
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

std::string ManySections(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "[S" + std::to_string(i) + "]\r\n1=C:\\" + std::to_string(i) + "\r\n";
  return text + "[Config]\r\nShowMode=2\r\n";
}

constexpr std::size_t kMegabyte = 1 << 20;
const std::string kSettings = "[Config]\r\nShowMode=2\r\nMoniterMode=1\r\n";

struct BadInput {
  const char* name;
  std::string bytes;
  // [Config] as read: ShowMode and MoniterMode with defaults 7 and 8, and how many sections there are.
  std::int32_t showMode;
  std::int32_t moniterMode;
  std::size_t sections;
  // The save is refused and the file kept as it was.
  bool refused = false;
  // What a save writes, where the case says; every case checks that it is what was kept.
  std::optional<std::string> written = std::nullopt;
};

void PrintTo(const BadInput& c, std::ostream* out) { *out << c.name; }

class ProfileBadInputTest : public ::testing::TestWithParam<BadInput> {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("zarn-bad-input-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path folder_;
};

TEST_P(ProfileBadInputTest, LoadsToItsOutcomeAndSavesWhatItKept) {
  const BadInput& c = GetParam();
  const fs::path file = folder_ / "Zarn.ini";
  std::ofstream(file, std::ios::binary) << c.bytes;

  Profile profile(file.native());
  EXPECT_EQ(profile.ReadInteger("Config", "ShowMode", 7), c.showMode);
  EXPECT_EQ(profile.ReadInteger("Config", "MoniterMode", 8), c.moniterMode);
  EXPECT_EQ(profile.ReadSections().size(), c.sections);
  const std::vector<std::string> kept = profile.GetStrings();

  if (c.refused) {
    // Even after a change: what the file holds was never in memory, so memory must not replace it.
    profile.WriteInteger("Config", "Left", 5);
    EXPECT_THROW(profile.UpdateFile(), Error);
    EXPECT_EQ(ReadAll(file), c.bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);  // no temporary file
    return;
  }
  profile.UpdateFile();
  const std::string saved = ReadAll(file);
  if (c.written) {
    EXPECT_EQ(saved, *c.written);
  }
  // Read again, what was kept is all there, and saving it once more changes no byte.
  Profile again(file.native());
  EXPECT_EQ(again.GetStrings(), kept);
  again.UpdateFile();
  EXPECT_EQ(ReadAll(file), saved);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BadFiles, ProfileBadInputTest, ::testing::Values(
    // A NUL ends the text, so random bytes stop at the first one; without NULs, 1 MB of them is read
    // through. Neither holds [Config].
    BadInput{"BinaryGarbage", RandomBytes(kMegabyte, true), 7, 8, 0},
    BadInput{"BinaryGarbageWithoutNul", RandomBytes(kMegabyte, false), 7, 8, 0},
    BadInput{"GarbageAroundASection", RandomBytes(kMegabyte / 2, false) + "\r\n" + kSettings + RandomBytes(kMegabyte / 2, false), 2, 1, 1},
    BadInput{"NulEndsTheText", "[Config]\r\nShowMode=2\r\n\0MoniterMode=1\r\n[Later]\r\nx=1\r\n"s, 2, 8, 1, false,
             "[Config]\r\nShowMode=2\r\n\r\n"},
    BadInput{"NulFirst", "\0"s + kSettings, 7, 8, 0, false, ""},
    // A 1 MB value breaks the number rule; the lines after it are still found.
    BadInput{"MegabyteValue", "[Config]\r\nShowMode=" + std::string(kMegabyte, '2') + "\r\nMoniterMode=1\r\n", 7, 1, 1},
    BadInput{"MegabyteLineWithoutBreak", kSettings + std::string(kMegabyte, 'x'), 2, 1, 1},
    BadInput{"MegabyteSectionName", "[" + std::string(kMegabyte, 'n') + "]\r\n" + kSettings, 2, 1, 2},
    BadInput{"MegabyteOfBrackets", kSettings + std::string(kMegabyte, '['), 2, 1, 1},
    // A lead byte at the end of a line never takes the line break for its second byte.
    BadInput{"LeadBytesAtLineEnds", "[Config\x81]\r\n[Config]\r\nShowMode=2\x81\r\nKey\x9F=\xE0\r\nMoniterMode=1\r\n\xFC", 7, 1, 2, false,
             "[Config\x81]\r\n\r\n[Config]\r\nShowMode=2\x81\r\nKey\x9F=\xE0\r\nMoniterMode=1\r\n\xFC\r\n\r\n"},
    BadInput{"HundredThousandSections", ManySections(100000), 2, 8, 100001},
    // Another editor's UTF-8 keeps its text readable past the mark; non-ASCII bytes stay as they are.
    BadInput{"Utf8ByteOrderMark", "\xEF\xBB\xBF" + kSettings + "[\xE4\xBD\x9C\xE6\xA5\xAD]\r\n1=C:\\\xE3\x81\x82\r\n", 2, 1, 2, false,
             "[Config]\r\nShowMode=2\r\nMoniterMode=1\r\n\r\n[\xE4\xBD\x9C\xE6\xA5\xAD]\r\n1=C:\\\xE3\x81\x82\r\n\r\n"},
    // UTF-16 reads as nothing (its second byte is a NUL): the file is never replaced.
    BadInput{"Utf16LittleEndian", Utf16(kSettings, false), 7, 8, 0, true},
    BadInput{"Utf16BigEndian", Utf16(kSettings, true), 7, 8, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace zarn
