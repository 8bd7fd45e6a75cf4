// The notification-area icon, the start modes and the title bar.
#include "app/ErrorDisplay.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmConfig.h"
#include "app/UZarnFrmMain.h"
#include "app/ZarnMessages.h"
#include "core/ConfigSettings.h"
#include "win32/WindowHandles.h"

namespace zarn::app {
namespace {

constexpr DWORD kTitleBarStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kFrameStyles = kTitleBarStyle | WS_POPUP | WS_BORDER | WS_DLGFRAME;

}  // namespace

ShowMode TZarnFrmMain::CurrentShowMode() const { return ReadShowMode(dm_.SettingsProfile()); }

void TZarnFrmMain::InitTrayIconData() {
  trayIconData_.owner = win32::FromHwnd(window_);
  trayIconData_.id = 1;
  trayIconData_.callbackMessage = WM_TRAYNOTIFY;
  trayIconData_.icon = reinterpret_cast<std::uintptr_t>(dm_.TrayIcon());
  trayIconData_.tip = u"Zarn";
}

// Every add is preceded by a remove, so there is never more than one icon. An add that fails (no
// taskbar yet) is made good when the taskbar announces itself.
void TZarnFrmMain::AddTrayIcon() {
  RemoveTrayIcon();
  // Taken anew at every add: the record must never carry a handle that is gone.
  trayIconData_.icon = reinterpret_cast<std::uintptr_t>(dm_.TrayIcon());
  win32::AddTrayIcon(trayIconData_);
}

void TZarnFrmMain::RemoveTrayIcon() {
  if (trayIconData_.owner != 0) win32::RemoveTrayIcon(trayIconData_);
}

void TZarnFrmMain::ApplyShowMode() {
  const ShowModeAction action = ShowModeActionFor(CurrentShowMode());
  if (action.showWindow) {
    if (!::IsWindowVisible(window_)) ::ShowWindow(window_, SW_SHOW);
  } else {
    ::ShowWindow(window_, SW_HIDE);
  }
  if (action.addTrayIcon) {
    AddTrayIcon();
  } else {
    RemoveTrayIcon();
  }
}

void TZarnFrmMain::OnTaskbarCreated() {
  if (ShowModeActionFor(CurrentShowMode()).addTrayIcon) AddTrayIcon();
}

void TZarnFrmMain::OnTrayNotify(UINT mouseMessage) {
  // The restore runs as a command itself: its only menu is the one that stops it, once.
  const int ownDepth = restoring_ ? 1 : 0;
  const bool modal = modalDepth_ > ownDepth || (config_ != nullptr && config_->Showing());
  switch (TrayActionFor(mouseMessage, CurrentShowMode(), modal)) {
    case TrayAction::PopUpMainMenu: {
      POINT at{};
      ::GetCursorPos(&at);
      PopUpMainMenu(at);
      break;
    }
    case TrayAction::ShowWindow:
      ::ShowWindow(window_, SW_SHOW);
      break;
    case TrayAction::Nothing:
      break;
  }
}

// Another start of this same program: it has ended itself, and the user expects this one to come up.
void TZarnFrmMain::OnSecondStart() {
  if (restoring_) {
    // Nothing else may start; the toolbar showing the progress is what the user sees.
    if (CurrentShowMode() != ShowMode::TrayOnly) ::SetForegroundWindow(window_);
    return;
  }
  if (modalDepth_ > 0 || (config_ != nullptr && config_->Showing())) {
    // A dialog is waiting for an answer: that is what the user must see.
    ::SetForegroundWindow(::GetLastActivePopup(window_));
    return;
  }
  if (CurrentShowMode() == ShowMode::TrayOnly) {
    POINT at{};
    ::GetCursorPos(&at);
    PopUpMainMenu(at);
    return;
  }
  ::ShowWindow(window_, SW_SHOW);
  ::SetForegroundWindow(window_);
}

void TZarnFrmMain::SetTitleBarVisible(bool visible) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
  const bool hasTitleBar = (style & WS_CAPTION) == WS_CAPTION;
  if (hasTitleBar == visible) return;
  RemoveTrayIcon();
  RECT client{};
  ::GetClientRect(window_, &client);
  const DWORD frame = visible ? kTitleBarStyle : WS_POPUP;
  ::SetWindowLongPtrW(window_, GWL_STYLE, static_cast<LONG_PTR>((style & ~kFrameStyles) | frame));
  ::SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  resizeGuard_ = true;
  SetClientSize(client.right, client.bottom);
  resizeGuard_ = false;
  FormResize();
  InitTrayIconData();
  ApplyShowMode();
  ApplyLayerType();
}

void TZarnFrmMain::ZarnBtnConfigTitleBarViewClick() {
  Profile& settings = dm_.SettingsProfile();
  const bool visible = ReadTitleBarView(settings);
  SetTitleBarVisible(!visible);
  WriteTitleBarView(settings, !visible);
  settings.UpdateFile();
}

}  // namespace zarn::app
