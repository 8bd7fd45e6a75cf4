#include "core/WorkBenchMenuMarks.h"

#include "core/Profile.h"
#include "core/UiText.h"
#include "core/WorkBenchRecord.h"

namespace zarn {
namespace {

const std::string kNewWorkBenchCaption(text::kMenuNewWorkBenchCp932);
const std::string kOrganiseCaption(text::kMenuOrganiseCp932);

}  // namespace

bool IsDropDown(WorkBenchMenu menu) {
  return menu == WorkBenchMenu::LoadDropDown || menu == WorkBenchMenu::SaveDropDown;
}

bool IsLoadMenu(WorkBenchMenu menu) {
  return menu == WorkBenchMenu::LoadDropDown || menu == WorkBenchMenu::LoadSubmenu;
}

const std::string& WorkBenchMenuMarks::FixedCaption(WorkBenchMenu menu) {
  return IsLoadMenu(menu) ? kOrganiseCaption : kNewWorkBenchCaption;
}

void WorkBenchMenuMarks::Rebuild(const Profile& workBenches) {
  names_ = workBenches.ReadSections();
  // New items carry no mark; the fixed items of the drop-downs keep theirs, as they are not rebuilt.
  for (std::size_t i = 0; i < kWorkBenchMenuCount; ++i) {
    if (marks_[i] && !marks_[i]->fixedItem) marks_[i].reset();
  }
  FollowLastMarks(WorkBenchMenu::LoadDropDown, workBenches);
  FollowLastMarks(WorkBenchMenu::SaveDropDown, workBenches);
}

void WorkBenchMenuMarks::MenuOpening(WorkBenchMenu menu, const Profile& workBenches) {
  if (IsDropDown(menu)) FollowLastMarks(menu, workBenches);
}

void WorkBenchMenuMarks::WorkBenchChosen(WorkBenchMenu menu, std::size_t index) {
  if (index < names_.size()) marks_[static_cast<std::size_t>(menu)] = Mark{false, index};
}

void WorkBenchMenuMarks::FollowLastMarks(WorkBenchMenu menu, const Profile& workBenches) {
  std::optional<Mark>& mark = marks_[static_cast<std::size_t>(menu)];
  if (IsMarkedLast(workBenches, FixedCaption(menu))) {
    mark = Mark{true, 0};
    return;
  }
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (IsMarkedLast(workBenches, names_[i])) {
      mark = Mark{false, i};
      return;
    }
  }
}

}  // namespace zarn
