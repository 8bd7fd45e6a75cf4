#pragma once
// The notification-area icon through Shell_NotifyIconW.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Geometry.h"

namespace zarn::win32 {

struct TrayIcon {
  WindowHandle owner = 0;
  std::uint32_t id = 0;
  std::uint32_t callbackMessage = 0;
  std::uint64_t icon = 0;  // an HICON, widened
  std::u16string tip;
};

// The tip as the icon record holds it: at most 127 units, never cut inside a surrogate pair.
std::wstring TrayTip(std::u16string_view tip);

// Shell_NotifyIcon NIM_ADD / NIM_DELETE.
bool AddTrayIcon(const TrayIcon& icon);
bool RemoveTrayIcon(const TrayIcon& icon);
// NIM_MODIFY of the tip alone.
bool ChangeTrayTip(const TrayIcon& icon);

}  // namespace zarn::win32
