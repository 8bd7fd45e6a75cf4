#pragma once
// Monitors, the virtual desktop, system metrics and the pointer, from user32.
#include "platform/Display.h"

namespace zarn::win32 {

class Win32Display final : public Display {
 public:
  // Enumerated afresh on every call: monitors come and go while the program runs.
  std::vector<Area> Monitors() override;
  // The window's nearest monitor; for a handle that is no window, the primary monitor.
  int MonitorIndexOf(WindowHandle window) override;
  Area VirtualDesktop() override;
  std::int32_t CaptionHeight() override;
  // (0, 0) when the cursor position cannot be read (as on a locked desktop).
  Point CursorPos() override;
  bool LeftButtonDown() override;
};

}  // namespace zarn::win32
