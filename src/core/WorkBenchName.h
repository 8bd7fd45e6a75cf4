#pragma once
// What a workbench name may be. The name is a section header of the workbench file and a menu
// caption, so both saving a new workbench and renaming one in the organiser ask here.
#include <string>
#include <string_view>

namespace zarn {

enum class WorkBenchNameProblem {
  None,
  Empty,             // nothing but blanks
  ControlCharacter,  // a TAB or another control character inside: it would split the menu caption
                     // and could end the header's line in the file
};

struct CheckedWorkBenchName {
  std::string name;  // trimmed
  WorkBenchNameProblem problem = WorkBenchNameProblem::None;
};

// `name` is code page 932 bytes (text that code page 932 cannot hold never gets this far). Blanks
// at either end are dropped, as reading the file again would drop them, and so are ideographic
// spaces, which the reader keeps but nobody means there.
CheckedWorkBenchName CheckWorkBenchName(std::string_view name);

}  // namespace zarn
