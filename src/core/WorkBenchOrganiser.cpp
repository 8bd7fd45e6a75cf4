#include "core/WorkBenchOrganiser.h"

#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/AnsiText.h"
#include "core/Profile.h"
#include "core/WorkBenchName.h"

namespace zarn {
namespace {

// GetStrings writes each header as "[" + name + "]", and the reader takes every line that starts
// with "[" and ends with "]" as a header, so no key line looks like one.
bool IsHeader(const std::string& line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

std::string Header(std::string_view name) {
  std::string header(1, '[');
  header += name;
  header += ']';
  return header;
}

// Sections named `name` (letter case ignored) that hold no line, other than the one at `keep`.
// After a rename takes over such a name, the profile finds a section by its last occurrence: an
// empty one after the renamed workbench would hide it, and Commit would then leave the workbench
// out. Commit leaves empty sections out anyway, so dropping them loses nothing.
void DropEmptySections(std::vector<std::string>& lines, std::string_view name, std::size_t keep) {
  const std::string header = Header(name);
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size();) {
    std::size_t next = i + 1;
    bool empty = true;
    while (next < lines.size() && !IsHeader(lines[next])) {
      empty = empty && lines[next].empty();
      ++next;
    }
    const bool drop = i != keep && IsHeader(lines[i]) && empty && EqualsIgnoreCase(lines[i], header);
    for (std::size_t j = i; j < next; ++j) {
      if (!drop) kept.push_back(std::move(lines[j]));
    }
    i = next;
  }
  lines = std::move(kept);
}

}  // namespace

WorkBenchOrganiser::WorkBenchOrganiser(Profile& workBenches)
    : workBenches_(workBenches), rows_(workBenches.ReadSections()) {}

void WorkBenchOrganiser::Select(std::optional<std::size_t> row) {
  selected_ = row && *row < rows_.size() ? row : std::nullopt;
}

bool WorkBenchOrganiser::MoveUp() {
  if (!selected_ || *selected_ == 0) return false;
  std::swap(rows_[*selected_], rows_[*selected_ - 1]);
  --*selected_;
  return true;
}

bool WorkBenchOrganiser::MoveDown() {
  if (!selected_ || *selected_ + 1 >= rows_.size()) return false;
  std::swap(rows_[*selected_], rows_[*selected_ + 1]);
  ++*selected_;
  return true;
}

bool WorkBenchOrganiser::Delete() {
  if (!selected_) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected_));
  selected_.reset();
  return true;
}

WorkBenchOrganiser::RenameResult WorkBenchOrganiser::Rename(const std::string& newName) {
  if (!selected_) return RenameResult::NoSelection;
  const CheckedWorkBenchName checked = CheckWorkBenchName(newName);
  // Nothing left after trimming names the workbench "", as it always has; what the file cannot
  // hold is refused.
  if (checked.problem == WorkBenchNameProblem::ControlCharacter) return RenameResult::NotStorable;
  const std::string& name = checked.name;
  // The profile, not the list, is asked: a deleted workbench stays in the profile until Commit, and
  // with two sections of one name there Commit would write the later one's lines under the row.
  if (workBenches_.SectionExists(name)) return RenameResult::AlreadyRegistered;

  std::vector<std::string> lines = workBenches_.GetStrings();
  const std::string oldHeader = Header(rows_[*selected_]);
  // The exact spelling first: where a file holds two sections differing only in letter case, the
  // row's own section is the one renamed.
  std::size_t found = lines.size();
  for (std::size_t i = 0; i < lines.size() && found == lines.size(); ++i) {
    if (lines[i] == oldHeader) found = i;
  }
  for (std::size_t i = 0; i < lines.size() && found == lines.size(); ++i) {
    if (EqualsIgnoreCase(lines[i], oldHeader)) found = i;
  }
  if (found == lines.size()) return RenameResult::NotFound;

  lines[found] = Header(name);
  DropEmptySections(lines, name, found);
  rows_[*selected_] = name;
  workBenches_.SetStrings(lines);
  return RenameResult::Renamed;
}

void WorkBenchOrganiser::Commit() {
  // A second profile, so that a failed write leaves the shown profile as it was.
  Profile written(workBenches_.FileName());
  written.Clear();
  // Written through the reading calls, so the file gets exactly what loading a workbench would see.
  // What they cannot reach is lost: of two sections with one name (letter case ignored) only the
  // last, the one every load reads, is kept, once, at its first row; of two lines with one key, the
  // last; a line without "=" becomes "=" under the empty key. None of those could be loaded as
  // they stood either.
  std::unordered_set<std::string> done;
  for (const std::string& row : rows_) {
    if (!done.insert(FoldCase(row)).second) continue;
    for (const std::string& key : workBenches_.ReadSection(row)) {
      written.WriteString(row, key, workBenches_.ReadString(row, key, ""));
    }
  }
  written.UpdateFile();
  workBenches_.Rename(workBenches_.FileName(), true);
}

void WorkBenchOrganiser::Cancel() { workBenches_.Rename(workBenches_.FileName(), true); }

}  // namespace zarn
