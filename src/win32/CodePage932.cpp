#include "win32/CodePage932.h"

#include <windows.h>

#include <climits>

namespace zarn::win32 {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

// The conversion APIs take int lengths; longer text is not something a profile or a path holds.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

std::optional<std::wstring> ToWide(UINT codePage, DWORD flags, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  if (!FitsInt(bytes.size())) return std::nullopt;
  const int length = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), needed) != needed) return std::nullopt;
  return wide;
}

}  // namespace

std::wstring WideFromCp932(std::string_view bytes) { return ToWide(kCodePage932, 0, bytes).value_or(std::wstring()); }

std::optional<std::wstring> WideFromCp932Exact(std::string_view bytes) {
  return ToWide(kCodePage932, MB_ERR_INVALID_CHARS, bytes);
}

std::optional<std::string> Cp932FromWide(std::wstring_view text) {
  if (text.empty()) return std::string();
  if (!FitsInt(text.size())) return std::nullopt;
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int needed =
      ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  usedDefault = FALSE;
  if (::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), needed, nullptr,
                            &usedDefault) != needed ||
      usedDefault)
    return std::nullopt;
  return bytes;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty() || !FitsInt(text.size())) return std::string();
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

std::wstring WideFromUtf8(std::string_view text) { return ToWide(CP_UTF8, 0, text).value_or(std::wstring()); }

std::u16string U16FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::wstring WideFromU16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace zarn::win32
