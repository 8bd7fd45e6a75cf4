// The settings dialog's organiser page: the workbench list, reordered, renamed and deleted in memory
// until OK.
#include "app/UZarnFrmConfig.h"

#include <string>

#include "app/ErrorDisplay.h"
#include "app/MessageDialogs.h"
#include "app/ZarnMessages.h"
#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

std::wstring ListText(const std::string& name) { return win32::WideFromCp932(name); }

}  // namespace

void TZarnFrmConfig::FillWorkBenchList() {
  HWND list = ::GetDlgItem(dialog_, IDC_LST_WB);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& row : organiser_->Rows()) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListText(row).c_str()));
  }
  const std::optional<std::size_t> selected = organiser_->Selected();
  ::SendMessageW(list, LB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
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
      InputQuery(dialog_, kApplicationTitle, win32::W(text::kNewWorkBenchName), ListText(organiser_->Rows()[*row]));
  if (!typed) return;
  const std::optional<std::string> name = win32::Cp932FromWide(*typed);
  if (!name) {
    Inform(dialog_, win32::W(text::kNameNotStorable));
    return;
  }
  RunCommand(dialog_, [this, &name] {
    switch (organiser_->Rename(*name)) {
      case WorkBenchOrganiser::RenameResult::AlreadyRegistered:
        Inform(dialog_, win32::W(text::kNameAlreadyRegistered));
        break;
      case WorkBenchOrganiser::RenameResult::Renamed:
        FillWorkBenchList();
        break;
      case WorkBenchOrganiser::RenameResult::NotStorable:
        Inform(dialog_, win32::W(text::kNameNotStorable));
        break;
      case WorkBenchOrganiser::RenameResult::NoSelection:
      case WorkBenchOrganiser::RenameResult::NotFound:
        break;
    }
  });
}

}  // namespace zarn::app
