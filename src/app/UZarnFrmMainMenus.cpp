// The toolbar's popup menus and the workbench commands behind them.
#include <string>

#include "app/ErrorDisplay.h"
#include "app/MessageDialogs.h"
#include "app/UZarnDM.h"
#include "app/UZarnFrmConfig.h"
#include "app/UZarnFrmMain.h"
#include "app/WaitCursor.h"
#include "app/ZarnMessages.h"
#include "core/UiText.h"
#include "core/ConfigSettings.h"
#include "core/UserMessages.h"
#include "core/WorkBenchName.h"
#include "core/WorkBenchRecord.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

constexpr int kNoImage = -1;
// Item data: the image list index + 1, so a menu's images can be given again at another DPI.
ULONG_PTR ImageData(int image) { return image == kNoImage ? 0 : static_cast<ULONG_PTR>(image + 1); }

// A workbench name is shown as it is: an "&" in it is no keyboard accelerator.
std::wstring MenuCaption(const std::string& name) {
  std::wstring caption;
  for (wchar_t c : win32::WideFromCp932(name)) {
    if (c == L'&') caption += L'&';
    caption += c;
  }
  return caption;
}

void AppendItem(HMENU menu, UINT id, const wchar_t* caption, int image, HBITMAP bitmap, HMENU submenu = nullptr) {
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_DATA | MIIM_BITMAP | (submenu ? MIIM_SUBMENU : 0);
  item.fType = MFT_STRING;
  item.wID = id;
  item.dwTypeData = const_cast<wchar_t*>(caption);
  item.dwItemData = ImageData(image);
  item.hbmpItem = bitmap;
  item.hSubMenu = submenu;
  ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &item);
}

void AppendSeparator(HMENU menu) { ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

struct WorkBenchRange {
  WorkBenchMenu menu;
  int first;
};
constexpr WorkBenchRange kRanges[] = {{WorkBenchMenu::LoadDropDown, IDM_WB_LOAD_DROPDOWN_FIRST},
                                      {WorkBenchMenu::SaveDropDown, IDM_WB_SAVE_DROPDOWN_FIRST},
                                      {WorkBenchMenu::LoadSubmenu, IDM_WB_LOAD_SUBMENU_FIRST},
                                      {WorkBenchMenu::SaveSubmenu, IDM_WB_SAVE_SUBMENU_FIRST}};

int FirstIdOf(WorkBenchMenu menu) {
  for (const WorkBenchRange& range : kRanges) {
    if (range.menu == menu) return range.first;
  }
  return 0;
}

UINT FixedIdOf(WorkBenchMenu menu) { return IsLoadMenu(menu) ? IDM_ORGANISE_WB : IDM_NEW_WB; }

std::wstring Format(const wchar_t* pattern, std::wstring_view value) {
  std::wstring text(pattern);
  const std::size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

void TZarnFrmMain::CreateMenus() {
  zarnPMUpon_.Reset(::CreatePopupMenu());
  AppendItem(zarnPMUpon_.Get(), IDM_CASCADE_KEEP_SIZE, win32::W(text::kMenuCascadeKeepSize), ZARN_IMAGE_CASCADE,
             nullptr);
  AppendItem(zarnPMUpon_.Get(), IDM_CASCADE_UNIFORM, win32::W(text::kMenuCascadeUniform), ZARN_IMAGE_CASCADE, nullptr);

  zarnPMSaveWB_.Reset(::CreatePopupMenu());
  AppendItem(zarnPMSaveWB_.Get(), IDM_NEW_WB, win32::W(text::kMenuNewWorkBench), ZARN_IMAGE_SAVE, nullptr);
  AppendSeparator(zarnPMSaveWB_.Get());
  zarnPMLoadWB_.Reset(::CreatePopupMenu());
  AppendItem(zarnPMLoadWB_.Get(), IDM_ORGANISE_WB, win32::W(text::kMenuOrganise), ZARN_IMAGE_ORGANISE, nullptr);
  AppendSeparator(zarnPMLoadWB_.Get());

  zarnMiMainWBSave_ = ::CreatePopupMenu();
  AppendItem(zarnMiMainWBSave_, IDM_NEW_WB, win32::W(text::kMenuNewWorkBench), ZARN_IMAGE_SAVE, nullptr);
  AppendSeparator(zarnMiMainWBSave_);
  zarnMiMainWBLoad_ = ::CreatePopupMenu();
  AppendItem(zarnMiMainWBLoad_, IDM_ORGANISE_WB, win32::W(text::kMenuOrganise), ZARN_IMAGE_ORGANISE, nullptr);
  AppendSeparator(zarnMiMainWBLoad_);
  zarnBtnConfig_ = ::CreatePopupMenu();
  AppendItem(zarnBtnConfig_, IDM_CONFIG_DIALOG, win32::W(text::kMenuSettingsDialog), ZARN_IMAGE_SETTINGS, nullptr);
  AppendSeparator(zarnBtnConfig_);
  AppendItem(zarnBtnConfig_, IDM_TITLEBAR_TOGGLE, win32::W(text::kMenuTitleBar), ZARN_IMAGE_TITLEBAR, nullptr);

  zarnPMMain_.Reset(::CreatePopupMenu());
  HMENU mainMenu = zarnPMMain_.Get();
  AppendItem(mainMenu, IDM_CASCADE_KEEP_SIZE, win32::W(text::kMenuCascadeKeepSize), ZARN_IMAGE_CASCADE, nullptr);
  AppendItem(mainMenu, IDM_CASCADE_UNIFORM, win32::W(text::kMenuCascadeUniform), ZARN_IMAGE_CASCADE, nullptr);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, IDM_TILE, win32::W(text::kMenuTile), ZARN_IMAGE_TILE, nullptr);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, IDM_CLOSE_ALL, win32::W(text::kMenuCloseAll), ZARN_IMAGE_CLOSE_ALL, nullptr);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, 0, win32::W(text::kMenuSaveWorkBench), ZARN_IMAGE_SAVE, nullptr, zarnMiMainWBSave_);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, 0, win32::W(text::kMenuLoadWorkBench), ZARN_IMAGE_LOAD, nullptr, zarnMiMainWBLoad_);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, 0, win32::W(text::kMenuSettings), ZARN_IMAGE_SETTINGS, nullptr, zarnBtnConfig_);
  AppendSeparator(mainMenu);
  AppendItem(mainMenu, IDM_EXIT, win32::W(text::kMenuExit), ZARN_IMAGE_EXIT, nullptr);
}

void TZarnFrmMain::DestroyMenus() {
  // Destroying the right-click menu destroys its submenus with it.
  for (win32::UniqueMenu* menu : {&zarnPMUpon_, &zarnPMSaveWB_, &zarnPMLoadWB_, &zarnPMMain_}) menu->Reset();
  zarnMiMainWBSave_ = zarnMiMainWBLoad_ = zarnBtnConfig_ = nullptr;
}

// Menu images are drawn from the image list when the menu asks: a bitmap given to the menu would need
// per-pixel alpha, which not every system blends.
void TZarnFrmMain::SetMenuImages() {
  for (HMENU menu : {zarnPMUpon_.Get(), zarnPMSaveWB_.Get(), zarnPMLoadWB_.Get(), zarnPMMain_.Get(), zarnMiMainWBSave_,
                     zarnMiMainWBLoad_, zarnBtnConfig_}) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW item{};
      item.cbSize = sizeof item;
      item.fMask = MIIM_DATA;
      if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) || item.dwItemData == 0) continue;
      item.fMask = MIIM_BITMAP;
      item.hbmpItem = HBMMENU_CALLBACK;
      ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    }
  }
}

void TZarnFrmMain::MeasureMenuImage(MEASUREITEMSTRUCT& item) const {
  item.itemWidth = static_cast<UINT>(dm_.ImageSize());
  item.itemHeight = static_cast<UINT>(dm_.ImageSize());
}

void TZarnFrmMain::DrawMenuImage(const DRAWITEMSTRUCT& item) const {
  if (item.itemData == 0) return;
  const int size = dm_.ImageSize();
  const RECT& r = item.rcItem;
  ::ImageList_Draw(dm_.ZarnImgList(dpi_), static_cast<int>(item.itemData) - 1, item.hDC,
                   r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, ILD_TRANSPARENT);
}

HMENU TZarnFrmMain::MenuOf(WorkBenchMenu menu) const {
  switch (menu) {
    case WorkBenchMenu::LoadDropDown:
      return zarnPMLoadWB_.Get();
    case WorkBenchMenu::SaveDropDown:
      return zarnPMSaveWB_.Get();
    case WorkBenchMenu::LoadSubmenu:
      return zarnMiMainWBLoad_;
    case WorkBenchMenu::SaveSubmenu:
      return zarnMiMainWBSave_;
  }
  return nullptr;
}

// The fixed items come first and stay; everything after them is a workbench.
void TZarnFrmMain::ClearWorkBenchItems(HMENU menu) {
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 2; --i) ::DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

void TZarnFrmMain::AddWorkBenchItem(HMENU menu, WorkBenchMenu which, std::size_t index, const std::string& name) {
  AppendItem(menu, static_cast<UINT>(FirstIdOf(which) + static_cast<int>(index)), MenuCaption(name).c_str(), kNoImage,
             nullptr);
}

void TZarnFrmMain::BuildWorkBenchMenus() {
  for (const WorkBenchRange& range : kRanges) ClearWorkBenchItems(MenuOf(range.menu));
  marks_.Rebuild(dm_.WorkBenchProfile());
  const std::vector<std::string>& names = marks_.Names();
  // Menu commands carry the index in 16 bits: a file of more workbenches than a range holds still
  // keeps them all, only the menus end.
  const std::size_t shown = std::min<std::size_t>(names.size(), IDM_WB_RANGE_SIZE);
  for (const WorkBenchRange& range : kRanges) {
    for (std::size_t i = 0; i < shown; ++i) AddWorkBenchItem(MenuOf(range.menu), range.menu, i, names[i]);
  }
  ApplyMenuMarks();
}

void TZarnFrmMain::ApplyMenuMarks() {
  for (const WorkBenchRange& range : kRanges) {
    HMENU menu = MenuOf(range.menu);
    const std::optional<WorkBenchMenuMarks::Mark> mark = marks_.DefaultOf(range.menu);
    if (!mark) {
      ::SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE);
    } else if (mark->fixedItem) {
      ::SetMenuDefaultItem(menu, FixedIdOf(range.menu), FALSE);
    } else {
      ::SetMenuDefaultItem(menu, static_cast<UINT>(range.first + static_cast<int>(mark->workBench)), FALSE);
    }
  }
}

void TZarnFrmMain::OnInitMenuPopup(HMENU menu) {
  for (const WorkBenchRange& range : kRanges) {
    if (MenuOf(range.menu) == menu) marks_.MenuOpening(range.menu, dm_.WorkBenchProfile());
  }
  ApplyMenuMarks();
}

bool TZarnFrmMain::OnWorkBenchCommand(int id) {
  for (const WorkBenchRange& range : kRanges) {
    if (id < range.first || id >= range.first + IDM_WB_RANGE_SIZE) continue;
    const std::size_t index = static_cast<std::size_t>(id - range.first);
    if (index >= marks_.Names().size()) return true;
    if (IsLoadMenu(range.menu)) {
      Run([this, menu = range.menu, index] { WorkBenchLoadItemClick(menu, index); });
    } else {
      Run([this, menu = range.menu, index] { WorkBenchSaveItemClick(menu, index); });
    }
    return true;
  }
  return false;
}

void TZarnFrmMain::WorkBenchLoadItemClick(WorkBenchMenu menu, std::size_t index) {
  marks_.WorkBenchChosen(menu, index);
  ApplyMenuMarks();
  LoadWorkBench(marks_.Names()[index]);
}

void TZarnFrmMain::WorkBenchSaveItemClick(WorkBenchMenu menu, std::size_t index) {
  const std::string name = marks_.Names()[index];
  if (!Confirm(window_, Format(win32::W(text::kOverwriteWorkBench), win32::WideFromCp932(name)))) return;
  marks_.WorkBenchChosen(menu, index);
  ApplyMenuMarks();
  WaitCursor wait;
  ReportLeftOut(folders_->SaveWorkBench(name, false, nullptr));
}

void TZarnFrmMain::ReportLeftOut(const SaveResult& result) {
  const std::u16string summary = LeftOutSummary(result.leftOut);
  if (!summary.empty()) Inform(window_, win32::WideFromU16(summary));
}

void TZarnFrmMain::ZarnMiNewWBClick() {
  const std::optional<std::wstring> typed =
      InputQuery(window_, kApplicationTitle, win32::W(text::kEnterWorkBenchName), L"");
  if (!typed) return;
  const std::optional<std::string> typedName = win32::Cp932FromWide(*typed);
  const CheckedWorkBenchName checked = CheckWorkBenchName(typedName.value_or(""));
  if (typedName && checked.problem == WorkBenchNameProblem::Empty) return;
  if (!typedName || checked.problem != WorkBenchNameProblem::None) {
    Inform(window_, win32::W(text::kNameNotStorable));
    return;
  }
  SaveResult result;
  {
    WaitCursor wait;
    result = folders_->SaveWorkBench(checked.name, true,
                                     [this] { return Confirm(window_, win32::W(text::kAlreadyRegistered)); });
  }
  BuildWorkBenchMenus();
  ApplyShowMode();
  ReportLeftOut(result);
}

void TZarnFrmMain::ZarnMiDeleteWBClick() {
  if (config_ != nullptr && config_->ShowModal(window_, ConfigPage::WorkBenches)) BuildWorkBenchMenus();
}

void TZarnFrmMain::ZarnBtnWBSvClick() {
  POINT at{};
  ::GetCursorPos(&at);
  PopUp(zarnPMSaveWB_.Get(), at);
}

void TZarnFrmMain::ZarnBtnWBLdClick() {
  switch (ReadLoadButtonAction(dm_.SettingsProfile())) {
    case LoadButtonAction::PopUpMenu: {
      POINT at{};
      ::GetCursorPos(&at);
      PopUp(zarnPMLoadWB_.Get(), at);
      break;
    }
    case LoadButtonAction::LoadLast:
      if (const std::optional<std::string> last = LastWorkBench(dm_.WorkBenchProfile())) LoadWorkBench(*last);
      break;
    case LoadButtonAction::Nothing:
      break;
  }
}

}  // namespace zarn::app
