#pragma once
// The organiser page of the settings dialog: the list of workbenches to reorder, rename and delete.
// Moves and deletions touch only the list until Commit; a rename changes the in-memory workbench
// profile at once (the file only at Commit); Cancel reloads the profile from its file.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

class Profile;

class WorkBenchOrganiser {
 public:
  // Fills the rows with the profile's section names in its order; no row is selected.
  explicit WorkBenchOrganiser(Profile& workBenches);

  const std::vector<std::string>& Rows() const { return rows_; }
  std::optional<std::size_t> Selected() const { return selected_; }
  void Select(std::optional<std::size_t> row);

  // Each does nothing (false) without a selection or at the end of the list; the moved row stays
  // selected. Delete leaves no row selected.
  bool MoveUp();
  bool MoveDown();
  bool Delete();

  enum class RenameResult { Renamed, AlreadyRegistered, NoSelection, NotFound, NotStorable };
  // Renames the selected workbench to `newName` (code page 932 bytes), trimmed as CheckWorkBenchName
  // trims; a name with a control character inside is NotStorable. Refused when the profile holds a
  // section of that name with at least one line, letter case ignored: the current name and the name
  // of a workbench deleted from the list in this showing included.
  RenameResult Rename(const std::string& newName);

  // OK: writes the listed workbenches, in list order and with their keys in order, to the
  // profile's file through a second profile object, then reloads the profile from the file. A
  // workbench without keys is left out. Throws zarn::Error when the file cannot be written; the file
  // and the profile are then as they were.
  void Commit();
  // Cancel (also the system close command): the profile is read again from its file, dropping
  // renames; the list's moves and deletions were never stored.
  void Cancel();

 private:
  Profile& workBenches_;
  std::vector<std::string> rows_;
  std::optional<std::size_t> selected_;
};

}  // namespace zarn
