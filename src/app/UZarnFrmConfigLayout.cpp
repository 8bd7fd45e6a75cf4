// The settings dialog's make-up: its template, and its pages' controls placed in 96-DPI pixels.
#include "app/UZarnFrmConfig.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Dpi.h"
#include "app/UZarnDM.h"
#include "app/ZarnMessages.h"
#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

// The dialog's geometry in 96-DPI pixels. Controls are placed in code at these pixels, scaled to the
// monitor's DPI: dialog units would follow the font's metrics and move them.
constexpr int kClientWidth = 290;
constexpr int kClientHeight = 256;
constexpr int kTabsWidth = 289;
constexpr int kTabsHeight = 217;
constexpr int kButtonPanelWidth = 95;
constexpr int kGlyphSize = 13;

constexpr wchar_t kDialogFont[] = L"ＭＳ Ｐゴシック";

}  // namespace

// An empty dialog template: caption "Zarn", a caption bar without system menu (so no close box), and
// the program's dialog font. The controls come in WM_INITDIALOG.
std::vector<WORD> TZarnFrmConfig::DialogTemplate() {
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

HWND TZarnFrmConfig::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
                                int height, int id, std::optional<ConfigPage> page) {
  const auto scale = [this](int pixels) { return ScaleForDpi(pixels, dpi_); };
  HWND control =
      ::CreateWindowExW(0, className, text, WS_CHILD | style, scale(x), scale(y), scale(width), scale(height), dialog_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
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
  tabs_ = ::CreateWindowExW(
      0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | WS_TABSTOP, 0, 0,
      scale(kTabsWidth), scale(kTabsHeight), dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CONFIG_TABS)),
      ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // The main window's list, at its DPI, as the tool bar shows the same images.
  ::SendMessageW(tabs_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(dm_.ZarnImgList(::GetDpiForWindow(owner_))));
  const struct {
    const wchar_t* caption;
    int image;
  } pages[] = {{win32::W(text::kPageWorkBenches), ZARN_IMAGE_ORGANISE},
               {win32::W(text::kPageGeneral), ZARN_IMAGE_SETTINGS},
               {win32::W(text::kPageScreen), ZARN_IMAGE_SETTINGS}};
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
  HWND up = AddControl(WC_BUTTONW, win32::W(text::kButtonUp), WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 8,
                       77, 20, IDC_BTN_UP, P::WorkBenches);
  HWND down = AddControl(WC_BUTTONW, win32::W(text::kButtonDown), WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10,
                         pageTop + 32, 77, 20, IDC_BTN_DOWN, P::WorkBenches);
  AddControl(WC_BUTTONW, win32::W(text::kButtonRename), WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 112, 77,
             20, IDC_BTN_CHANGENAME, P::WorkBenches);
  AddControl(WC_BUTTONW, win32::W(text::kButtonDelete), WS_TABSTOP | BS_PUSHBUTTON, panelLeft + 10, pageTop + 160, 77,
             20, IDC_BTN_DELETE, P::WorkBenches);
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
  AddControl(WC_STATICW, win32::W(text::kLabelMoniterMode), SS_NOPREFIX, pageLeft + 16, pageTop + 20, 60, 14, -1,
             P::General);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 16, 171, 200, IDC_CMB_MONITMODE, P::General);
  AddControl(WC_STATICW, win32::W(text::kLabelShowMode), SS_NOPREFIX, pageLeft + 16, pageTop + 52, 60, 14, -1,
             P::General);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 48, 171, 200, IDC_CMB_SHOWMODE, P::General);

  // 画面
  AddControl(WC_STATICW, win32::W(text::kLabelLayerType), SS_NOPREFIX, pageLeft + 24, pageTop + 21, 50, 14, -1,
             P::Screen);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 78, pageTop + 16, 171, 200, IDC_CMB_LAYERTYPE, P::Screen);
  AddControl(WC_STATICW, win32::W(text::kLabelAlpha), SS_NOPREFIX, pageLeft + 24, pageTop + 52, 48, 14, -1, P::Screen);
  HWND track = AddControl(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
                          pageLeft + 73, pageTop + 51, 204, 25, IDC_TKB_MAINLAYER, P::Screen);
  ::SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 255));
  ::SendMessageW(track, TBM_SETPAGESIZE, 0, 16);
  ::SendMessageW(track, TBM_SETTICFREQ, 16, 0);
  ::SendMessageW(track, TBM_SETTHUMBLENGTH, scale(10), 0);
  AddControl(WC_BUTTONW, win32::W(text::kCheckTitleBar), WS_TABSTOP | BS_AUTOCHECKBOX, pageLeft + 80, pageTop + 86, 145,
             17, IDC_CK_TITLEBARVIEW, P::Screen);
  AddControl(WC_STATICW, win32::W(text::kLabelWorkBenchLoad), SS_NOPREFIX, pageLeft + 24, pageTop + 117, 233, 14, -1,
             P::Screen);
  AddControl(WC_COMBOBOXW, L"", dropDownList, pageLeft + 32, pageTop + 136, 233, 200, IDC_CMB_WBLOAD, P::Screen);

  const auto fill = [this](int id, const auto& items) {
    for (const char16_t* item : items)
      ::SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::W(item)));
  };
  fill(IDC_CMB_MONITMODE, text::kMoniterModeItems);
  fill(IDC_CMB_SHOWMODE, text::kShowModeItems);
  fill(IDC_CMB_LAYERTYPE, text::kLayerTypeItems);
  fill(IDC_CMB_WBLOAD, text::kWorkBenchLoadItems);
  AddToolTip(IDC_CMB_MONITMODE, win32::W(text::kHintMoniterMode));
  AddToolTip(IDC_CMB_SHOWMODE, win32::W(text::kHintShowMode));

  // The bottom panel: on every page. Ids of their own, so Enter and Escape press neither.
  AddControl(WC_BUTTONW, win32::W(text::kButtonOk), WS_TABSTOP | BS_PUSHBUTTON, 112, kTabsHeight + 8, 77, 25,
             IDC_BTN_CONFIG_OK, kEveryPage);
  AddControl(WC_BUTTONW, win32::W(text::kButtonCancel), WS_TABSTOP | BS_PUSHBUTTON, 200, kTabsHeight + 8, 77, 25,
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

}  // namespace zarn::app
