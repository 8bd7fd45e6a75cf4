#include "win32/Win32Clock.h"

namespace zarn::win32 {

std::chrono::milliseconds Win32Clock::Now() {
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(::GetTickCount64()));
}

namespace {

// Set by the hook; its callback runs on the thread that set it, the one that waits.
bool g_windowShown = false;

void CALLBACK OnWindowShown(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_WINDOW && child == CHILDID_SELF && window != nullptr && ::GetAncestor(window, GA_ROOT) == window)
    g_windowShown = true;
}

}  // namespace

Win32Clock::~Win32Clock() {
  if (showHook_ != nullptr) ::UnhookWinEvent(showHook_);
}

void Win32Clock::Sleep(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) return;
  // INFINITE (0xFFFFFFFF) would never wake up.
  constexpr auto kLongest = std::chrono::milliseconds(INFINITE - 1);
  Pump(Now() + (duration < kLongest ? duration : kLongest), nullptr);
}

void Win32Clock::SleepUntilWindowShown(std::chrono::milliseconds longest) {
  if (longest.count() <= 0) return;
  if (showHook_ == nullptr) {
    showHook_ = ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, OnWindowShown, 0, 0,
                                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNTHREAD);
  }
  g_windowShown = false;
  Pump(Now() + longest, &g_windowShown);
}

void Win32Clock::Pump(std::chrono::milliseconds end, const bool* done) {
  for (auto now = Now(); now < end && !(done && *done); now = Now()) {
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
