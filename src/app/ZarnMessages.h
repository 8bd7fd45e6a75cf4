#pragma once
// The program's private window messages and names other processes may rely on.
#include <windows.h>

#include "core/ToolbarSettings.h"

namespace zarn::app {

inline constexpr wchar_t kMainWindowClass[] = L"TZarnFrmMain";
inline constexpr wchar_t kApplicationTitle[] = L"Zarn";

// The tray icon's callback; lParam is the mouse message.
inline constexpr UINT WM_TRAYNOTIFY = WM_APP + 1000;
// A transparency request: wParam a colour (0x00BBGGRR) or an alpha, lParam which of the two.
inline constexpr UINT WM_SETLAYER = WM_APP + 256;
enum class SetLayerKind : LPARAM { ColourKey = 1, Alpha = 2 };
// The message for a request that has one (a colour key or an alpha); false for any other.
inline bool SetLayerMessageFor(LayerAction action, SetLayerKind& kind) {
  switch (action) {
    case LayerAction::ColourKey:
      kind = SetLayerKind::ColourKey;
      return true;
    case LayerAction::Alpha:
      kind = SetLayerKind::Alpha;
      return true;
    case LayerAction::RemoveLayered:
    case LayerAction::Nothing:
      break;
  }
  return false;
}
// Posted by a second start of the same Zarn.exe to the copy already running.
inline constexpr UINT WM_SECONDSTART = WM_APP + 1001;
// Names the settings file a main window belongs to, so a second start finds its own copy.
inline constexpr wchar_t kInstanceProperty[] = L"Zarn.SettingsFile";

}  // namespace zarn::app
