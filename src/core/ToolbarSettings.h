#pragma once
// What the toolbar program does with each stored setting of [Config] (read through ConfigSettings.h):
// the values a user or another editor may have put there are all answered here, so the window code
// only applies the result.
#include <cstdint>

namespace zarn {

// ---- the cascade button's default variant (UponDef)
enum class CascadeVariant : std::int32_t { KeepSize = 0, UniformSize = 1 };
// A value naming no item of the cascade menu acts as the first; the stored value itself is kept.
CascadeVariant CascadeVariantFromSetting(std::int32_t uponDef);

// ---- start mode (ShowMode)
enum class ShowMode : std::int32_t { WindowAndTray = 0, WindowOnly = 1, TrayOnly = 2 };
// Values outside 0-2 act as 0: the program must never run with neither window nor icon.
ShowMode ShowModeFromSetting(std::int32_t stored);

struct ShowModeAction {
  bool showWindow = true;
  bool addTrayIcon = true;  // the icon is always removed first, so there is never more than one
};
ShowModeAction ShowModeActionFor(ShowMode mode);
// Closing the window ends the program only where there is no icon to come back through.
bool CloseEndsProgram(ShowMode mode);

// ---- the tray icon's callback (the mouse message in lParam)
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
enum class TrayAction { Nothing, PopUpMainMenu, ShowWindow };
// `modalShowing`: a modal dialog of the program is open, which owns the user's attention.
TrayAction TrayActionFor(std::uint32_t mouseMessage, ShowMode mode, bool modalShowing);

// ---- transparency (MainLayerType, MainLayerAlpha)
enum class LayerAction { RemoveLayered, ColourKey, Alpha, Nothing };
struct LayerRequest {
  LayerAction action = LayerAction::Nothing;
  std::uint32_t value = 0;  // the colour key (0x00BBGGRR) or the alpha
};
// An alpha outside 0-255 is clamped: taking its low byte would make 256 invisible.
LayerRequest LayerRequestFor(std::int32_t layerType, std::int32_t alpha, std::uint32_t buttonFaceColour);

// ---- the load button's body (WorkBenchLoad)
enum class LoadButtonAction { PopUpMenu, LoadLast, Nothing };
LoadButtonAction LoadButtonActionFor(std::int32_t workBenchLoad);

}  // namespace zarn
