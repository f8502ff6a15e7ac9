#include "app/view/ScreenFit.h"

#include <algorithm>
#include <limits>

namespace jwcount {
namespace {

bool Meets(const ScreenRect& a, const ScreenRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// The gap between two ranges along one axis; 0 when they overlap or touch.
int64_t Gap(int32_t aLow, int32_t aHigh, int32_t bLow, int32_t bHigh) {
  if (aHigh <= bLow) return int64_t{bLow} - aHigh;
  if (bHigh <= aLow) return int64_t{aLow} - bHigh;
  return 0;
}

int64_t SquaredDistance(const ScreenRect& a, const ScreenRect& b) {
  const int64_t dx = Gap(a.Left, a.Right, b.Left, b.Right);
  const int64_t dy = Gap(a.Top, a.Bottom, b.Top, b.Bottom);
  return dx * dx + dy * dy;
}

// The start of a span of the given length moved into [low, high), the start kept inside when the span
// is longer than the range.
int32_t MoveInto(int32_t start, int64_t length, int32_t low, int32_t high) {
  const int64_t latest = std::max<int64_t>(low, int64_t{high} - length);
  return static_cast<int32_t>(std::clamp<int64_t>(start, low, latest));
}

}  // namespace

ScreenRect KeepOnScreen(const ScreenRect& window, std::span<const ScreenRect> workAreas) {
  if (workAreas.empty()) return window;
  const ScreenRect* nearest = nullptr;
  int64_t nearestDistance = std::numeric_limits<int64_t>::max();
  for (const ScreenRect& area : workAreas) {
    if (Meets(window, area)) return window;
    const int64_t distance = SquaredDistance(window, area);
    if (distance < nearestDistance) {
      nearest = &area;
      nearestDistance = distance;
    }
  }
  const int64_t width = int64_t{window.Right} - window.Left;
  const int64_t height = int64_t{window.Bottom} - window.Top;
  ScreenRect moved;
  moved.Left = MoveInto(window.Left, width, nearest->Left, nearest->Right);
  moved.Top = MoveInto(window.Top, height, nearest->Top, nearest->Bottom);
  moved.Right = static_cast<int32_t>(moved.Left + width);
  moved.Bottom = static_cast<int32_t>(moved.Top + height);
  return moved;
}

}  // namespace jwcount
