// What a workbench name may be, for saving a new workbench and renaming one alike.
#include <gtest/gtest.h>

#include <string>

#include "core/WorkBenchName.h"

namespace zarn {
namespace {

TEST(WorkBenchName, TrimsBlanksAndRefusesControlCharactersInside) {
  using Problem = WorkBenchNameProblem;
  struct Case {
    std::string typed;
    std::string name;
    Problem problem;
  } cases[] = {
      {"Work", "Work", Problem::None},
      {"  Work 1\t", "Work 1", Problem::None},
      // Ideographic spaces at the ends go; one inside stays.
      {"\x81\x40\x8D\xEC\x8B\xC6\x81\x40\x8D\xEC\x8B\xC6\x81\x40", "\x8D\xEC\x8B\xC6\x81\x40\x8D\xEC\x8B\xC6",
       Problem::None},
      // 0x81 0x40 seen from the end would be the trail of one character and a lead byte: not a space.
      {"x\x81\x81\x40", "x\x81\x81\x40", Problem::None},
      // A trail byte that is also an ASCII character is no control character and no blank.
      {"\x95\x5C\x83\x41", "\x95\x5C\x83\x41", Problem::None},
      {"", "", Problem::Empty},
      {" \t\r\n\x81\x40", "", Problem::Empty},
      {"New\tName", "New\tName", Problem::ControlCharacter},
      {"a\x1Fz", "a\x1Fz", Problem::ControlCharacter},
      {"a\x7Fz", "a\x7Fz", Problem::ControlCharacter},
      {std::string("a\0z", 3), std::string("a\0z", 3), Problem::ControlCharacter},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const CheckedWorkBenchName checked = CheckWorkBenchName(c.typed);
    EXPECT_EQ(checked.name, c.name);
    EXPECT_EQ(checked.problem, c.problem);
  }
}

}  // namespace
}  // namespace zarn
