#include "win32/Win32Clock.h"

namespace zarn::win32 {

std::chrono::milliseconds Win32Clock::Now() {
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(::GetTickCount64()));
}

void Win32Clock::Sleep(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) return;
  // INFINITE (0xFFFFFFFF) would never wake up.
  constexpr auto kLongest = std::chrono::milliseconds(INFINITE - 1);
  const auto end = Now() + (duration < kLongest ? duration : kLongest);
  for (auto now = Now(); now < end; now = Now()) {
    const auto left = static_cast<DWORD>((end - now).count());
    if (quitSeen_) {
      ::Sleep(left);
      return;
    }
    // Wakes for input that was already in the queue before the wait, too.
    if (::MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) continue;
    MSG message;
    while (!quitSeen_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quitSeen_ = true;
        ::PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (filter_ && filter_(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

}  // namespace zarn::win32
