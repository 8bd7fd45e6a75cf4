#include "core/SettingsModel.h"

#include <algorithm>

#include "core/Profile.h"
#include "core/ConfigSettings.h"

namespace zarn {
namespace {

// A drop-down list cannot select an item it does not have; showing none lets OK store -1 rather than
// quietly turning a value another editor wrote into the first item.
std::optional<std::int32_t> ListIndex(const Profile& settings, const IntegerSetting& list) {
  const std::int32_t stored = ReadSetting(settings, list);
  if (stored < 0 || stored >= list.listItems) return std::nullopt;
  return stored;
}

void WriteListIndex(Profile& settings, const IntegerSetting& list, const std::optional<std::int32_t>& index) {
  WriteSetting(settings, list, index.value_or(-1));
}

constexpr std::uint32_t kOpaque = 255;

}  // namespace

SettingsValues ReadSettingsValues(const Profile& settings) {
  SettingsValues values;
  values.moniterMode = ListIndex(settings, setting::kMoniterMode);
  values.showMode = ListIndex(settings, setting::kShowMode);
  values.titleBarView = ReadTitleBarView(settings);
  values.mainLayerType = ListIndex(settings, setting::kMainLayerType);
  // The track bar cannot show a position outside its range, and OK stores what it shows.
  values.mainLayerAlpha = ClampAlpha(ReadSetting(settings, setting::kMainLayerAlpha));
  values.workBenchLoad = ListIndex(settings, setting::kWorkBenchLoad);
  return values;
}

void WriteSettingsValues(Profile& settings, const SettingsValues& values) {
  WriteListIndex(settings, setting::kMoniterMode, values.moniterMode);
  WriteListIndex(settings, setting::kShowMode, values.showMode);
  WriteTitleBarView(settings, values.titleBarView);
  WriteListIndex(settings, setting::kMainLayerType, values.mainLayerType);
  WriteSetting(settings, setting::kMainLayerAlpha, ClampAlpha(values.mainLayerAlpha));
  WriteListIndex(settings, setting::kWorkBenchLoad, values.workBenchLoad);
}

LayerRequest PreviewForLayerType(const SettingsValues& values, std::uint32_t buttonFaceColour) {
  if (!values.mainLayerType) return {};
  // Opaque is previewed as full alpha: the window stays layered until the dialog closes.
  if (*values.mainLayerType == 0) return {LayerAction::Alpha, kOpaque};
  const LayerRequest request = LayerRequestFor(*values.mainLayerType, values.mainLayerAlpha, buttonFaceColour);
  return request.action == LayerAction::RemoveLayered ? LayerRequest{} : request;
}

LayerRequest PreviewForAlpha(const SettingsValues& values) {
  if (values.mainLayerType != 2) return {};
  return LayerRequestFor(2, values.mainLayerAlpha, 0);
}

}  // namespace zarn
