#pragma once
// Screen geometry in the window system's own units: 32-bit signed pixels.
#include <cstdint>

namespace zarn {

// An HWND widened to 64 bits, so the core can carry window handles without <windows.h>.
using WindowHandle = std::uint64_t;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// left, top, right, bottom (right and bottom exclusive, as GetWindowRect gives them).
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// left, top, width, height: how monitors, the virtual desktop and the arrangement area are given.
struct Area {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Area&, const Area&) = default;
};

struct Extent {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Extent&, const Extent&) = default;
};

// The window placement record without its length and flags fields.
struct Placement {
  std::int32_t showCmd = 0;
  Point minPosition;
  Point maxPosition;
  Rect normalPosition;
  friend bool operator==(const Placement&, const Placement&) = default;
};

// The window system's constants the logic passes through the seam, under their platform values.
inline constexpr std::int32_t kSwShowMinimized = 2;
inline constexpr std::int32_t kSwShowMaximized = 3;
inline constexpr std::int32_t kSwShowDefault = 10;

inline constexpr WindowHandle kHwndTop = 0;
inline constexpr WindowHandle kHwndTopMost = static_cast<WindowHandle>(-1);

inline constexpr std::uint32_t kSwpNoSize = 0x0001;
inline constexpr std::uint32_t kSwpNoMove = 0x0002;

}  // namespace zarn
