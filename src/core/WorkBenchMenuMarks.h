#pragma once
// Which item of each workbench menu is the default (bold) one, and when that changes.
//
// The two drop-down menus follow the workbench file: whenever they open, the first item whose
// caption names a workbench marked `Last` becomes their default; with none, the mark stays where it
// was. The two submenus of the right-click menu have no such rule: the item clicked last keeps the
// mark until the menus are built again, even after another workbench became the last one.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

class Profile;

enum class WorkBenchMenu : std::size_t { LoadDropDown = 0, SaveDropDown = 1, LoadSubmenu = 2, SaveSubmenu = 3 };
inline constexpr std::size_t kWorkBenchMenuCount = 4;

class WorkBenchMenuMarks {
 public:
  // The default of one menu: its fixed command item, or a workbench by its index in the list.
  struct Mark {
    bool fixedItem = false;
    std::size_t workBench = 0;
    friend bool operator==(const Mark&, const Mark&) = default;
  };

  // The menus were filled anew with the workbench profile's sections, in file order.
  void Rebuild(const Profile& workBenches);
  // A drop-down menu is about to open: it follows the `Last` marks of the profile as it is now.
  void MenuOpening(WorkBenchMenu menu, const Profile& workBenches);
  // An item was chosen and its command goes ahead.
  void WorkBenchChosen(WorkBenchMenu menu, std::size_t index);

  const std::vector<std::string>& Names() const { return names_; }
  std::optional<Mark> DefaultOf(WorkBenchMenu menu) const { return marks_[static_cast<std::size_t>(menu)]; }
  // The caption of each menu's fixed item ("新規ワークベンチの保存", "ワークベンチの整理") as code
  // page 932 bytes: a workbench of that name marked last makes the fixed item the default.
  static const std::string& FixedCaption(WorkBenchMenu menu);

 private:
  void FollowLastMarks(WorkBenchMenu menu, const Profile& workBenches);

  std::vector<std::string> names_;
  std::array<std::optional<Mark>, kWorkBenchMenuCount> marks_{};
};

bool IsDropDown(WorkBenchMenu menu);
bool IsLoadMenu(WorkBenchMenu menu);

}  // namespace zarn
