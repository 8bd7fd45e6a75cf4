#include "core/ConfigSettings.h"

#include <algorithm>

#include "core/Profile.h"
#include "core/ProfileNumber.h"

namespace zarn {
namespace {

constexpr std::string_view kTitleBarView = "TitleBarView";
constexpr std::string_view kBackgroundImage = "BackgroundImage";
constexpr std::string_view kLeft = "Left";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";
constexpr std::string_view kCustomLeft = "CustomLeft";
constexpr std::string_view kCustomTop = "CustomTop";
constexpr std::string_view kCustomWidth = "CustomWidth";
constexpr std::string_view kCustomHeight = "CustomHeight";

std::optional<std::int32_t> ReadStored(const Profile& settings, std::string_view key) {
  return ParseInteger(settings.ReadString(kConfigSection, key, ""));
}

}  // namespace

std::int32_t ReadSetting(const Profile& settings, const IntegerSetting& setting) {
  return settings.ReadInteger(kConfigSection, setting.key, setting.fallback);
}

void WriteSetting(Profile& settings, const IntegerSetting& setting, std::int32_t value) {
  settings.WriteInteger(kConfigSection, setting.key, value);
}

std::int32_t ClampAlpha(std::int32_t alpha) { return std::clamp(alpha, 0, 255); }

CascadeVariant ReadCascadeVariant(const Profile& settings) {
  return CascadeVariantFromSetting(ReadSetting(settings, setting::kUponDef));
}

AreaMode ReadAreaMode(const Profile& settings) {
  return AreaModeFromSetting(ReadSetting(settings, setting::kMoniterMode));
}

ShowMode ReadShowMode(const Profile& settings) {
  return ShowModeFromSetting(ReadSetting(settings, setting::kShowMode));
}

LoadButtonAction ReadLoadButtonAction(const Profile& settings) {
  return LoadButtonActionFor(ReadSetting(settings, setting::kWorkBenchLoad));
}

LayerRequest ReadLayerRequest(const Profile& settings, std::uint32_t buttonFaceColour) {
  return LayerRequestFor(ReadSetting(settings, setting::kMainLayerType),
                         ReadSetting(settings, setting::kMainLayerAlpha), buttonFaceColour);
}

bool ReadTitleBarView(const Profile& settings) { return settings.ReadBool(kConfigSection, kTitleBarView, true); }

void WriteTitleBarView(Profile& settings, bool visible) { settings.WriteBool(kConfigSection, kTitleBarView, visible); }

std::string ReadBackgroundImage(const Profile& settings) {
  return settings.ReadString(kConfigSection, kBackgroundImage, "");
}

StoredFrame ReadToolbarFrame(const Profile& settings) {
  return {ReadStored(settings, kLeft), ReadStored(settings, kTop), ReadStored(settings, kWidth),
          ReadStored(settings, kHeight)};
}

void WriteToolbarFrame(Profile& settings, std::int32_t left, std::int32_t top, std::int32_t width,
                       std::int32_t height) {
  settings.WriteInteger(kConfigSection, kLeft, left);
  settings.WriteInteger(kConfigSection, kTop, top);
  settings.WriteInteger(kConfigSection, kWidth, width);
  settings.WriteInteger(kConfigSection, kHeight, height);
}

CustomArea ReadCustomArea(const Profile& settings) {
  return {ReadStored(settings, kCustomLeft), ReadStored(settings, kCustomTop), ReadStored(settings, kCustomWidth),
          ReadStored(settings, kCustomHeight)};
}

CustomBounds ReadCustomBounds(const Profile& settings) {
  const CustomBounds fallback;
  const CustomArea stored = ReadCustomArea(settings);
  return {stored.left.value_or(fallback.left), stored.top.value_or(fallback.top), stored.width.value_or(fallback.width),
          stored.height.value_or(fallback.height)};
}

void WriteCustomBounds(Profile& settings, const CustomBounds& bounds) {
  // In the order the editor has always written them, so files compare as before.
  settings.WriteInteger(kConfigSection, kCustomLeft, bounds.left);
  settings.WriteInteger(kConfigSection, kCustomTop, bounds.top);
  settings.WriteInteger(kConfigSection, kCustomHeight, bounds.height);
  settings.WriteInteger(kConfigSection, kCustomWidth, bounds.width);
}

}  // namespace zarn
