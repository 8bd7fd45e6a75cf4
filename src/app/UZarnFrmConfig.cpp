#include "app/UZarnFrmConfig.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "app/Dpi.h"
#include "app/ErrorDisplay.h"
#include "app/MessageDialogs.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmCustomMode.h"
#include "app/ZarnMessages.h"
#include "core/ConfigSettings.h"
#include "core/Profile.h"
#include "core/RegionSnapping.h"
#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

// uxtheme.dll is no known system DLL: imported by name, it would be looked for beside the program
// first, where anyone who can write that folder could put their own. Asked for by full system path.
bool VisualStylesActive() {
  using Query = BOOL(WINAPI*)();
  static const auto [appThemed, themeActive] = [] {
    HMODULE theme = ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto find = [theme](const char* name) {
      return theme ? reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(theme, name))) : nullptr;
    };
    return std::pair{find("IsAppThemed"), find("IsThemeActive")};
  }();
  return appThemed != nullptr && themeActive != nullptr && appThemed() && themeActive();
}

}  // namespace

bool TZarnFrmConfig::ShowModal(HWND owner, ConfigPage page) {
  owner_ = owner;
  page_ = page;
  const std::vector<WORD> dialogTemplate = DialogTemplate();
  const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                                   reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                                   &TZarnFrmConfig::DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  organiser_.reset();
  pageControls_.clear();
  upGlyph_.Reset();
  downGlyph_.Reset();
  return result == IDOK;
}

INT_PTR CALLBACK TZarnFrmConfig::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<TZarnFrmConfig*>(lParam)->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<TZarnFrmConfig*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR TZarnFrmConfig::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      bool ok = RunCommand(owner_, [this] {
        CreateControls();
        FormShow();
      });
      if (!ok) ::EndDialog(dialog_, IDCANCEL);
      return FALSE;  // FormShow gave the focus
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom == tabs_ && header.code == TCN_SELCHANGE) {
        ShowPage(static_cast<ConfigPage>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
        return TRUE;
      }
      return FALSE;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == ::GetDlgItem(dialog_, IDC_TKB_MAINLAYER)) {
        const int position = static_cast<int>(::SendDlgItemMessageW(dialog_, IDC_TKB_MAINLAYER, TBM_GETPOS, 0, 0));
        if (position != trackBarPosition_) {
          trackBarPosition_ = position;
          ZarnTkBMainLayerChange();
        }
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      // Labels, the check box and the track bar lie on the page control: with visual styles its
      // pages are the window colour, and the controls' own grey would stand out as boxes.
      const HWND control = reinterpret_cast<HWND>(lParam);
      const int id = ::GetDlgCtrlID(control);
      if (id == IDC_BTN_CONFIG_OK || id == IDC_BTN_CONFIG_CANCEL) return FALSE;
      const int colour = VisualStylesActive() ? COLOR_WINDOW : COLOR_BTNFACE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ::GetSysColor(colour));
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(colour));
    }
    case WM_CLOSE:
      // The system close command (Alt+F4) is a Cancel, reload included: a rename must not stay in
      // memory unseen and reach the file with some later write.
      ZarnBtnCancelClick();
      return TRUE;
    default:
      return FALSE;
  }
}

void TZarnFrmConfig::ShowPage(ConfigPage page) {
  page_ = page;
  ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (const PageControl& control : pageControls_) {
    const bool shown = !control.page || *control.page == page;
    ::ShowWindow(control.window, shown ? SW_SHOW : SW_HIDE);
  }
}

void TZarnFrmConfig::SetComboSelection(int id, std::optional<std::int32_t> index) {
  ::SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, index ? static_cast<WPARAM>(*index) : static_cast<WPARAM>(-1), 0);
}

// Every showing starts from what is stored; setting a list runs none of its change handlers.
void TZarnFrmConfig::FormShow() {
  organiser_ = std::make_unique<WorkBenchOrganiser>(dm_.WorkBenchProfile());
  FillWorkBenchList();
  const SettingsValues values = ReadSettingsValues(dm_.SettingsProfile());
  SetComboSelection(IDC_CMB_MONITMODE, values.moniterMode);
  SetComboSelection(IDC_CMB_SHOWMODE, values.showMode);
  ::CheckDlgButton(dialog_, IDC_CK_TITLEBARVIEW, values.titleBarView ? BST_CHECKED : BST_UNCHECKED);
  SetComboSelection(IDC_CMB_LAYERTYPE, values.mainLayerType);
  SetComboSelection(IDC_CMB_WBLOAD, values.workBenchLoad);
  // The track bar is the exception: a position that changes runs its handler, which previews a
  // stored alpha when the stored type asks for one.
  ::SendDlgItemMessageW(dialog_, IDC_TKB_MAINLAYER, TBM_SETPOS, TRUE, values.mainLayerAlpha);
  if (values.mainLayerAlpha != trackBarPosition_) {
    trackBarPosition_ = values.mainLayerAlpha;
    ZarnTkBMainLayerChange();
  }
  ShowPage(page_);
  ::SetFocus(::GetDlgItem(dialog_, page_ == ConfigPage::WorkBenches ? IDC_LST_WB
                                   : page_ == ConfigPage::General   ? IDC_CMB_MONITMODE
                                                                    : IDC_CMB_LAYERTYPE));
}

SettingsValues TZarnFrmConfig::ControlValues() const {
  const auto selection = [this](int id) -> std::optional<std::int32_t> {
    const LRESULT index = ::SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::nullopt;
    return static_cast<std::int32_t>(index);
  };
  SettingsValues values;
  values.moniterMode = selection(IDC_CMB_MONITMODE);
  values.showMode = selection(IDC_CMB_SHOWMODE);
  values.titleBarView = ::IsDlgButtonChecked(dialog_, IDC_CK_TITLEBARVIEW) == BST_CHECKED;
  values.mainLayerType = selection(IDC_CMB_LAYERTYPE);
  values.mainLayerAlpha =
      static_cast<std::int32_t>(::SendDlgItemMessageW(dialog_, IDC_TKB_MAINLAYER, TBM_GETPOS, 0, 0));
  values.workBenchLoad = selection(IDC_CMB_WBLOAD);
  return values;
}

void TZarnFrmConfig::OnCommand(int id, int notification) {
  switch (id) {
    case IDC_BTN_CONFIG_OK:
      ZarnBtnOKClick();
      break;
    case IDC_BTN_CONFIG_CANCEL:
      ZarnBtnCancelClick();
      break;
    case IDC_BTN_UP:
      ZarnBtnUpClick();
      break;
    case IDC_BTN_DOWN:
      ZarnBtnDownClick();
      break;
    case IDC_BTN_DELETE:
      ZarnBtnDeleteClick();
      break;
    case IDC_BTN_CHANGENAME:
      ZarnBtnChangeNameClick();
      break;
    case IDC_LST_WB:
      if (notification == LBN_SELCHANGE) {
        const LRESULT row = ::SendDlgItemMessageW(dialog_, IDC_LST_WB, LB_GETCURSEL, 0, 0);
        organiser_->Select(row == LB_ERR ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row)));
      } else if (notification == LBN_DBLCLK) {
        ZarnBtnChangeNameClick();
      }
      break;
    case IDC_CMB_MONITMODE:
      if (notification == CBN_SELCHANGE) RunCommand(dialog_, [this] { ZarnCmbMonitModeChange(); });
      break;
    case IDC_CMB_LAYERTYPE:
    case IDC_CMB_WBLOAD:
      if (notification == CBN_SELCHANGE) ZarnCmbLayerTypeChange();
      break;
    default:
      // IDOK and IDCANCEL, which Enter and Escape send, do nothing.
      break;
  }
}

void TZarnFrmConfig::Close(bool ok) { ::EndDialog(dialog_, ok ? IDOK : IDCANCEL); }

// A step that fails is shown and the later ones are skipped; the dialog closes with OK all the same.
void TZarnFrmConfig::ZarnBtnOKClick() {
  const SettingsValues values = ControlValues();
  RunCommand(dialog_, [this, &values] {
    organiser_->Commit();
    Profile& settings = dm_.SettingsProfile();
    WriteSettingsValues(settings, values);
    settings.UpdateFile();
  });
  Close(true);
}

void TZarnFrmConfig::ZarnBtnCancelClick() {
  RunCommand(dialog_, [this] { organiser_->Cancel(); });
  Close(false);
}

// "カスタム" opens the region editor at once. A confirmed rectangle goes into the settings in memory
// whatever the dialog's later result; closing the editor otherwise keeps the previous area.
void TZarnFrmConfig::ZarnCmbMonitModeChange() {
  if (::SendDlgItemMessageW(dialog_, IDC_CMB_MONITMODE, CB_GETCURSEL, 0, 0) != 2) return;
  Profile& settings = dm_.SettingsProfile();
  const std::optional<CustomBounds> confirmed =
      TZarnFrmCustomMode::ShowRegionEditor(dialog_, ReadCustomBounds(settings));
  if (confirmed) WriteCustomBounds(settings, *confirmed);
}

void TZarnFrmConfig::ZarnCmbLayerTypeChange() {
  PostPreview(PreviewForLayerType(ControlValues(), ::GetSysColor(COLOR_BTNFACE)));
}

void TZarnFrmConfig::ZarnTkBMainLayerChange() { PostPreview(PreviewForAlpha(ControlValues())); }

void TZarnFrmConfig::PostPreview(const LayerRequest& preview) {
  SetLayerKind kind{};
  if (SetLayerMessageFor(preview.action, kind)) {
    ::PostMessageW(owner_, WM_SETLAYER, preview.value, static_cast<LPARAM>(kind));
  }
}

}  // namespace zarn::app
