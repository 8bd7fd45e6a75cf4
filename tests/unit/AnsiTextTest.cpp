#include "core/AnsiText.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

// Case folding of code page 932 names: a byte that looks like a letter inside a double-byte character
// is part of that character.

TEST(AnsiTextTest, FoldsFreeStandingAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoreCase("Config", "CONFIG"));
  EXPECT_TRUE(EqualsIgnoreCase("config", "cOnFiG"));
  EXPECT_FALSE(EqualsIgnoreCase("Config", "Configs"));
  // "\x83\x41" and "\x83\x61" are two different katakana, not one letter in two cases.
  EXPECT_FALSE(EqualsIgnoreCase("\x83\x41", "\x83\x61"));
  EXPECT_NE(FoldCase("\x83\x41"), FoldCase("\x83\x61"));
  // A letter right after a whole double-byte character is free again.
  // Kept as written: a code page 932 character and the letter after it stay one string apart.
  // clang-format off
  EXPECT_TRUE(EqualsIgnoreCase("\x83\x41" "a", "\x83\x41" "A"));
  EXPECT_EQ(FoldCase("\x83\x41" "a\x83\x61"), "\x83\x41" "A\x83\x61");
  // A trail byte that looks like a lead byte does not shift the pairing.
  EXPECT_EQ(FoldCase("\x81\x81" "a"), "\x81\x81" "A");
  // clang-format on
  // A lead byte at the very end has nothing to protect.
  EXPECT_EQ(FoldCase("a\x81"), "A\x81");
  EXPECT_TRUE(EqualsIgnoreCase("", ""));
  EXPECT_FALSE(EqualsIgnoreCase("a", "b"));
  // Only ASCII letters fold; other bytes with a case bit apart stay apart.
  EXPECT_FALSE(EqualsIgnoreCase("@", "`"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));
}

TEST(AnsiTextTest, HashAgreesWithTheComparison) {
  EXPECT_EQ(HashIgnoringCase("Config"), HashIgnoringCase("cONFIG"));
  // Kept as written: a code page 932 character and the letter after it stay one string apart.
  // clang-format off
  EXPECT_EQ(HashIgnoringCase("\x83\x41" "a"), HashIgnoringCase("\x83\x41" "A"));
  // clang-format on
  EXPECT_NE(HashIgnoringCase("\x83\x41"), HashIgnoringCase("\x83\x61"));
  EXPECT_NE(HashIgnoringCase("1"), HashIgnoringCase("2"));
  EXPECT_NE(HashIgnoringCase(""), HashIgnoringCase(std::string_view("\0", 1)));
}

TEST(AnsiTextTest, TrimKeepsTrailBytes) {
  EXPECT_EQ(TrimBlanks(" \t\x01 abc \r\x1f"), "abc");
  EXPECT_EQ(TrimBlanks("\x83\x40 "), "\x83\x40");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("a\x7f"), "a\x7f");
}

}  // namespace
}  // namespace zarn
