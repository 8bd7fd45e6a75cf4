#include "app/UZarnFrmMain.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "app/Dpi.h"
#include "app/ErrorDisplay.h"
#include "app/FormWindowProc.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmConfig.h"
#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "app/ZarnMessages.h"
#include "core/ConfigSettings.h"
#include "core/StartPosition.h"
#include "core/ToolbarWrap.h"
#include "win32/SystemError.h"
#include "win32/WindowHandles.h"
#include "resource.h"

namespace zarn::app {
namespace {

// The window's design geometry, in 96-DPI pixels.
constexpr int kDesignLeft = 755;
constexpr int kDesignTop = 605;
constexpr int kDesignWidth = 269;
constexpr int kDesignHeight = 134;
constexpr int kSeparatorWidth = 8;

constexpr DWORD kTitleBarStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

std::vector<MonitorAreas> MonitorList() {
  std::vector<MonitorAreas> monitors;
  for (const win32::MonitorRecord& m : win32::EnumerateMonitors()) monitors.push_back({m.monitor, m.workArea});
  return monitors;
}

struct ToolButton {
  int image;  // -1 for a separator
  int command;
  BYTE style;
  BYTE state;
};

// Cascade, tile, close all; then save and load. The second separator ends the first row.
constexpr ToolButton kToolButtons[] = {
    {ZARN_IMAGE_CASCADE, IDM_CASCADE_DEFAULT, BTNS_DROPDOWN, TBSTATE_ENABLED},
    {ZARN_IMAGE_TILE, IDM_TILE, BTNS_BUTTON, TBSTATE_ENABLED},
    {-1, 0, BTNS_SEP, 0},  // ToolButton3
    {ZARN_IMAGE_CLOSE_ALL, IDM_CLOSE_ALL, BTNS_BUTTON, TBSTATE_ENABLED},
    {-1, 0, BTNS_SEP, TBSTATE_WRAP},  // ToolButton1
    {ZARN_IMAGE_SAVE, IDM_WB_SAVE_BUTTON, BTNS_DROPDOWN, TBSTATE_ENABLED},
    {ZARN_IMAGE_LOAD, IDM_WB_LOAD_BUTTON, BTNS_DROPDOWN, TBSTATE_ENABLED},
};

}  // namespace

TZarnFrmMain::TZarnFrmMain(TZarnDM& dataModule) : dm_(dataModule) {}

TZarnFrmMain::~TZarnFrmMain() {
  Destroy();
  DestroyMenus();
}

void TZarnFrmMain::Create(std::uint64_t instanceKey) {
  instanceKey_ = instanceKey;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &FormWindowProc<TZarnFrmMain>;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZARN));
  if (::RegisterClassExW(&windowClass) == 0) win32::ThrowLastError("RegisterClassExW");

  // No taskbar button: the tray icon and the toolbar itself are the way back. A tool window has none
  // on Windows; a window owned by a hidden one has none on any shell.
  owner_.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, nullptr));
  // The window procedure takes the window as it is made.
  HWND made = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMainWindowClass, kApplicationTitle,
                                kTitleBarStyle | WS_CLIPCHILDREN, kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight,
                                owner_.Get(), nullptr, instance, this);
  if (made == nullptr) win32::ThrowLastError("CreateWindowExW");
  FormCreate();
}

void TZarnFrmMain::Destroy() {
  window_.Destroy();
  owner_.Reset();
}

LRESULT TZarnFrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnToolBarNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_SETCURSOR:
      // Over the tool bar too: a child's default handling asks its parent first.
      if (!restoring_) break;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's corner
        RECT r{};
        ::GetWindowRect(window_, &r);
        at = {r.left, r.top};
      }
      PopUpMainMenu(at);
      return 0;
    }
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_MENU) break;
      MeasureMenuImage(item);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_MENU) break;
      DrawMenuImage(item);
      return TRUE;
    }
    case WM_GETMINMAXINFO:
      // The window is as small as its buttons, which can be less than the system's usual minimum
      // for a captioned window.
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_CLOSE:
      if (restoring_ && CloseEndsProgram(CurrentShowMode())) {
        // The program must outlive the restore that is using it: it ends once the restore has stopped.
        // Where closing only hides the toolbar, the restore goes on.
        stopRestore_ = true;
        closeAfterRestore_ = true;
        return 0;
      }
      FormClose();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
    case WM_NCDESTROY:
      toolBar_ = nullptr;
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) OnEndSession();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      // The colour key is the button-face colour: with a new one the old key would show as grey.
      ApplyLayerType();
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_TRAYNOTIFY:
      OnTrayNotify(static_cast<UINT>(lParam));
      return 0;
    case WM_SETLAYER:
      OnSetLayer(wParam, lParam);
      return 0;
    case WM_SECONDSTART:
      OnSecondStart();
      return 0;
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

// ---- start-up, layout, shutdown

void TZarnFrmMain::FormCreate() {
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // Run as administrator, the window would hear neither the taskbar's restart nor an unelevated second
  // start: the system drops messages from a lower integrity level unless the window lets them in.
  for (UINT message : {taskbarCreated_, WM_SECONDSTART}) {
    if (message != 0) ::ChangeWindowMessageFilterEx(window_, message, MSGFLT_ALLOW, nullptr);
  }
  ::SetPropW(window_, kInstanceProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(instanceKey_)));
  folders_ = std::make_unique<FolderWindows>(Platform{windowSystem_, display_, shell_, clock_}, dm_.SettingsProfile(),
                                             dm_.WorkBenchProfile());
  folders_->SetToolbar(win32::FromHwnd(window_));
  CreateMenus();
  CreateToolBar();
  ApplyDpi(::GetDpiForWindow(window_));
  LoadFormSettings();
  BuildWorkBenchMenus();
  InitTrayIconData();
  ApplyShowMode();
  // A picture that cannot be shown is said once; the title bar and the transparency still apply.
  RunCommand(window_, [this] { LoadBackgroundImage(); });
  SetTitleBarVisible(ReadTitleBarView(dm_.SettingsProfile()));
  ApplyLayerType();
}

void TZarnFrmMain::CreateToolBar() {
  toolBar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"ZarnTBar",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT |
                                   TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_TOOLBAR)),
                               ::GetModuleHandleW(nullptr), nullptr);
  if (toolBar_ == nullptr) win32::ThrowLastError("CreateWindowExW(ToolbarWindow32)");
  ::SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(toolBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  std::vector<TBBUTTON> buttons;
  for (const ToolButton& b : kToolButtons) {
    TBBUTTON button{};
    button.iBitmap = b.image < 0 ? kSeparatorWidth : b.image;
    button.idCommand = b.command;
    button.fsState = b.state;
    button.fsStyle = b.style;
    button.iString = -1;
    buttons.push_back(button);
  }
  ::SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  // The toolbar stays on top of other windows without being active; its hints must show regardless.
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(toolBar_, TB_GETTOOLTIPS, 0, 0));
  if (tips != nullptr) {
    ::SetWindowLongPtrW(tips, GWL_STYLE, ::GetWindowLongPtrW(tips, GWL_STYLE) | TTS_ALWAYSTIP);
    ::SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TZarnFrmMain::ApplyDpi(UINT dpi) {
  dpi_ = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
  HIMAGELIST images = dm_.ZarnImgList(dpi_);
  const int size = dm_.ImageSize();
  ::SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  ::SendMessageW(toolBar_, TB_SETPADDING, 0, MAKELPARAM(ScaleForDpi(7, dpi_), ScaleForDpi(6, dpi_)));
  ::SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(size + ScaleForDpi(7, dpi_), size + ScaleForDpi(6, dpi_)));
  for (int i = 0; i < static_cast<int>(std::size(kToolButtons)); ++i) {
    if (kToolButtons[i].image >= 0) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_SIZE;
    info.cx = static_cast<WORD>(ScaleForDpi(kSeparatorWidth, dpi_));
    ::SendMessageW(toolBar_, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  }
  SetMenuImages();
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dm_.AppIcon(dpi_, false)));
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dm_.AppIcon(dpi_, true)));
}

SIZE TZarnFrmMain::ToolBarSize() {
  ::SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
  SIZE size{0, 0};
  const int count = static_cast<int>(::SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!::SendMessageW(toolBar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
    size.cx = std::max<LONG>(size.cx, r.right);
    size.cy = std::max<LONG>(size.cy, r.bottom);
  }
  return size;
}

void TZarnFrmMain::SetClientSize(int width, int height) {
  RECT frame{0, 0, width, height};
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
  ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The buttons break into rows at `width`; the break after the second separator always stays.
void TZarnFrmMain::WrapToolBar(int width) {
  std::vector<ToolbarItem> items;
  for (int i = 0; i < static_cast<int>(std::size(kToolButtons)); ++i) {
    const bool separator = kToolButtons[i].image < 0;
    RECT r{};
    ::SendMessageW(toolBar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    // A separator that ends a row may be laid out across it; its own width is what a row needs.
    const int itemWidth = separator ? ScaleForDpi(kSeparatorWidth, dpi_) : static_cast<int>(r.right - r.left);
    items.push_back({itemWidth, separator, (kToolButtons[i].state & TBSTATE_WRAP) != 0});
  }
  const std::vector<bool> rowEnds = ToolbarRowEnds(items, width);
  for (int i = 0; i < static_cast<int>(rowEnds.size()); ++i) {
    const int id = kToolButtons[i].command;
    if (id == 0) {
      // Separators have no command to be found by: their state is set by index.
      TBBUTTONINFOW info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_BYINDEX | TBIF_STATE;
      ::SendMessageW(toolBar_, TB_GETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
      info.fsState = static_cast<BYTE>(rowEnds[i] ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP));
      ::SendMessageW(toolBar_, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
      continue;
    }
    const auto state = static_cast<BYTE>(::SendMessageW(toolBar_, TB_GETSTATE, id, 0));
    const BYTE wrapped = rowEnds[i] ? (state | TBSTATE_WRAP) : (state & ~TBSTATE_WRAP);
    if (wrapped != state) ::SendMessageW(toolBar_, TB_SETSTATE, id, MAKELPARAM(wrapped, 0));
  }
}

// The window is always exactly as large as the tool bar's buttons, wrapped at the width a frame
// drag, a DPI change or the stored size gives it; then it takes the buttons' size again.
void TZarnFrmMain::FormResize() {
  if (resizeGuard_ || toolBar_ == nullptr) return;
  resizeGuard_ = true;
  RECT client{};
  ::GetClientRect(window_, &client);
  WrapToolBar(client.right);
  const SIZE needed = ToolBarSize();
  ::SetWindowPos(toolBar_, nullptr, 0, 0, needed.cx, needed.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (client.right != needed.cx || client.bottom != needed.cy) SetClientSize(needed.cx, needed.cy);
  resizeGuard_ = false;
}

void TZarnFrmMain::FormShow() {
  ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TZarnFrmMain::LoadFormSettings() {
  Profile& settings = dm_.SettingsProfile();
  RECT frame{};
  RECT client{};
  ::GetWindowRect(window_, &frame);
  ::GetClientRect(window_, &client);
  const StoredFrame frameSetting = ReadToolbarFrame(settings);
  const Point stored{frameSetting.left.value_or(frame.left), frameSetting.top.value_or(frame.top)};
  SetClientSize(frameSetting.width.value_or(client.right), frameSetting.height.value_or(client.bottom));
  uponTag_ = ReadSetting(settings, setting::kUponDef);

  FormResize();
  ::GetWindowRect(window_, &frame);
  const Point at = StartPosition(stored, {frame.right - frame.left, frame.bottom - frame.top},
                                 display_.VirtualDesktop(), MonitorList());
  ::SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // On another monitor the window may have another DPI now.
  const UINT dpi = ::GetDpiForWindow(window_);
  if (dpi != 0 && dpi != dpi_) {
    ApplyDpi(dpi);
    FormResize();
  }
  ::SetMenuDefaultItem(zarnPMUpon_.Get(), static_cast<UINT>(CascadeVariantFromSetting(uponTag_)), TRUE);
}

void TZarnFrmMain::SaveFormSettings() {
  Profile& settings = dm_.SettingsProfile();
  RECT frame{};
  RECT client{};
  ::GetWindowRect(window_, &frame);
  ::GetClientRect(window_, &client);
  WriteToolbarFrame(settings, frame.left, frame.top, client.right, client.bottom);
  WriteSetting(settings, setting::kUponDef, uponTag_);
  settings.UpdateFile();
}

void TZarnFrmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  FormResize();
}

void TZarnFrmMain::FormClose() {
  if (CloseEndsProgram(CurrentShowMode())) {
    RemoveTrayIcon();
    ::PostQuitMessage(0);
    return;
  }
  ::ShowWindow(window_, SW_HIDE);
}

void TZarnFrmMain::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // The window is going: a failure to write is shown without an owner, and the exit goes on.
  RunCommand(nullptr, [this] { SaveFormSettings(); });
  if (folders_) folders_->ClearHandleList();
  RemoveTrayIcon();
}

// Windows ends a program at logoff without destroying its windows: what would be written at
// destruction is written now. No dialog here, since the session would wait for it.
void TZarnFrmMain::OnEndSession() {
  try {
    SaveFormSettings();
  } catch (...) {
    // The old file stays whole; nothing more can be done while the session ends.
  }
}

// ---- commands

void TZarnFrmMain::Run(const std::function<void()>& command) {
  ++modalDepth_;
  RunCommand(window_, command);
  --modalDepth_;
  // Folder windows just moved over the toolbar's place: it stays above them and is drawn again.
  if (::IsWindowVisible(window_)) {
    FormShow();
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TZarnFrmMain::OnCommand(int id) {
  if (OnCommandDuringRestore(id)) return;
  if (OnWorkBenchCommand(id)) return;
  if (id == IDM_EXIT) {
    ZarnBtnExitClick();
    return;
  }
  struct Handler {
    int id;
    void (TZarnFrmMain::*click)();
  };
  static constexpr Handler kHandlers[] = {
      {IDM_CASCADE_DEFAULT, &TZarnFrmMain::ZarnBtnUponClick},
      {IDM_CASCADE_KEEP_SIZE, &TZarnFrmMain::ZarnMiCascade1Click},
      {IDM_CASCADE_UNIFORM, &TZarnFrmMain::ZarnMiCascade2Click},
      {IDM_TILE, &TZarnFrmMain::ZarnBtnSxSClick},
      {IDM_CLOSE_ALL, &TZarnFrmMain::ZarnBtnCloseClick},
      {IDM_WB_SAVE_BUTTON, &TZarnFrmMain::ZarnBtnWBSvClick},
      {IDM_WB_LOAD_BUTTON, &TZarnFrmMain::ZarnBtnWBLdClick},
      {IDM_NEW_WB, &TZarnFrmMain::ZarnMiNewWBClick},
      {IDM_ORGANISE_WB, &TZarnFrmMain::ZarnMiDeleteWBClick},
      {IDM_CONFIG_DIALOG, &TZarnFrmMain::ZarnBtnConfigClick},
      {IDM_TITLEBAR_TOGGLE, &TZarnFrmMain::ZarnBtnConfigTitleBarViewClick},
  };
  for (const Handler& handler : kHandlers) {
    if (handler.id == id) {
      Run([this, click = handler.click] { (this->*click)(); });
      return;
    }
  }
}

// The body of the cascade button runs the variant UponDef names and makes it the default.
void TZarnFrmMain::ZarnBtnUponClick() {
  const CascadeVariant variant = CascadeVariantFromSetting(uponTag_);
  uponTag_ = static_cast<std::int32_t>(variant);
  ::SetMenuDefaultItem(zarnPMUpon_.Get(), static_cast<UINT>(variant), TRUE);
  Cascade(variant);
}

void TZarnFrmMain::ZarnMiCascade1Click() { Cascade(CascadeVariant::KeepSize); }

void TZarnFrmMain::ZarnMiCascade2Click() { Cascade(CascadeVariant::UniformSize); }

void TZarnFrmMain::Cascade(CascadeVariant variant) { folders_->CascadeWindows(variant == CascadeVariant::UniformSize); }

void TZarnFrmMain::ZarnBtnSxSClick() { folders_->TileWindows(); }

void TZarnFrmMain::ZarnBtnCloseClick() { folders_->CloseAllWindows(); }

void TZarnFrmMain::ZarnBtnExitClick() { ::PostQuitMessage(0); }

void TZarnFrmMain::ZarnBtnConfigClick() {
  const bool ok = config_ != nullptr && config_->ShowModal(window_, ConfigPage::General);
  if (ok) {
    BuildWorkBenchMenus();
    ApplyShowMode();
    SetTitleBarVisible(ReadTitleBarView(dm_.SettingsProfile()));
  }
  // Also after Cancel: whatever the dialog previewed gives way to the stored setting.
  ApplyLayerType();
}

bool TZarnFrmMain::OnToolBarNotify(NMHDR& header, LRESULT& result) {
  if (header.hwndFrom == toolBar_) {
    switch (header.code) {
      case TBN_DROPDOWN:
        OnToolBarDropDown(reinterpret_cast<NMTOOLBARW&>(header));
        result = TBDDRET_DEFAULT;
        return true;
      case NM_CUSTOMDRAW:
        result = ZarnTbItemsCustomDraw(reinterpret_cast<NMTBCUSTOMDRAW&>(header));
        return true;
      default:
        return false;
    }
  }
  if (header.code == TTN_GETDISPINFOW) {
    ShowToolTip(reinterpret_cast<NMTTDISPINFOW&>(header));
    return true;
  }
  return false;
}

void TZarnFrmMain::ShowToolTip(NMTTDISPINFOW& info) {
  if (restoring_ && !restoreProgress_.empty()) {
    info.lpszText = const_cast<wchar_t*>(win32::W(restoreProgress_.c_str()));
    return;
  }
  switch (info.hdr.idFrom) {
    case IDM_CASCADE_DEFAULT:
      info.lpszText = const_cast<wchar_t*>(win32::W(text::kHintCascade));
      break;
    case IDM_TILE:
      info.lpszText = const_cast<wchar_t*>(win32::W(text::kHintTile));
      break;
    case IDM_CLOSE_ALL:
      info.lpszText = const_cast<wchar_t*>(win32::W(text::kHintCloseAll));
      break;
    case IDM_WB_SAVE_BUTTON:
      info.lpszText = const_cast<wchar_t*>(win32::W(text::kHintSave));
      break;
    case IDM_WB_LOAD_BUTTON:
      info.lpszText = const_cast<wchar_t*>(win32::W(text::kHintLoad));
      break;
    default:
      break;
  }
}

void TZarnFrmMain::OnToolBarDropDown(const NMTOOLBARW& info) {
  // No other command may start while a restore runs; the load button's arrow stops it as its body does.
  if (OnCommandDuringRestore(info.iItem)) return;
  HMENU menu = nullptr;
  switch (info.iItem) {
    case IDM_CASCADE_DEFAULT:
      menu = zarnPMUpon_.Get();
      break;
    case IDM_WB_SAVE_BUTTON:
      menu = zarnPMSaveWB_.Get();
      break;
    case IDM_WB_LOAD_BUTTON:
      menu = zarnPMLoadWB_.Get();
      break;
    default:
      return;
  }
  // Below the button, as a drop-down opens; the menu stays off the button itself.
  RECT button = info.rcButton;
  ::MapWindowPoints(toolBar_, HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
  PopUp(menu, {button.left, button.bottom}, TPM_VERTICAL);
}

void TZarnFrmMain::PopUp(HMENU menu, POINT at, UINT flags) {
  ++modalDepth_;
  ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | flags, at.x, at.y, window_, nullptr);
  --modalDepth_;
}

void TZarnFrmMain::PopUpMainMenu(POINT at) {
  if (restoring_) {
    PopUpStopMenu(at);
    return;
  }
  // A menu of a window that is not in the foreground would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window_);
  PopUp(zarnPMMain_.Get(), at);
  ::PostMessageW(window_, WM_NULL, 0, 0);
}

}  // namespace zarn::app
