#pragma once
// Where the toolbar window opens: the stored position, kept where it can be seen.
#include <vector>

#include "core/Geometry.h"

namespace zarn {

struct MonitorAreas {
  Area monitor;   // the whole monitor
  Area workArea;  // without the taskbar
};

// `stored` is the outer top-left corner read from the settings, `size` the window's outer size.
// A left beyond the virtual desktop's width (or a top beyond its height) starts at 0, as it always
// has. A window that would then lie on no monitor at all (its monitor unplugged, the resolution
// lowered) moves onto the nearest monitor's work area, fully visible there. Anything else stays,
// negative coordinates of a monitor left of or above the primary one included.
Point StartPosition(Point stored, Extent size, const Area& virtualDesktop, const std::vector<MonitorAreas>& monitors);

}  // namespace zarn
