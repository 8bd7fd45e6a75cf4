#pragma once
// The notification-area icon.
#include <cstdint>
#include <string>

#include "core/Geometry.h"

namespace zarn {

struct TrayIcon {
  WindowHandle owner = 0;
  std::uint32_t id = 0;
  std::uint32_t callbackMessage = 0;
  std::uint64_t icon = 0;  // an HICON, widened
  std::u16string tip;
};

class Tray {
 public:
  virtual ~Tray() = default;
  // Shell_NotifyIcon NIM_ADD / NIM_DELETE.
  virtual bool Add(const TrayIcon& icon) = 0;
  virtual bool Remove(const TrayIcon& icon) = 0;
};

}  // namespace zarn
