#pragma once
// Every setting of [Config] in the settings file: its key, its default and what a stored value
// outside its range means. This is the only place that spells a key; the windows, the settings
// dialog's model and the arrangement read and write through it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ArrangeLayout.h"
#include "core/RegionSnapping.h"
#include "core/ToolbarSettings.h"

namespace zarn {

class Profile;

inline constexpr std::string_view kConfigSection = "Config";

struct IntegerSetting {
  std::string_view key;
  std::int32_t fallback;   // when the key is missing or holds no number
  std::int32_t listItems;  // the settings dialog's items for it; 0 when it is no list
};

namespace setting {
// The cascade button's default variant; kept as stored until the button's body is clicked.
inline constexpr IntegerSetting kUponDef{"UponDef", 0, 0};
// The arrangement area: 0 the toolbar's monitor (and every unknown value), 1 the desktop, 2 custom.
inline constexpr IntegerSetting kMoniterMode{"MoniterMode", 0, 3};
// 0 window and icon, 1 window only, 2 icon only; every other value acts as 0.
inline constexpr IntegerSetting kShowMode{"ShowMode", 0, 3};
// 0 opaque, 1 colour key, 2 alpha; every other value changes nothing.
inline constexpr IntegerSetting kMainLayerType{"MainLayerType", 0, 3};
// 0 invisible to 255 opaque; clamped to that range wherever it is used.
inline constexpr IntegerSetting kMainLayerAlpha{"MainLayerAlpha", 255, 0};
// The load button's body: 0 its menu, 1 the last workbench; every other value does nothing.
inline constexpr IntegerSetting kWorkBenchLoad{"WorkBenchLoad", 0, 2};
}  // namespace setting

std::int32_t ReadSetting(const Profile& settings, const IntegerSetting& setting);
void WriteSetting(Profile& settings, const IntegerSetting& setting, std::int32_t value);

// The alpha's range rule.
std::int32_t ClampAlpha(std::int32_t alpha);

// ---- what the stored numbers mean to the program
CascadeVariant ReadCascadeVariant(const Profile& settings);
AreaMode ReadAreaMode(const Profile& settings);
ShowMode ReadShowMode(const Profile& settings);
LoadButtonAction ReadLoadButtonAction(const Profile& settings);
// What the toolbar's transparency is, with the window's background colour for the colour key.
LayerRequest ReadLayerRequest(const Profile& settings, std::uint32_t buttonFaceColour);

// ---- TitleBarView (default on)
bool ReadTitleBarView(const Profile& settings);
void WriteTitleBarView(Profile& settings, bool visible);

// ---- BackgroundImage (default none): the picture's path as code page 932 bytes
std::string ReadBackgroundImage(const Profile& settings);

// ---- Left, Top, Width (client), Height (client): the toolbar's place and size, each nullopt
// when not stored as a number
struct StoredFrame {
  std::optional<std::int32_t> left;
  std::optional<std::int32_t> top;
  std::optional<std::int32_t> width;
  std::optional<std::int32_t> height;
};
StoredFrame ReadToolbarFrame(const Profile& settings);
void WriteToolbarFrame(Profile& settings, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

// ---- CustomLeft, CustomTop, CustomWidth, CustomHeight: the custom arrangement area
// As the arrangement takes it: a missing value falls back to the virtual desktop's own.
CustomArea ReadCustomArea(const Profile& settings);
// As the region editor opens on it: 0, 0, 500 x 500 for what is missing.
CustomBounds ReadCustomBounds(const Profile& settings);
void WriteCustomBounds(Profile& settings, const CustomBounds& bounds);

}  // namespace zarn
