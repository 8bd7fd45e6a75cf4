#include "win32/Win32Display.h"

#include "win32/WindowHandles.h"

namespace zarn::win32 {
namespace {

Area AreaOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<MonitorRecord>*>(data)->push_back(
        {monitor, AreaOf(info.rcMonitor), AreaOf(info.rcWork)});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorRecord> EnumerateMonitors() {
  std::vector<MonitorRecord> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    // Callers divide by monitor sizes.
    const Area screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    monitors.push_back({::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), screen, screen});
  }
  return monitors;
}

std::vector<Area> Win32Display::Monitors() {
  std::vector<Area> areas;
  for (const MonitorRecord& monitor : EnumerateMonitors()) areas.push_back(monitor.monitor);
  return areas;
}

int Win32Display::MonitorIndexOf(WindowHandle window) {
  HMONITOR target = nullptr;
  const HWND hwnd = ToHwnd(window);
  if (::IsWindow(hwnd)) target = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  if (target == nullptr) target = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  const std::vector<MonitorRecord> monitors = EnumerateMonitors();
  for (std::size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].handle == target) return static_cast<int>(i);
  return 0;
}

Area Win32Display::VirtualDesktop() {
  return {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
          ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::int32_t Win32Display::CaptionHeight() { return ::GetSystemMetrics(SM_CYCAPTION); }

}  // namespace zarn::win32
