#include "core/StartPosition.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zarn {
namespace {

// 64-bit arithmetic throughout: stored positions are whatever the file holds.
struct Box {
  std::int64_t left, top, right, bottom;
};

Box BoxOf(const Area& a) { return {a.left, a.top, std::int64_t{a.left} + a.width, std::int64_t{a.top} + a.height}; }

bool Overlaps(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Squared distance between two boxes, 0 when they touch or overlap: how the window system picks the
// nearest monitor for a window off every screen.
std::int64_t Distance(const Box& a, const Box& b) {
  const std::int64_t dx = std::max<std::int64_t>({0, b.left - a.right, a.left - b.right});
  const std::int64_t dy = std::max<std::int64_t>({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

// The position that keeps [position, position + extent) inside [low, high); the low edge wins when
// the window is larger than the area, so its caption stays reachable.
std::int32_t Fit(std::int64_t position, std::int64_t extent, std::int64_t low, std::int64_t high) {
  position = std::min(position, high - extent);
  position = std::max(position, low);
  return static_cast<std::int32_t>(position);
}

}  // namespace

Point StartPosition(Point stored, Extent size, const Area& virtualDesktop, const std::vector<MonitorAreas>& monitors) {
  Point position = stored;
  if (virtualDesktop.width < position.x) position.x = 0;
  if (virtualDesktop.height < position.y) position.y = 0;
  if (monitors.empty()) return position;

  const Box window{position.x, position.y, std::int64_t{position.x} + std::max(size.width, 1),
                   std::int64_t{position.y} + std::max(size.height, 1)};
  const MonitorAreas* nearest = nullptr;
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const MonitorAreas& m : monitors) {
    const Box box = BoxOf(m.monitor);
    if (Overlaps(window, box)) return position;
    const std::int64_t d = Distance(window, box);
    if (d < best) {
      best = d;
      nearest = &m;
    }
  }
  const Box work = BoxOf(nearest->workArea);
  return {Fit(position.x, size.width, work.left, work.right), Fit(position.y, size.height, work.top, work.bottom)};
}

}  // namespace zarn
