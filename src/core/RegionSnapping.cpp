#include "core/RegionSnapping.h"

#include <cstddef>

namespace zarn {

int MonitorIndexAtCursor(const std::vector<Area>& monitors, int editorMonitor, Point cursor) {
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const Area& m = monitors[i];
    // Both ends inclusive: a cursor on the seam of two monitors side by side picks the first.
    // Widened, so a monitor at the far end of the coordinate range cannot overflow.
    if (m.left <= cursor.x && static_cast<std::int64_t>(cursor.x) <= static_cast<std::int64_t>(m.left) + m.width) {
      return static_cast<int>(i);
    }
  }
  return editorMonitor;
}

Rect SnapCorner(const Rect& editor, const Area& monitor, Corner corner) {
  Rect r = editor;
  const std::int32_t right = monitor.left + monitor.width;
  const std::int32_t bottom = monitor.top + monitor.height;
  switch (corner) {
    case Corner::TopLeft:
      r.left = monitor.left;
      r.top = monitor.top;
      break;
    case Corner::TopRight:
      r.right = right;
      r.top = monitor.top;
      break;
    case Corner::BottomLeft:
      r.left = monitor.left;
      r.bottom = bottom;
      break;
    case Corner::BottomRight:
      r.right = right;
      r.bottom = bottom;
      break;
  }
  return r;
}

}  // namespace zarn
