#pragma once
// The workbench file as a scenario expects it, built independently of the program's own writer:
// code page 932 through the system's table, record fields in the file's order, CR LF line ends.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "E2eFixture.h"
#include "StandinReport.h"

namespace zarn::e2e {

inline std::string Cp932(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

inline std::wstring FromCp932(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
  return out;
}

// A record line as the workbench file stores it: path, left, top, width, height, show command,
// minimized x, y, maximized x, y, then the normal rectangle as top, left, right, bottom.
inline std::string RecordLine(std::wstring_view path, const RECT& rect, int showCmd, POINT min, POINT max,
                              const RECT& normal) {
  std::string line = Cp932(path);
  for (long value :
       {rect.left, rect.top, static_cast<long>(Width(rect)), static_cast<long>(Height(rect)),
        static_cast<long>(showCmd), min.x, min.y, max.x, max.y, normal.top, normal.left, normal.right, normal.bottom}) {
    line += '\t';
    line += std::to_string(value);
  }
  return line;
}

// The record of a window as its own process reads it.
inline std::string RecordLine(const standin::ReportedFolderWindow& window) {
  const WINDOWPLACEMENT& p = window.placement;
  return RecordLine(window.path, window.windowRect, static_cast<int>(p.showCmd), p.ptMinPosition, p.ptMaxPosition,
                    p.rcNormalPosition);
}

// A section's header line; appended piece by piece, which spares GCC 12 a false -Wrestrict alarm.
inline std::string SectionLine(std::wstring_view name) {
  std::string line = "[";
  line += Cp932(name);
  line += ']';
  return line;
}

// The written form of a profile: lines end with CR LF, and every section with an empty line.
inline std::string WrittenForm(const std::vector<std::vector<std::string>>& sections) {
  std::string text;
  for (const auto& section : sections) {
    for (const std::string& line : section) text += line + "\r\n";
    text += "\r\n";
  }
  return text;
}

inline std::vector<std::string> FileLines(const std::filesystem::path& file) { return SplitLines(ReadFileBytes(file)); }

}  // namespace zarn::e2e
