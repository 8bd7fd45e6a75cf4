#include "app/UZarnFrmConfig.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "app/Dpi.h"
#include "app/ErrorDisplay.h"
#include "app/MessageDialogs.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmCustomMode.h"
#include "app/UiText.h"
#include "app/ZarnMessages.h"
#include "core/Profile.h"
#include "core/RegionSnapping.h"
#include "core/ConfigSettings.h"
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

// The dialog's geometry in 96-DPI pixels. Controls are placed in code at these pixels, scaled to the
// monitor's DPI: dialog units would follow the font's metrics and move them.
constexpr int kClientWidth = 290;
constexpr int kClientHeight = 256;
constexpr int kTabsWidth = 289;
constexpr int kTabsHeight = 217;
constexpr int kButtonPanelWidth = 95;
constexpr int kGlyphSize = 13;

constexpr wchar_t kDialogFont[] = L"ＭＳ Ｐゴシック";

// An empty dialog template: caption "Zarn", a caption bar without system menu (so no close box), and
// the program's dialog font. The controls come in WM_INITDIALOG.
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> words;
  auto add = [&words](const void* data, std::size_t bytes) {
    const auto* w = static_cast<const WORD*>(data);
    words.insert(words.end(), w, w + bytes / sizeof(WORD));
  };
  DLGTEMPLATE header{};
  header.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION;
  add(&header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (const wchar_t* c = kApplicationTitle; *c; ++c) words.push_back(*c);
  words.push_back(0);
  words.push_back(9);  // points: 12-pixel characters at 96 DPI, as the main window's font
  for (const wchar_t* c = kDialogFont; *c; ++c) words.push_back(*c);
  words.push_back(0);
  return words;
}

std::wstring ListText(const std::string& name) { return win32::WideFromCp932(name); }

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

HWND TZarnFrmConfig::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
                                int height, int id, std::optional<ConfigPage> page) {
  const auto scale = [this](int pixels) { return ScaleForDpi(pixels, dpi_); };
  HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | style, scale(x), scale(y), scale(width), scale(height),
                                   dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  pageControls_.push_back({control, page});
  return control;
}

void TZarnFrmConfig::CreateControls() {
  dpi_ = ::GetDpiForWindow(dialog_);
  if (dpi_ == 0) dpi_ = USER_DEFAULT_SCREEN_DPI;
  const auto scale = [this](int pixels) { return ScaleForDpi(pixels, dpi_); };
  font_ = reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0));
  trackBarPosition_ = 0;

  // The client area at the dialog's DPI, centred again.
  RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
  ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_EXSTYLE)), dpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(owner_ != nullptr ? owner_ : dialog_, MONITOR_DEFAULTTONEAREST), &monitor);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  ::SetWindowPos(dialog_, nullptr, (monitor.rcMonitor.left + monitor.rcMonitor.right - width) / 2,
                 (monitor.rcMonitor.top + monitor.rcMonitor.bottom - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                            0, dialog_, nullptr, ::GetModuleHandleW(nullptr), nullptr);

  // The page control is the pages' background: it goes to the bottom of the z-order once every
  // control is made (see the end of this function), so the pages' controls lie above it for
  // painting and for the mouse alike.
  tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | WS_TABSTOP,
                            0, 0, scale(kTabsWidth), scale(kTabsHeight), dialog_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CONFIG_TABS)), ::GetModuleHandleW(nullptr),
                            nullptr);
  ::SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // The main window's list, at its DPI, as the tool bar shows the same images.
  ::SendMessageW(tabs_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(dm_.ZarnImgList(::GetDpiForWindow(owner_))));
  const struct {
    const wchar_t* caption;
    int image;
  } pages[] = {{text::kPageWorkBenches, ZARN_IMAGE_ORGANISE},
               {text::kPageGeneral, ZARN_IMAGE_SETTINGS},
               {text::kPageScreen, ZARN_IMAGE_SETTINGS}};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(pages[i].caption);
    item.iImage = pages[i].image;
    ::SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  // Where the pages' controls go, in 96-DPI pixels.
  RECT display{0, 0, scale(kTabsWidth), scale(kTabsHeight)};
  ::SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int pageLeft = UnscaleForDpi(display.left, dpi_);
  const int pageTop = UnscaleForDpi(display.top, dpi_);
  const int pageRight = UnscaleForDpi(display.right, dpi_);
  const int pageBottom = UnscaleForDpi(display.bottom, dpi_);

  // The organiser: the list left of a panel of buttons.
  using P = ConfigPage;
  const int panelLeft = pageRight - kButtonPanelWidth;
  AddControl(WC_LISTBOXW, L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, pageLeft,
             pageTop, panelLeft - pageLeft, pageBottom - pageTop, IDC_LST_WB, P::WorkBenches);
  HWND up = AddControl(WC_BUTTONW, text::kButtonUp, WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 8, 77, 20,
                       IDC_BTN_UP, P::WorkBenches);
  HWND down = AddControl(WC_BUTTONW, text::kButtonDown, WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 32, 77,
                         20, IDC_BTN_DOWN, P::WorkBenches);
  AddControl(WC_BUTTONW, text::kButtonRename, WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 112, 77, 20,
             IDC_BTN_CHANGENAME, P::WorkBenches);
  AddControl(WC_BUTTONW, text::kButtonDelete, WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 160, 77, 20,
             IDC_BTN_DELETE, P::WorkBenches);
  const int glyph = scale(kGlyphSize);
  upGlyph_.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                 MAKEINTRESOURCEW(IDI_IMAGELIST_FIRST + ZARN_IMAGE_MOVE_UP), IMAGE_ICON,
                                                 glyph, glyph, LR_DEFAULTCOLOR)));
  downGlyph_.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(IDI_IMAGELIST_FIRST + ZARN_IMAGE_MOVE_DOWN),
                                                   IMAGE_ICON, glyph, glyph, LR_DEFAULTCOLOR)));
  ::SendMessageW(up, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(upGlyph_.Get()));
  ::SendMessageW(down, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(downGlyph_.Get()));

  // 全般
  const DWORD dropDownList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  AddControl(WC_STATICW, text::kLabelMoniterMode, SS_NOPREFIX, pageLeft + 16, pageTop + 20, 60, 14, -1, P::General);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 16, 171, 200, IDC_CMB_MONITMODE, P::General);
  AddControl(WC_STATICW, text::kLabelShowMode, SS_NOPREFIX, pageLeft + 16, pageTop + 52, 60, 14, -1, P::General);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 48, 171, 200, IDC_CMB_SHOWMODE, P::General);

  // 画面
  AddControl(WC_STATICW, text::kLabelLayerType, SS_NOPREFIX, pageLeft + 24, pageTop + 21, 50, 14, -1, P::Screen);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 16, 171, 200, IDC_CMB_LAYERTYPE, P::Screen);
  AddControl(WC_STATICW, text::kLabelAlpha, SS_NOPREFIX, pageLeft + 24, pageTop + 52, 48, 14, -1, P::Screen);
  HWND track = AddControl(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
                          pageLeft + 73, pageTop + 51, 204, 25, IDC_TKB_MAINLAYER, P::Screen);
  ::SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 255));
  ::SendMessageW(track, TBM_SETPAGESIZE, 0, 16);
  ::SendMessageW(track, TBM_SETTICFREQ, 16, 0);
  ::SendMessageW(track, TBM_SETTHUMBLENGTH, scale(10), 0);
  AddControl(WC_BUTTONW, text::kCheckTitleBar, WS_TABSTOP | BS_AUTOCHECKBOX, pageLeft + 80, pageTop + 86, 145, 17,
             IDC_CK_TITLEBARVIEW, P::Screen);
  AddControl(WC_STATICW, text::kLabelWorkBenchLoad, SS_NOPREFIX, pageLeft + 24, pageTop + 117, 233, 14, -1,
             P::Screen);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 32, pageTop + 136, 233, 200, IDC_CMB_WBLOAD, P::Screen);

  const auto fill = [this](int id, const auto& items) {
    for (const wchar_t* item : items) ::SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  };
  fill(IDC_CMB_MONITMODE, text::kMoniterModeItems);
  fill(IDC_CMB_SHOWMODE, text::kShowModeItems);
  fill(IDC_CMB_LAYERTYPE, text::kLayerTypeItems);
  fill(IDC_CMB_WBLOAD, text::kWorkBenchLoadItems);
  AddToolTip(IDC_CMB_MONITMODE, text::kHintMoniterMode);
  AddToolTip(IDC_CMB_SHOWMODE, text::kHintShowMode);

  // The bottom panel: on every page. Ids of their own, so Enter and Escape press neither.
  AddControl(WC_BUTTONW, text::kButtonOk, WS_TABSTOP | BS_PUSHBUTTON, 112, kTabsHeight + 8, 77, 25, IDC_BTN_CONFIG_OK,
             kEveryPage);
  AddControl(WC_BUTTONW, text::kButtonCancel, WS_TABSTOP | BS_PUSHBUTTON, 200, kTabsHeight + 8, 77, 25,
             IDC_BTN_CONFIG_CANCEL, kEveryPage);

  // Sibling controls are ordered as they were created, the first on top: the page control, made
  // first, would otherwise cover the pages and take their clicks wherever its hit test does not
  // let them through. (It thereby also comes last in the Tab order, after the page's controls.)
  ::SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TZarnFrmConfig::AddToolTip(int id, const wchar_t* hint) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog_, id));
  tool.lpszText = const_cast<wchar_t*>(hint);
  ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TZarnFrmConfig::ShowPage(ConfigPage page) {
  page_ = page;
  ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (const PageControl& control : pageControls_) {
    const bool shown = !control.page || *control.page == page;
    ::ShowWindow(control.window, shown ? SW_SHOW : SW_HIDE);
  }
}

void TZarnFrmConfig::FillWorkBenchList() {
  HWND list = ::GetDlgItem(dialog_, IDC_LST_WB);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& row : organiser_->Rows()) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListText(row).c_str()));
  }
  const std::optional<std::size_t> selected = organiser_->Selected();
  ::SendMessageW(list, LB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
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

void TZarnFrmConfig::ZarnBtnUpClick() {
  if (organiser_->MoveUp()) FillWorkBenchList();
}

void TZarnFrmConfig::ZarnBtnDownClick() {
  if (organiser_->MoveDown()) FillWorkBenchList();
}

void TZarnFrmConfig::ZarnBtnDeleteClick() {
  if (organiser_->Delete()) FillWorkBenchList();
}

void TZarnFrmConfig::ZarnBtnChangeNameClick() {
  const std::optional<std::size_t> row = organiser_->Selected();
  if (!row) return;
  const std::optional<std::wstring> typed =
      InputQuery(dialog_, kApplicationTitle, text::kNewWorkBenchName, ListText(organiser_->Rows()[*row]));
  if (!typed) return;
  const std::optional<std::string> name = win32::Cp932FromWide(*typed);
  if (!name) {
    Inform(dialog_, text::kNameNotStorable);
    return;
  }
  RunCommand(dialog_, [this, &name] {
    switch (organiser_->Rename(*name)) {
      case WorkBenchOrganiser::RenameResult::AlreadyRegistered:
        Inform(dialog_, text::kNameAlreadyRegistered);
        break;
      case WorkBenchOrganiser::RenameResult::Renamed:
        FillWorkBenchList();
        break;
      case WorkBenchOrganiser::RenameResult::NotStorable:
        Inform(dialog_, text::kNameNotStorable);
        break;
      case WorkBenchOrganiser::RenameResult::NoSelection:
      case WorkBenchOrganiser::RenameResult::NotFound:
        break;
    }
  });
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
