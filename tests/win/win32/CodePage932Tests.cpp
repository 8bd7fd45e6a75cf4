#include "win32/CodePage932.h"

#include <gtest/gtest.h>

#include <string>

#include "core/UiText.h"

namespace zarn::win32 {
namespace {

using namespace std::string_literals;

TEST(CodePage932, EncodesJapaneseAndAsciiToTheExpectedBytes) {
  EXPECT_EQ(Cp932FromWide(L"C:\\Work\\Docs"), "C:\\Work\\Docs"s);
  EXPECT_EQ(Cp932FromWide(L"日本語"), "\x93\xFA\x96\x7B\x8C\xEA"s);
  // Half-width kana are single bytes.
  EXPECT_EQ(Cp932FromWide(L"ｶﾀｶﾅ"), "\xB6\xC0\xB6\xC5"s);
  // Trail bytes that are the backslash: a path made of these must keep every byte.
  EXPECT_EQ(Cp932FromWide(L"C:\\ソ表\\"), "C:\\\x83\x5C\x95\x5C\\"s);
  // Vendor extensions that Windows' table includes.
  EXPECT_EQ(Cp932FromWide(L"①"), "\x87\x40"s);
  EXPECT_EQ(Cp932FromWide(L""), ""s);
}

TEST(CodePage932, DecodesTheSameBytesBack) {
  EXPECT_EQ(WideFromCp932("\x93\xFA\x96\x7B\x8C\xEA"), L"日本語");
  EXPECT_EQ(WideFromCp932("\xB6\xC0\xB6\xC5"), L"ｶﾀｶﾅ");
  EXPECT_EQ(WideFromCp932Exact("C:\\\x83\x5C\x95\x5C\\"), std::wstring(L"C:\\ソ表\\"));
  EXPECT_EQ(WideFromCp932Exact(""), std::wstring());
}

TEST(CodePage932, EmbeddedNulIsKeptBothWays) {
  EXPECT_EQ(Cp932FromWide(std::wstring(L"a\0b", 3)), "a\0b"s);
  EXPECT_EQ(WideFromCp932("a\0b"s), std::wstring(L"a\0b", 3));
}

TEST(CodePage932, CharactersOutsideTheCodePageAreReportedNotApproximated) {
  EXPECT_EQ(Cp932FromWide(L"caf\u00E9"), std::nullopt) << "e acute would best-fit to 'e'";
  EXPECT_EQ(Cp932FromWide(L"M\u00FCller"), std::nullopt) << "u umlaut would best-fit to 'u'";
  EXPECT_EQ(Cp932FromWide(L"\u00A5100"), std::nullopt) << "yen sign would best-fit to a backslash";
  EXPECT_EQ(Cp932FromWide(L"\U0001F600"), std::nullopt) << "outside the BMP";
  EXPECT_EQ(Cp932FromWide(std::wstring(1, wchar_t(0xD800))), std::nullopt) << "lone surrogate";
  // The lossy character may sit anywhere, not only first.
  EXPECT_EQ(Cp932FromWide(L"日本語\\caf\u00E9\\資料"), std::nullopt);
}

TEST(CodePage932, AQuestionMarkInTheTextIsNotMistakenForLoss) { EXPECT_EQ(Cp932FromWide(L"why?"), "why?"s); }

TEST(CodePage932, InvalidBytesAreRefusedExactlyAndReplacedForDisplay) {
  // A lead byte cut off at the end, and a lead byte followed by a byte no trail may be.
  for (const std::string& bytes : {"ab\x81"s, "\x81\x20z"s, "\x9F\x7F"s}) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(WideFromCp932Exact(bytes), std::nullopt);
    const std::wstring shown = WideFromCp932(bytes);
    EXPECT_FALSE(shown.empty()) << "nothing may be dropped for display";
    EXPECT_EQ(shown.find_first_of(L'\0'), std::wstring::npos);
  }
  EXPECT_EQ(WideFromCp932("ab\x81").substr(0, 2), L"ab");
}

TEST(CodePage932, EveryDoubleByteCodeDecodesToTextThatEncodesStably) {
  // NEC and IBM extensions hold duplicates, so bytes need not come back identical; the text must.
  int decoded = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::optional<std::wstring> text = WideFromCp932Exact(bytes);
      if (!text) continue;
      ++decoded;
      const std::optional<std::string> encoded = Cp932FromWide(*text);
      ASSERT_TRUE(encoded.has_value()) << std::hex << lead << ' ' << trail;
      EXPECT_EQ(WideFromCp932Exact(*encoded), text) << std::hex << lead << ' ' << trail;
    }
  }
  // JIS X 0208 alone has 6879 characters; the table must really have been used.
  EXPECT_GT(decoded, 6879);
}

// Workbench names are told apart from the two fixed menu items by these bytes: they must be the
// captions the menus show.
TEST(CodePage932, FixedMenuCaptionsMatchTheirBytes) {
  EXPECT_EQ(Cp932FromWide(W(text::kMenuNewWorkBench)), std::string(text::kMenuNewWorkBenchCp932));
  EXPECT_EQ(Cp932FromWide(W(text::kMenuOrganise)), std::string(text::kMenuOrganiseCp932));
}

TEST(Utf8, RoundTripsAndReplacesWhatIsInvalid) {
  const std::wstring text = L"日本語 caf\u00E9 \U0001F600";
  EXPECT_EQ(Utf8FromWide(text), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E caf\xC3\xA9 \xF0\x9F\x98\x80"s);
  EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
  // Kept as written: an escape and the character after it stay one string apart.
  // clang-format off
  EXPECT_EQ(Utf8FromWide(std::wstring(L"a") + wchar_t(0xD800) + L"b"), "a\xEF\xBF\xBD" "b"s);
  EXPECT_EQ(WideFromUtf8("a\xFF" "b"), L"a\uFFFDb");
  // clang-format on
  EXPECT_EQ(Utf8FromWide(L""), ""s);
  EXPECT_EQ(WideFromUtf8(""), L"");
}

TEST(Utf16, SeamStringsKeepEveryUnit) {
  const std::wstring text = std::wstring(L"ｶ\U0001F600") + wchar_t(0xDC00);
  const std::u16string u16 = U16FromWide(text);
  ASSERT_EQ(u16.size(), text.size());
  EXPECT_EQ(u16[0], u'ｶ');
  EXPECT_EQ(WideFromU16(u16), text);
}

}  // namespace
}  // namespace zarn::win32
