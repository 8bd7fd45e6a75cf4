#include "core/WorkBenchName.h"

#include "core/AnsiText.h"

namespace zarn {
namespace {

// The ideographic space of code page 932: users typing Japanese names leave it at the ends as often
// as an ASCII space, and the reader would keep it, so it is dropped here.
bool IsIdeographicSpace(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) == 0x81 &&
         static_cast<unsigned char>(text[at + 1]) == 0x40;
}

// Walks character by character from the start: 0x81 0x40 seen from the end might be the trail byte
// of one character followed by the lead byte of another.
std::string_view TrimName(std::string_view name) {
  std::size_t begin = name.size();
  std::size_t end = name.size();
  for (std::size_t i = 0; i < name.size();) {
    const unsigned char byte = static_cast<unsigned char>(name[i]);
    const bool pair = IsLeadByte(byte) && i + 1 < name.size();
    const std::size_t width = pair ? 2 : 1;
    const bool blank = pair ? IsIdeographicSpace(name, i) : IsBlankByte(byte);
    if (!blank) {
      if (begin == name.size()) begin = i;
      end = i + width;
    }
    i += width;
  }
  if (begin == name.size()) return {};
  return name.substr(begin, end - begin);
}

// Every control character of code page 932 is a single byte: trail bytes start at 0x40.
bool HasControlCharacter(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(byte) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

CheckedWorkBenchName CheckWorkBenchName(std::string_view name) {
  CheckedWorkBenchName checked{std::string(TrimName(name)), WorkBenchNameProblem::None};
  if (checked.name.empty()) {
    checked.problem = WorkBenchNameProblem::Empty;
  } else if (HasControlCharacter(checked.name)) {
    checked.problem = WorkBenchNameProblem::ControlCharacter;
  }
  return checked;
}

}  // namespace zarn
