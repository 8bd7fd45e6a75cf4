#pragma once
// The main toolbar window: the tool bar, its menus, the tray icon and the window's appearance.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/BackgroundPicture.h"
#include "core/FolderWindows.h"
#include "core/ToolbarSettings.h"
#include "core/WorkBenchMenuMarks.h"
#include "app/FormWindowProc.h"
#include "win32/UniqueHandles.h"
#include "win32/Win32Clock.h"
#include "win32/Win32Display.h"
#include "win32/Win32Shell.h"
#include "win32/Win32Tray.h"
#include "win32/Win32WindowSystem.h"

namespace zarn::app {

class TZarnDM;
class TZarnFrmConfig;

class TZarnFrmMain final : private RestoreProgress {
 public:
  explicit TZarnFrmMain(TZarnDM& dataModule);
  ~TZarnFrmMain() override;
  TZarnFrmMain(const TZarnFrmMain&) = delete;
  TZarnFrmMain& operator=(const TZarnFrmMain&) = delete;

  // Creates the window (FormCreate); in start modes 0 and 1 it is visible afterwards.
  void Create(std::uint64_t instanceKey);
  // Destroys the window (FormDestroy writes the settings file). Safe to call twice.
  void Destroy();
  HWND Handle() const { return window_; }
  void SetConfigDialog(TZarnFrmConfig* dialog) { config_ = dialog; }

  // ---- Part of the window other forms use.
  void BuildWorkBenchMenus();
  void ApplyShowMode();
  void SetTitleBarVisible(bool visible);
  void ApplyLayerType();

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // ---- start-up, layout, shutdown
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void FormDestroy();
  void LoadFormSettings();
  void SaveFormSettings();
  void CreateToolBar();
  void ApplyDpi(UINT dpi);
  void SetClientSize(int width, int height);
  void WrapToolBar(int width);
  SIZE ToolBarSize();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnEndSession();

  // ---- commands
  void OnCommand(int id);
  void Run(const std::function<void()>& command);
  void ZarnBtnUponClick();
  void ZarnMiCascade1Click();
  void ZarnMiCascade2Click();
  void Cascade(CascadeVariant variant);
  void ZarnBtnSxSClick();
  void ZarnBtnCloseClick();
  void ZarnBtnExitClick();
  void ZarnBtnConfigClick();
  void OnToolBarDropDown(const NMTOOLBARW& info);
  bool OnToolBarNotify(NMHDR& header, LRESULT& result);
  void ShowToolTip(NMTTDISPINFOW& info);

  // ---- workbench menus (UZarnFrmMainMenus.cpp)
  void CreateMenus();
  void DestroyMenus();
  void ClearWorkBenchItems(HMENU menu);
  void AddWorkBenchItem(HMENU menu, WorkBenchMenu which, std::size_t index, const std::string& name);
  void ApplyMenuMarks();
  void OnInitMenuPopup(HMENU menu);
  bool OnWorkBenchCommand(int id);
  void WorkBenchLoadItemClick(WorkBenchMenu menu, std::size_t index);
  void WorkBenchSaveItemClick(WorkBenchMenu menu, std::size_t index);
  void ZarnMiNewWBClick();
  void ZarnMiDeleteWBClick();
  void ZarnBtnWBSvClick();
  void ZarnBtnWBLdClick();
  void LoadWorkBench(const std::string& name);
  void ReportLeftOut(const SaveResult& result);
  void PopUp(HMENU menu, POINT at, UINT flags = 0);
  void PopUpMainMenu(POINT at);
  HMENU MenuOf(WorkBenchMenu menu) const;
  void SetMenuImages();
  void MeasureMenuImage(MEASUREITEMSTRUCT& item) const;
  void DrawMenuImage(const DRAWITEMSTRUCT& item) const;

  // ---- a restore under way (UZarnFrmMainRestore.cpp). Its waits dispatch messages, so the window
  // answers, shows the progress and can be told to stop; no other command starts meanwhile.
  void Opening(std::size_t number, std::size_t count) override;
  bool StopRequested() override;
  void ShowRestoreProgress(const std::u16string& text);
  // Escape on the window or its tool bar stops the restore.
  bool FilterDuringRestore(const MSG& message);
  // While restoring: a click on the load button or the stop item stops it, anything else is dropped.
  // False when no restore runs.
  bool OnCommandDuringRestore(int id);
  void PopUpStopMenu(POINT at);

  // ---- tray, start modes, title bar (UZarnFrmMainTray.cpp)
  void InitTrayIconData();
  void AddTrayIcon();
  void RemoveTrayIcon();
  void OnTrayNotify(UINT mouseMessage);
  void OnTaskbarCreated();
  void OnSecondStart();
  void ZarnBtnConfigTitleBarViewClick();
  ShowMode CurrentShowMode() const;

  // ---- transparency and background (UZarnFrmMainAppearance.cpp)
  void OnSetLayer(WPARAM value, LPARAM kind);
  void LoadBackgroundImage();
  LRESULT ZarnTbItemsCustomDraw(NMTBCUSTOMDRAW& draw);

  TZarnDM& dm_;
  TZarnFrmConfig* config_ = nullptr;
  win32::UniqueWindow owner_;  // hidden, never shown
  FormWindow window_;
  HWND toolBar_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool resizeGuard_ = false;
  bool destroyed_ = false;
  int modalDepth_ = 0;  // commands showing a dialog or menu of their own
  bool restoring_ = false;
  bool stopRestore_ = false;
  bool closeAfterRestore_ = false;  // WM_CLOSE came during a restore
  std::u16string restoreProgress_;
  std::uint64_t instanceKey_ = 0;
  UINT taskbarCreated_ = 0;

  win32::Win32WindowSystem windowSystem_;
  win32::Win32Display display_;
  win32::Win32Shell shell_;
  win32::Win32Clock clock_;
  std::unique_ptr<FolderWindows> folders_;  // owns HandleList
  win32::TrayIcon trayIconData_;

  // The cascade menu's tag: the stored UponDef, kept as it was read until the body is clicked.
  std::int32_t uponTag_ = 0;

  win32::UniqueMenu zarnPMUpon_;
  win32::UniqueMenu zarnPMSaveWB_;
  win32::UniqueMenu zarnPMLoadWB_;
  win32::UniqueMenu zarnPMMain_;
  // Submenus of zarnPMMain_, which destroys them with itself: not ours to free.
  HMENU zarnMiMainWBSave_ = nullptr;
  HMENU zarnMiMainWBLoad_ = nullptr;
  HMENU zarnBtnConfig_ = nullptr;
  WorkBenchMenuMarks marks_;
  BackgroundPicture background_;
};

}  // namespace zarn::app
