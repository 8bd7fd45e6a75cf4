#pragma once
// What the settings dialog shows for the stored settings and what its OK stores: the dialog fills
// its controls from these values and reads them back, and never touches the profile itself.
#include <cstdint>
#include <optional>

#include "core/ToolbarSettings.h"

namespace zarn {

class Profile;

struct SettingsValues {
  // A drop-down list's selected index; nullopt when the stored number names none of its items.
  std::optional<std::int32_t> moniterMode;  // "カレントモニタ", "デスクトップ", "カスタム"
  std::optional<std::int32_t> showMode;     // 3 items
  bool titleBarView = true;
  std::optional<std::int32_t> mainLayerType;  // 3 items
  std::int32_t mainLayerAlpha = 255;          // the track bar's position, always 0-255
  std::optional<std::int32_t> workBenchLoad;  // 2 items
  friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// The values as the dialog shows them when it opens: each stored number with its default, a number
// outside a list's items as no selection, the alpha clamped to the track bar's range.
SettingsValues ReadSettingsValues(const Profile& settings);
// What OK writes to [Config]: a list without selection stores -1, as its index.
void WriteSettingsValues(Profile& settings, const SettingsValues& values);

// The live transparency preview for the dialog's current choice, as a WM_SETLAYER request: never
// RemoveLayered, which only the stored setting applies.
// Changing the layer type (or the load list, which shares its handler): 0 previews alpha 255, 1 and
// 2 what the setting would apply (the colour key of the window's background, the track bar's
// alpha), no selection nothing.
LayerRequest PreviewForLayerType(const SettingsValues& values, std::uint32_t buttonFaceColour);
// Moving the track bar previews its alpha only while type 2 is chosen.
LayerRequest PreviewForAlpha(const SettingsValues& values);

}  // namespace zarn
