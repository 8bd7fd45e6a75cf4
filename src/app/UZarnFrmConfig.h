#pragma once
// The settings dialog, opened modally on one of its pages by the toolbar's commands: the general
// settings, the toolbar's appearance, and the workbench organiser.
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/SettingsModel.h"
#include "core/WorkBenchOrganiser.h"
#include "win32/UniqueHandles.h"

namespace zarn::app {

class TZarnDM;

enum class ConfigPage { WorkBenches = 0, General = 1, Screen = 2 };

class TZarnFrmConfig {
 public:
  explicit TZarnFrmConfig(TZarnDM& dataModule) : dm_(dataModule) {}
  TZarnFrmConfig(const TZarnFrmConfig&) = delete;
  TZarnFrmConfig& operator=(const TZarnFrmConfig&) = delete;

  // Shows the dialog over `owner` (the main window, which also receives the transparency preview)
  // on `page`; true when it closed with OK.
  bool ShowModal(HWND owner, ConfigPage page);
  bool Showing() const { return dialog_ != nullptr; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ShowPage(ConfigPage page);
  void FormShow();
  void SetComboSelection(int id, std::optional<std::int32_t> index);
  SettingsValues ControlValues() const;
  void OnCommand(int id, int notification);
  void ZarnBtnOKClick();
  void ZarnBtnCancelClick();
  void ZarnCmbMonitModeChange();
  void ZarnCmbLayerTypeChange();
  void ZarnTkBMainLayerChange();
  void PostPreview(const LayerRequest& preview);
  void Close(bool ok);

  // ---- the template and the pages' controls (UZarnFrmConfigLayout.cpp)
  static std::vector<WORD> DialogTemplate();
  void CreateControls();
  HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                  int id, std::optional<ConfigPage> page);
  void AddToolTip(int id, const wchar_t* text);

  // ---- the organiser page (UZarnFrmConfigOrganiser.cpp)
  void FillWorkBenchList();
  void ZarnBtnUpClick();
  void ZarnBtnDownClick();
  void ZarnBtnDeleteClick();
  void ZarnBtnChangeNameClick();

  TZarnDM& dm_;
  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
  HWND tabs_ = nullptr;
  HWND tips_ = nullptr;
  HFONT font_ = nullptr;  // the dialog's own, which goes with the dialog
  win32::UniqueIcon upGlyph_;
  win32::UniqueIcon downGlyph_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  ConfigPage page_ = ConfigPage::General;
  std::unique_ptr<WorkBenchOrganiser> organiser_;
  struct PageControl {
    HWND window;
    std::optional<ConfigPage> page;  // none: shown on every page
  };
  static constexpr std::optional<ConfigPage> kEveryPage = std::nullopt;
  std::vector<PageControl> pageControls_;
  int trackBarPosition_ = 0;
};

}  // namespace zarn::app
