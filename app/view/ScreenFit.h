// Keeps a window where somebody can see it: a stored position that lies on no monitor any more (a monitor
// was unplugged, the resolution went down) is moved onto the nearest monitor.
#pragma once

#include <cstdint>
#include <span>

namespace jwcount {

// A rectangle in screen pixels; Right and Bottom lie just outside it.
struct ScreenRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// The window's rectangle unchanged when it shares at least one pixel with one of the work areas;
// otherwise moved, at the same size, into the work area nearest to it (as far in as its size allows,
// its top-left corner kept inside). With no work areas it is returned unchanged.
ScreenRect KeepOnScreen(const ScreenRect& window, std::span<const ScreenRect> workAreas);

}  // namespace jwcount
