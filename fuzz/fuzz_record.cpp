// The workbench record line: fields cut at TAB, each number by the number rule (100 when missing),
// an optional tab group, and a record written back out reads as the same record.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Profile.h"
#include "core/ProfileNumber.h"
#include "core/WorkBenchRecord.h"
#include "FuzzCheck.h"

namespace {

std::int32_t Wrapped(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);

  // The fields are consecutive pieces of the line, separated by single TABs.
  std::array<std::string_view, 15> fields{};
  std::size_t cursor = 0;
  for (std::size_t i = 0; cursor < line.size() || i < fields.size(); ++i) {
    const std::size_t before = cursor;
    const std::string_view field = zarn::NextTabField(line, cursor);
    Check(field.find('\t') == std::string_view::npos);
    Check(before >= line.size() ? field.empty() && cursor == line.size()
                                : field.data() == line.data() + before && field.size() <= line.size() - before);
    if (before < line.size()) {
      const std::size_t after = before + field.size();
      Check(cursor == (after < line.size() ? after + 1 : after));
      Check(after == line.size() || line[after] == '\t');
    }
    if (i < fields.size()) fields[i] = field;
  }

  const zarn::WorkBenchRecord record = zarn::ParseRecordLine(line);
  Check(record.path == fields[0]);
  std::array<std::int32_t, 13> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = zarn::ParseInteger(fields[i + 1]).value_or(100);
  const std::array<std::int32_t, 13> read = {
      record.bounds.left,
      record.bounds.top,
      record.bounds.width,
      record.bounds.height,
      record.placement.showCmd,
      record.placement.minPosition.x,
      record.placement.minPosition.y,
      record.placement.maxPosition.x,
      record.placement.maxPosition.y,
      record.placement.normalPosition.top,
      record.placement.normalPosition.left,
      record.placement.normalPosition.right,
      record.placement.normalPosition.bottom,
  };
  Check(read == numbers);
  // The optional tab group: a positive number or 0.
  Check(record.tabGroup == std::max<std::int32_t>(0, zarn::ParseInteger(fields[14]).value_or(0)));

  // Saved again from a window with these values, the line reads back as the same record.
  zarn::THandleListRec window;
  window.Path = record.path;
  window.WindowRect = {record.bounds.left, record.bounds.top, Wrapped(record.bounds.left, record.bounds.width),
                       Wrapped(record.bounds.top, record.bounds.height)};
  window.ShowCmd = record.placement.showCmd;
  window.MinPosition = record.placement.minPosition;
  window.MaxPosition = record.placement.maxPosition;
  window.NormalPosition = record.placement.normalPosition;
  const std::string written = zarn::FormatRecordLine(window, record.tabGroup);
  const zarn::WorkBenchRecord again = zarn::ParseRecordLine(written);
  Check(again.path == record.path);
  Check(again.bounds == record.bounds);
  Check(again.placement == record.placement);
  Check(again.tabGroup == record.tabGroup);
  return 0;
}
