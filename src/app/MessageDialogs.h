#pragma once
// The program's message dialogs: a confirmation with "はい(&Y)" and "キャンセル", an information
// dialog, and the one-line input dialog.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zarn::app {

// True for Yes; Cancel, Escape and the close box all say no.
bool Confirm(HWND owner, std::wstring_view question);
void Inform(HWND owner, std::wstring_view message);
// The text typed, or nullopt on Cancel.
std::optional<std::wstring> InputQuery(HWND owner, std::wstring_view caption, std::wstring_view prompt,
                                       std::wstring_view initial);

}  // namespace zarn::app
