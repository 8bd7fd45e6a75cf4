#pragma once
// The window-system calls the logic makes on other programs' windows.
#include <cstdint>

#include "core/Geometry.h"

namespace zarn {

// Like the calls they stand for, these never throw: a window that has gone meanwhile reads as zeros
// and the setters report false. The logic decides which of those results matter.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual Rect GetWindowRect(WindowHandle window) = 0;
  // The part of the window rectangle the user sees: without the invisible resize borders Windows 10
  // and 11 give a window (DWMWA_EXTENDED_FRAME_BOUNDS). The window rectangle where the system has no
  // such borders.
  virtual Rect VisibleFrame(WindowHandle window) = 0;
  virtual Placement GetWindowPlacement(WindowHandle window) = 0;
  virtual bool SetWindowPlacement(WindowHandle window, const Placement& placement) = 0;
  virtual bool ShowWindow(WindowHandle window, std::int32_t showCmd) = 0;
  virtual bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                            std::int32_t cx, std::int32_t cy, std::uint32_t flags) = 0;
  // WM_CLOSE, posted: asynchronous and not awaited.
  virtual bool PostClose(WindowHandle window) = 0;
  // The handle still names a window (IsWindow): one asked to close has not gone yet.
  virtual bool Exists(WindowHandle window) = 0;
  // The window's thread has stopped answering (a folder on a share that does not answer, a sleeping
  // drive): ShowWindow, SetWindowPos and SetWindowPlacement would wait for it without limit. Asking
  // may itself take up to a second.
  virtual bool IsHung(WindowHandle window) = 0;
  // Visible, and not cloaked: a window on another virtual desktop is cloaked, and one the shell keeps
  // ready in the background is hidden. Neither is there for the user.
  virtual bool IsShownToUser(WindowHandle window) = 0;
};

}  // namespace zarn
