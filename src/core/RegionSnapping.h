#pragma once
// The custom region editor's arithmetic: which monitor the cursor is over, and the editor's
// rectangle after a corner button snapped it to that monitor. Whole monitors, not work areas.
#include <vector>

#include "core/Geometry.h"

namespace zarn {

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

// The first monitor, in order, whose horizontal extent holds the cursor (left <= x <= left +
// width); only x is tested. `editorMonitor` (the monitor holding the editor) when none does.
int MonitorIndexAtCursor(const std::vector<Area>& monitors, int editorMonitor, Point cursor);

// The editor's rectangle with the chosen corner moved onto the same corner of `monitor`; the
// opposite edges stay.
Rect SnapCorner(const Rect& editor, const Area& monitor, Corner corner);

// What the editor stores in CustomLeft, CustomTop, CustomWidth, CustomHeight when it closes: the
// confirmed rectangle, or, when it was closed without confirming, the previous values, so an
// empty area never reaches the arrangement.
struct CustomBounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 500;
  std::int32_t height = 500;
  friend bool operator==(const CustomBounds&, const CustomBounds&) = default;
};

}  // namespace zarn
