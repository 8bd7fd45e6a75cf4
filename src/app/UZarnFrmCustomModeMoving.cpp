// The region editor moved by its handle or the keyboard, and snapped to a monitor's corners.
#include "app/UZarnFrmCustomMode.h"

#include <vector>

#include "app/Dpi.h"
#include "core/RegionSnapping.h"
#include "win32/Win32Display.h"

namespace zarn::app {

void TZarnFrmCustomMode::FormMove_OnMDown(HWND sender, int x, int y) {
  DragOrigin = {x, y};
  if (toolTips_ != nullptr) ::SendMessageW(toolTips_, TTM_POP, 0, 0);
  // Captured, so a quick drag that outruns the small control keeps moving the window.
  if (::GetKeyState(VK_LBUTTON) < 0) ::SetCapture(sender);
}

// The control moves with the window, so the pointer comes back to DragOrigin after each step.
void TZarnFrmCustomMode::FormMove_OnMMove(int x, int y) {
  if (::GetKeyState(VK_LBUTTON) >= 0) return;
  const int dx = x - DragOrigin.x;
  const int dy = y - DragOrigin.y;
  if (dx == 0 && dy == 0) return;
  RECT r{};
  ::GetWindowRect(window_, &r);
  SetBounds(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
}

// The arrow keys move the rectangle by a pixel, by ten with Shift; Enter presses the button that
// has the focus, as Space does.
bool TZarnFrmCustomMode::OnKey(HWND target, WPARAM key) {
  const int step = ::GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
  int dx = 0;
  int dy = 0;
  switch (key) {
    case VK_LEFT:
      dx = -step;
      break;
    case VK_RIGHT:
      dx = step;
      break;
    case VK_UP:
      dy = -step;
      break;
    case VK_DOWN:
      dy = step;
      break;
    case VK_RETURN:
      for (HWND button : {zarnBtnTopLeft_, zarnBtnTopRight_, zarnBtnButtomLeft_, zarnBtnButtomRight_, zarnBtnOK_}) {
        if (button == target) {
          ::PostMessageW(button, BM_CLICK, 0, 0);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
  RECT r{};
  ::GetWindowRect(window_, &r);
  SetBounds(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
  return true;
}

void TZarnFrmCustomMode::SetBounds(int left, int top, int width, int height) {
  ::SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TZarnFrmCustomMode::MonitorIndexAtCursor() const {
  // Whole monitors: the taskbar's area belongs to the region too.
  const std::vector<win32::MonitorRecord> records = win32::EnumerateMonitors();
  HMONITOR own = ::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
  int editorMonitor = 0;
  std::vector<Area> monitors;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].handle == own) editorMonitor = static_cast<int>(i);
    monitors.push_back(records[i].monitor);
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return zarn::MonitorIndexAtCursor(monitors, editorMonitor, {cursor.x, cursor.y});
}

void TZarnFrmCustomMode::SnapTo(Corner corner) {
  std::vector<Area> monitors;
  for (const win32::MonitorRecord& record : win32::EnumerateMonitors()) monitors.push_back(record.monitor);
  const int index = MonitorIndexAtCursor();
  if (index < 0 || static_cast<std::size_t>(index) >= monitors.size()) return;
  RECT r{};
  ::GetWindowRect(window_, &r);
  const Rect snapped =
      SnapCorner({r.left, r.top, r.right, r.bottom}, monitors[static_cast<std::size_t>(index)], corner);
  SetBounds(snapped.left, snapped.top, snapped.Width(), snapped.Height());
}

}  // namespace zarn::app
