#pragma once
// The one place where text crosses between UTF-16 and the profile files' code page 932 bytes.
// Code page 932 is named explicitly, never the system's ANSI code page, so the program reads and
// writes the same bytes whatever locale Windows runs in.
#include <optional>
#include <string>
#include <string_view>

namespace zarn::win32 {

inline constexpr unsigned kCodePage932 = 932;

// For showing profile text. Bytes that are not valid code page 932 (a lead byte without its trail
// byte, an undefined pair) come out as the system's replacement character; nothing is dropped.
std::wstring WideFromCp932(std::string_view bytes);

// For text that must name something exactly, such as a folder path: nullopt when the bytes are not
// valid code page 932, because a replacement character could name a different folder.
std::optional<std::wstring> WideFromCp932Exact(std::string_view bytes);

// nullopt when code page 932 cannot hold the text exactly. Without WC_NO_BEST_FIT_CHARS the system
// would quietly write 'e' for U+00E9 or '\' for U+00A5, and a path would name another folder.
std::optional<std::string> Cp932FromWide(std::wstring_view text);

// Error messages are UTF-8 inside the program. Invalid input (a lone surrogate, a broken UTF-8
// sequence) becomes U+FFFD rather than failing: a message must never be lost.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// The seam carries UTF-16 as std::u16string; on Windows wchar_t is the same 16-bit unit.
std::u16string U16FromWide(std::wstring_view text);
std::wstring WideFromU16(std::u16string_view text);
// A UTF-16 literal as the wide string the Win32 calls take: the same units, as wchar_t is 16 bits here.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace zarn::win32
