#pragma once
// The one generic error display, and the one place every command handler runs through.
#include <windows.h>

#include <functional>
#include <string_view>

namespace zarn::app {

// A message box captioned with the application title, an error icon and OK.
void ShowGenericError(HWND owner, std::wstring_view message);

// Runs a command; any failure it throws reaches the generic error display and the program goes on.
// False when the command failed.
bool RunCommand(HWND owner, const std::function<void()>& command);

}  // namespace zarn::app
