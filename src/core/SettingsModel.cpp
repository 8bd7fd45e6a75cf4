#include "core/SettingsModel.h"

#include <algorithm>

#include "core/Profile.h"
#include "core/ToolbarSettings.h"

namespace zarn {
namespace {

// A drop-down list cannot select an item it does not have; showing none lets OK store -1 rather than
// quietly turning a value another editor wrote into the first item.
std::optional<std::int32_t> ListIndex(std::int32_t stored, std::int32_t items) {
  if (stored < 0 || stored >= items) return std::nullopt;
  return stored;
}

std::int32_t StoredIndex(const std::optional<std::int32_t>& index) { return index.value_or(-1); }

constexpr std::int32_t kOpaque = 255;

}  // namespace

SettingsValues ReadSettingsValues(const Profile& settings) {
  SettingsValues values;
  values.moniterMode = ListIndex(settings.ReadInteger(kConfigSection, "MoniterMode", 0), kMoniterModeItems);
  values.showMode = ListIndex(settings.ReadInteger(kConfigSection, "ShowMode", 0), kShowModeItems);
  values.titleBarView = settings.ReadBool(kConfigSection, "TitleBarView", true);
  values.mainLayerType = ListIndex(settings.ReadInteger(kConfigSection, "MainLayerType", 0), kLayerTypeItems);
  // The track bar cannot show a position outside its range, and OK stores what it shows.
  values.mainLayerAlpha = std::clamp(settings.ReadInteger(kConfigSection, "MainLayerAlpha", kOpaque), 0, kOpaque);
  values.workBenchLoad = ListIndex(settings.ReadInteger(kConfigSection, "WorkBenchLoad", 0), kWorkBenchLoadItems);
  return values;
}

void WriteSettingsValues(Profile& settings, const SettingsValues& values) {
  settings.WriteInteger(kConfigSection, "MoniterMode", StoredIndex(values.moniterMode));
  settings.WriteInteger(kConfigSection, "ShowMode", StoredIndex(values.showMode));
  settings.WriteBool(kConfigSection, "TitleBarView", values.titleBarView);
  settings.WriteInteger(kConfigSection, "MainLayerType", StoredIndex(values.mainLayerType));
  settings.WriteInteger(kConfigSection, "MainLayerAlpha", std::clamp(values.mainLayerAlpha, 0, kOpaque));
  settings.WriteInteger(kConfigSection, "WorkBenchLoad", StoredIndex(values.workBenchLoad));
}

LayerPreview PreviewForLayerType(const SettingsValues& values, std::uint32_t buttonFaceColour) {
  if (!values.mainLayerType) return {};
  switch (*values.mainLayerType) {
    case 0:
      return {LayerPreview::Kind::Alpha, static_cast<std::uint32_t>(kOpaque)};
    case 1:
      // A colour reference's high byte carries flags, never part of the key.
      return {LayerPreview::Kind::ColourKey, buttonFaceColour & 0xFFFFFFu};
    case 2:
      return {LayerPreview::Kind::Alpha, static_cast<std::uint32_t>(std::clamp(values.mainLayerAlpha, 0, kOpaque))};
    default:
      return {};
  }
}

LayerPreview PreviewForAlpha(const SettingsValues& values) {
  if (values.mainLayerType != 2) return {};
  return {LayerPreview::Kind::Alpha, static_cast<std::uint32_t>(std::clamp(values.mainLayerAlpha, 0, kOpaque))};
}

}  // namespace zarn
