#include "app/ErrorDisplay.h"

#include <exception>
#include <new>
#include <string>

#include "app/ZarnMessages.h"
#include "core/UiText.h"
#include "core/UserMessages.h"
#include "win32/CodePage932.h"

namespace zarn::app {

void ShowGenericError(HWND owner, std::wstring_view message) {
  const std::u16string text = GenericErrorText(win32::U16FromWide(message));
  ::MessageBoxW(owner, win32::WideFromU16(text).c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

bool RunCommand(HWND owner, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::bad_alloc&) {
    ShowGenericError(owner, win32::W(text::kOutOfMemory));
  } catch (const std::exception& failure) {
    // The core's messages are UTF-8.
    ShowGenericError(owner, win32::WideFromUtf8(failure.what()));
  } catch (...) {
    ShowGenericError(owner, win32::W(text::kUnknownFailure));
  }
  return false;
}

}  // namespace zarn::app
