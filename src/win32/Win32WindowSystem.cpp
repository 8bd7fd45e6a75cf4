#include "win32/Win32WindowSystem.h"

#include "win32/WindowHandles.h"

namespace zarn::win32 {
namespace {

// Stored workbench records and the placement they are read back into rely on this layout.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");

Point ToPoint(const POINT& p) { return {p.x, p.y}; }
POINT ToPOINT(const Point& p) { return {p.x, p.y}; }
Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// DWMWA_EXTENDED_FRAME_BOUNDS. dwmapi.dll is no known system DLL: imported by name it would be looked
// for beside the program first, where anyone who can write that folder could put their own.
constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED
using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
GetAttribute DwmGetWindowAttributeFunction() {
  static const GetAttribute function = [] {
    HMODULE dwm = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return dwm ? reinterpret_cast<GetAttribute>(reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute")))
               : nullptr;
  }();
  return function;
}

}  // namespace

Rect Win32WindowSystem::GetWindowRect(WindowHandle window) {
  RECT rect{};
  if (!::GetWindowRect(ToHwnd(window), &rect)) return {};
  return ToRect(rect);
}

Rect Win32WindowSystem::VisibleFrame(WindowHandle window) {
  const Rect whole = GetWindowRect(window);
  RECT frame{};
  const GetAttribute get = DwmGetWindowAttributeFunction();
  if (get == nullptr || FAILED(get(ToHwnd(window), kExtendedFrameBounds, &frame, sizeof frame))) return whole;
  return ToRect(frame);
}

Placement Win32WindowSystem::GetWindowPlacement(WindowHandle window) {
  WINDOWPLACEMENT record{};
  record.length = sizeof record;
  if (!::GetWindowPlacement(ToHwnd(window), &record)) return {};
  Placement placement;
  placement.showCmd = static_cast<std::int32_t>(record.showCmd);
  placement.minPosition = ToPoint(record.ptMinPosition);
  placement.maxPosition = ToPoint(record.ptMaxPosition);
  placement.normalPosition = ToRect(record.rcNormalPosition);
  return placement;
}

bool Win32WindowSystem::SetWindowPlacement(WindowHandle window, const Placement& placement) {
  WINDOWPLACEMENT record{};
  record.length = sizeof record;
  record.flags = 0;
  record.showCmd = static_cast<UINT>(placement.showCmd);
  record.ptMinPosition = ToPOINT(placement.minPosition);
  record.ptMaxPosition = ToPOINT(placement.maxPosition);
  record.rcNormalPosition = ToRECT(placement.normalPosition);
  return ::SetWindowPlacement(ToHwnd(window), &record) != FALSE;
}

bool Win32WindowSystem::ShowWindow(WindowHandle window, std::int32_t showCmd) {
  const HWND hwnd = ToHwnd(window);
  if (!::IsWindow(hwnd)) return false;
  ::ShowWindow(hwnd, showCmd);
  return true;
}

bool Win32WindowSystem::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                                     std::int32_t cx, std::int32_t cy, std::uint32_t flags) {
  return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

bool Win32WindowSystem::PostClose(WindowHandle window) {
  return ::PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0) != FALSE;
}

bool Win32WindowSystem::Exists(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsHung(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  // The system calls a window hung only after five seconds without a word; one whose thread has just
  // got stuck (a folder on a share that went away) would still hold every call up. So it is also asked
  // to answer an empty message within a bound.
  if (::IsHungAppWindow(hwnd)) return true;
  if (::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId()) return false;
  DWORD_PTR ignored = 0;
  if (::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithinMs, &ignored) != 0) return false;
  // A window that has gone is not hung: the calls on it fail at once.
  return ::GetLastError() != ERROR_INVALID_WINDOW_HANDLE && ::IsWindow(hwnd);
}

bool Win32WindowSystem::IsShownToUser(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (!::IsWindowVisible(hwnd)) return false;
  DWORD cloaked = 0;
  const GetAttribute get = DwmGetWindowAttributeFunction();
  return get == nullptr || FAILED(get(hwnd, kCloaked, &cloaked, sizeof cloaked)) || cloaked == 0;
}

}  // namespace zarn::win32
