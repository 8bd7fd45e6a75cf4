#pragma once
// Monitors, the virtual desktop, system metrics and the pointer.
#include <cstdint>
#include <vector>

#include "core/Geometry.h"

namespace zarn {

class Display {
 public:
  virtual ~Display() = default;
  // Whole monitors (not work areas), in the system's enumeration order; never empty.
  virtual std::vector<Area> Monitors() = 0;
  // Index into Monitors() of the monitor holding the window, or the nearest one if none holds it.
  virtual int MonitorIndexOf(WindowHandle window) = 0;
  // SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN, SM_CXVIRTUALSCREEN, SM_CYVIRTUALSCREEN.
  virtual Area VirtualDesktop() = 0;
  // GetSystemMetrics(SM_CYCAPTION).
  virtual std::int32_t CaptionHeight() = 0;
};

}  // namespace zarn
