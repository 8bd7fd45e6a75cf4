#pragma once
// Monitors, the virtual desktop, system metrics and the pointer, from user32.
#include <windows.h>

#include <vector>

#include "core/ports/Display.h"

namespace zarn::win32 {

struct MonitorRecord {
  HMONITOR handle = nullptr;
  Area monitor;   // the whole monitor
  Area workArea;  // without the taskbar
};

// Every monitor in the system's enumeration order; never empty (a session without monitor
// information still has a screen).
std::vector<MonitorRecord> EnumerateMonitors();

class Win32Display final : public Display {
 public:
  // Enumerated afresh on every call: monitors come and go while the program runs.
  std::vector<Area> Monitors() override;
  // The window's nearest monitor; for a handle that is no window, the primary monitor.
  int MonitorIndexOf(WindowHandle window) override;
  Area VirtualDesktop() override;
  std::int32_t CaptionHeight() override;
  // (0, 0) when the cursor position cannot be read (as on a locked desktop).
};

}  // namespace zarn::win32
