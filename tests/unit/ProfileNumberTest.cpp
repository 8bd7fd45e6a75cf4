#include "core/ProfileNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <vector>

namespace zarn {
namespace {

struct NumberCase {
  const char* text;
  std::optional<std::int32_t> expected;
};

TEST(ParseIntegerTest, FollowsTheNumberRule) {
  const NumberCase cases[] = {
      // decimal
      {"0", 0},
      {"2", 2},
      {"+5", 5},
      {"-0", 0},
      {"-17", -17},
      {"0000000000000000042", 42},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      // hexadecimal, every way in
      {"0x2", 2},
      {"0X1f", 31},
      {"$FF", 255},
      {"$ff", 255},
      {"x2", 2},
      {"X10", 16},
      {"$7FFFFFFF", 2147483647},
      {"$80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"0xFFFFFFFE", -2},
      {"$100000000", std::nullopt},
      {"$000000001", 1},
      {"0x00000000000FFFFFFFF", -1},
      // leading spaces only, and only spaces
      {" 12", 12},
      {"   -3", -3},
      {" $10", 16},
      {" 0x10", 16},
      {" x10", 16},
      {"\t12", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      // sign must be followed by decimal digits alone
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"- 1", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"-0x10", std::nullopt},
      {"-$10", std::nullopt},
      {"$-1", std::nullopt},
      {"$+1", std::nullopt},
      // a hex introducer needs at least one digit
      {"$", std::nullopt},
      {"x", std::nullopt},
      {"0x", std::nullopt},
      {"0X", std::nullopt},
      {"0x ", std::nullopt},
      {"0x 10", std::nullopt},
      {" 0x", std::nullopt},
      {"$1G", std::nullopt},
      {"00x1", std::nullopt},
      {"$$1", std::nullopt},
      // nothing at all, or nothing numeric
      {"", std::nullopt},
      {" ", std::nullopt},
      {"two", std::nullopt},
      {"2a", std::nullopt},
      {"1.5", std::nullopt},
      {"\x82\x51", std::nullopt},  // a full-width 2 is not a digit
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), c.expected) << "text: \"" << c.text << "\"";
  }
}

TEST(ParseIntegerTest, EmbeddedNulEndsNothingAndFails) {
  EXPECT_EQ(ParseInteger(std::string_view("1\0", 2)), std::nullopt);
  // Kept as written: an escape and the character after it stay one string apart.
  // clang-format off
  EXPECT_EQ(ParseInteger(std::string_view("\0" "1", 2)), std::nullopt);
  // clang-format on
}

TEST(ParseIntegerTest, EveryInt32RoundTripsThroughDecimalAndHex) {
  std::mt19937 random(7);
  std::vector<std::int32_t> values{0, 1, -1, INT32_MAX, INT32_MIN, INT32_MIN + 1, 1000, -1000};
  for (int i = 0; i < 2000; ++i) values.push_back(static_cast<std::int32_t>(random()));
  for (std::int32_t value : values) {
    EXPECT_EQ(ParseInteger(std::to_string(value)), value);
    std::ostringstream hex;
    hex << "$" << std::hex << static_cast<std::uint32_t>(value);
    EXPECT_EQ(ParseInteger(hex.str()), value) << hex.str();
  }
}

}  // namespace
}  // namespace zarn
