#pragma once
// One folder window as a line of the workbench file: 14 fields joined by TAB.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Geometry.h"
#include "core/HandleList.h"

namespace zarn {

struct WorkBenchRecord {
  std::string path;
  Area bounds;  // x, y, width, height as stored (the window rectangle is x, y, x + width, y + height)
  Placement placement;
};

// The characters from cursor up to the next TAB or the end of the line; moves cursor past that TAB.
// At the end of the line it returns an empty field and leaves cursor there.
std::string_view NextTabField(std::string_view line, std::size_t& cursor);

std::string FormatRecordLine(const THandleListRec& record);

// Missing or non-numeric numeric fields read as 100.
WorkBenchRecord ParseRecordLine(std::string_view line);

}  // namespace zarn
