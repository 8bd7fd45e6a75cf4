#pragma once
// The notification-area icon through Shell_NotifyIconW.
#include <string>
#include <string_view>

#include "platform/Tray.h"

namespace zarn::win32 {

// The tip as the icon record holds it: at most 127 units, never cut inside a surrogate pair.
std::wstring TrayTip(std::u16string_view tip);

class Win32Tray final : public Tray {
 public:
  bool Add(const TrayIcon& icon) override;
  bool Remove(const TrayIcon& icon) override;
};

}  // namespace zarn::win32
