#pragma once
// The settings dialog, opened modally on one of its pages by the toolbar's commands.
#include <windows.h>

namespace zarn::app {

class TZarnDM;

enum class ConfigPage { WorkBenches, General };

class TZarnFrmConfig {
 public:
  explicit TZarnFrmConfig(TZarnDM& dataModule) : dm_(dataModule) {}
  TZarnFrmConfig(const TZarnFrmConfig&) = delete;
  TZarnFrmConfig& operator=(const TZarnFrmConfig&) = delete;

  // True when it closed with OK.
  bool ShowModal(HWND owner, ConfigPage page);
  bool Showing() const { return showing_; }

 private:
  [[maybe_unused]] TZarnDM& dm_;
  bool showing_ = false;
};

}  // namespace zarn::app
