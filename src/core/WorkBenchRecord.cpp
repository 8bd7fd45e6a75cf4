#include "core/WorkBenchRecord.h"

#include <algorithm>
#include <array>

#include "core/Profile.h"
#include "core/ProfileNumber.h"

namespace zarn {

namespace {

constexpr char kFieldSeparator = '\t';

// What a numeric field reads as when it is missing or is not a number.
constexpr std::int32_t kMissingNumber = 100;

// A rectangle's extent as the window system itself computes it: in 32-bit two's complement. A
// rectangle so wide that right - left leaves the int32 range then still round-trips, because the
// reader's x + width wraps the same way back to right.
std::int32_t WrappedDifference(std::int32_t high, std::int32_t low) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(high) - static_cast<std::uint32_t>(low));
}

}  // namespace

std::string_view NextTabField(std::string_view line, std::size_t& cursor) {
  if (cursor >= line.size()) {
    cursor = line.size();
    return {};
  }
  const std::size_t tab = line.find(kFieldSeparator, cursor);
  if (tab == std::string_view::npos) {
    std::string_view field = line.substr(cursor);
    cursor = line.size();
    return field;
  }
  std::string_view field = line.substr(cursor, tab - cursor);
  cursor = tab + 1;
  return field;
}

std::string FormatRecordLine(const THandleListRec& record, std::int32_t tabGroup) {
  const std::array<std::int32_t, 13> numbers = {
      record.WindowRect.left,
      record.WindowRect.top,
      WrappedDifference(record.WindowRect.right, record.WindowRect.left),
      WrappedDifference(record.WindowRect.bottom, record.WindowRect.top),
      record.ShowCmd,
      record.MinPosition.x,
      record.MinPosition.y,
      record.MaxPosition.x,
      record.MaxPosition.y,
      // Top before left: the order the file has always had, which every stored workbench relies on.
      record.NormalPosition.top,
      record.NormalPosition.left,
      record.NormalPosition.right,
      record.NormalPosition.bottom,
  };
  std::string line = record.Path;
  for (std::int32_t number : numbers) {
    line += kFieldSeparator;
    line += std::to_string(number);
  }
  if (tabGroup > 0) {
    line += kFieldSeparator;
    line += std::to_string(tabGroup);
  }
  return line;
}

WorkBenchRecord ParseRecordLine(std::string_view line) {
  std::size_t cursor = 0;
  WorkBenchRecord record;
  record.path = std::string(NextTabField(line, cursor));
  auto next = [&] { return ParseInteger(NextTabField(line, cursor)).value_or(kMissingNumber); };
  // Each field is read in its own statement: the order of the fields is the order of the calls.
  record.bounds.left = next();
  record.bounds.top = next();
  record.bounds.width = next();
  record.bounds.height = next();
  record.placement.showCmd = next();
  record.placement.minPosition.x = next();
  record.placement.minPosition.y = next();
  record.placement.maxPosition.x = next();
  record.placement.maxPosition.y = next();
  record.placement.normalPosition.top = next();
  record.placement.normalPosition.left = next();
  record.placement.normalPosition.right = next();
  record.placement.normalPosition.bottom = next();
  record.tabGroup = std::max<std::int32_t>(0, ParseInteger(NextTabField(line, cursor)).value_or(0));
  return record;
}

bool IsMarkedLast(const Profile& workBenches, std::string_view name) {
  return workBenches.ReadBool(name, kLastKey, false);
}

std::optional<std::string> LastWorkBench(const Profile& workBenches) {
  for (const std::string& name : workBenches.ReadSections()) {
    if (IsMarkedLast(workBenches, name)) return name;
  }
  return std::nullopt;
}

void MarkLastWorkBench(Profile& workBenches, std::string_view name) {
  for (const std::string& section : workBenches.ReadSections()) workBenches.WriteBool(section, kLastKey, false);
  workBenches.WriteBool(name, kLastKey, true);
}

}  // namespace zarn
