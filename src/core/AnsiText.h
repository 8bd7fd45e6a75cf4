#pragma once
// Code page 932 text as the profile files hold it. Only ASCII letters have a case here, and only
// where they stand alone: "A" and "a" also occur as the second byte of a Japanese character, and
// folding those would make two different characters look equal.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zarn {

// The first byte of a double-byte character.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes 0x00-0x20: space, tab, line ends and the other control characters the reader trims.
constexpr bool IsBlankByte(unsigned char b) { return b <= 0x20; }

// The text with every free-standing ASCII letter in upper case; equal results mean equal names.
std::string FoldCase(std::string_view text);

// FoldCase(a) == FoldCase(b), without building either.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A hash that agrees with EqualsIgnoreCase: names equal ignoring case hash alike.
std::uint64_t HashIgnoringCase(std::string_view text);

// Without leading and trailing blank bytes. A trail byte is never blank, so no character is cut.
std::string_view TrimBlanks(std::string_view text);

// A path without the separators ('\\' or '/') at its end. The byte 0x5C is a separator only where
// it stands alone: it is also the second byte of Japanese characters such as 0x95 0x5C.
std::string_view WithoutTrailingSeparators(std::string_view path);

}  // namespace zarn
