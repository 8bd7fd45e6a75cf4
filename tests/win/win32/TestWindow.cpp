#include "TestWindow.h"

#include "win32/WindowHandles.h"

namespace zarn::win32::test {
namespace {

constexpr wchar_t kClassName[] = L"ZarnWin32TestWindow";

const wchar_t* RegisteredClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass);
  }();
  return atom != 0 ? kClassName : nullptr;
}

}  // namespace

TestWindow::TestWindow(RECT rect, DWORD exStyle, bool visible) {
  hwnd_ = ::CreateWindowExW(
      exStyle, RegisteredClass(), L"Zarn test window", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  PumpMessages();
}

TestWindow::~TestWindow() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  PumpMessages();
}

WindowHandle TestWindow::handle() const { return FromHwnd(hwnd_); }

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(limit.count());
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (::GetTickCount64() >= end) return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

WindowHandle DestroyedWindowHandle() {
  WindowHandle handle;
  {
    TestWindow window({0, 0, 200, 200}, 0, false);
    handle = window.handle();
  }
  return handle;
}

}  // namespace zarn::win32::test
