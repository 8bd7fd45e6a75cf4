#pragma once
// One folder window as a line of the workbench file: 14 fields joined by TAB, and a 15th for a tab of a
// window with several.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Geometry.h"
#include "core/HandleList.h"

namespace zarn {

class Profile;

struct WorkBenchRecord {
  std::string path;
  Area bounds;  // x, y, width, height as stored (the window rectangle is x, y, x + width, y + height)
  Placement placement;
  // The records that were tabs of one window share this number (the key of the window's first record);
  // 0 for a window with one. Versions that read 14 fields take each tab as a window of its own.
  std::int32_t tabGroup = 0;
};

// The characters from cursor up to the next TAB or the end of the line; moves cursor past that TAB.
// At the end of the line it returns an empty field and leaves cursor there.
std::string_view NextTabField(std::string_view line, std::size_t& cursor);

std::string FormatRecordLine(const THandleListRec& record, std::int32_t tabGroup = 0);

// Missing or non-numeric numeric fields read as 100; a missing, bad or negative tab group as 0.
WorkBenchRecord ParseRecordLine(std::string_view line);

// Each workbench is a section of the workbench file: its records under the keys 1, 2, ... and the
// key "Last", set on the one workbench saved or restored last.
inline constexpr std::string_view kLastKey = "Last";
bool IsMarkedLast(const Profile& workBenches, std::string_view name);
// The first workbench in file order that is marked last; nullopt when none is.
std::optional<std::string> LastWorkBench(const Profile& workBenches);
// Marks `name` as the last one and every other workbench as not.
void MarkLastWorkBench(Profile& workBenches, std::string_view name);

}  // namespace zarn
