#pragma once
// The window-system calls on other programs' windows, straight onto user32.
#include "core/ports/WindowSystem.h"

namespace zarn::win32 {

class Win32WindowSystem final : public WindowSystem {
 public:
  Rect GetWindowRect(WindowHandle window) override;
  Rect VisibleFrame(WindowHandle window) override;
  // The record is zeroed and its length set before the call; a failed call reads as all zeros.
  Placement GetWindowPlacement(WindowHandle window) override;
  // Flags 0: the minimized and maximized positions are passed but the system keeps its own.
  bool SetWindowPlacement(WindowHandle window, const Placement& placement) override;
  // The value ShowWindow returns says whether the window was visible before, not whether the call
  // worked; this answers false only for a handle that is no window.
  bool ShowWindow(WindowHandle window, std::int32_t showCmd) override;
  bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                    std::int32_t cy, std::uint32_t flags) override;
  bool PostClose(WindowHandle window) override;
  bool Exists(WindowHandle window) override;
  // IsHungAppWindow, or no answer to WM_NULL within kAnswerWithinMs.
  static constexpr unsigned kAnswerWithinMs = 1000;
  bool IsHung(WindowHandle window) override;
  bool IsShownToUser(WindowHandle window) override;
};

}  // namespace zarn::win32
