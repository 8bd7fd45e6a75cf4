#pragma once
// The snapshot of open folder windows that every folder-window command starts from.
#include <memory>
#include <string>
#include <vector>

#include "core/Geometry.h"

namespace zarn {

struct THandleListRec {
  WindowHandle Handle = 0;
  std::string Path;  // code page 932 bytes, as stored in a workbench
  Rect WindowRect;
  std::int32_t ShowCmd = 0;
  Point MinPosition;
  Point MaxPosition;
  Rect NormalPosition;
  // The shell's own spelling, kept for messages; and whether Path may be stored (false when code
  // page 932 can represent neither the path nor its short form).
  std::u16string WidePath;
  bool PathRepresentable = true;
};

// In the shell's collection order. One window can appear more than once (one item per tab).
using HandleList = std::vector<std::unique_ptr<THandleListRec>>;

}  // namespace zarn
