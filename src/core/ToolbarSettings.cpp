#include "core/ToolbarSettings.h"

#include <algorithm>

namespace zarn {

CascadeVariant CascadeVariantFromSetting(std::int32_t uponDef) {
  return uponDef == 1 ? CascadeVariant::UniformSize : CascadeVariant::KeepSize;
}

ShowMode ShowModeFromSetting(std::int32_t stored) {
  switch (stored) {
    case 1:
      return ShowMode::WindowOnly;
    case 2:
      return ShowMode::TrayOnly;
    default:
      return ShowMode::WindowAndTray;
  }
}

ShowModeAction ShowModeActionFor(ShowMode mode) {
  switch (mode) {
    case ShowMode::WindowOnly:
      return {true, false};
    case ShowMode::TrayOnly:
      return {false, true};
    case ShowMode::WindowAndTray:
      break;
  }
  return {true, true};
}

bool CloseEndsProgram(ShowMode mode) { return mode == ShowMode::WindowOnly; }

TrayAction TrayActionFor(std::uint32_t mouseMessage, ShowMode mode, bool modalShowing) {
  if (mouseMessage == kWmRButtonDown) return modalShowing ? TrayAction::Nothing : TrayAction::PopUpMainMenu;
  if (mouseMessage == kWmLButtonDown && mode == ShowMode::WindowAndTray) return TrayAction::ShowWindow;
  return TrayAction::Nothing;
}

LayerRequest LayerRequestFor(std::int32_t layerType, std::int32_t alpha, std::uint32_t buttonFaceColour) {
  switch (layerType) {
    case 0:
      return {LayerAction::RemoveLayered, 0};
    case 1:
      return {LayerAction::ColourKey, buttonFaceColour & 0x00FFFFFFu};
    case 2:
      return {LayerAction::Alpha, static_cast<std::uint32_t>(std::clamp(alpha, 0, 255))};
    default:
      return {LayerAction::Nothing, 0};
  }
}

LoadButtonAction LoadButtonActionFor(std::int32_t workBenchLoad) {
  switch (workBenchLoad) {
    case 0:
      return LoadButtonAction::PopUpMenu;
    case 1:
      return LoadButtonAction::LoadLast;
    default:
      return LoadButtonAction::Nothing;
  }
}

}  // namespace zarn
