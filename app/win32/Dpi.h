// The window's scale. Every size of the window is designed in pixels at 96 DPI (the 13-pixel font, the
// controls, the grid's rows and columns) and scaled to the DPI of the monitor the window is on, so that
// text and lines stay sharp on a screen of 125 to 200 % instead of being stretched as a bitmap.
#pragma once

#include <windows.h>

#include "app/view/Placement.h"

namespace jwcount {

// A size designed at 96 DPI, in pixels at the DPI.
inline int Scaled(int designPixels, UINT dpi) {
  return ScaledToDpi(designPixels, static_cast<int32_t>(dpi));
}

// The DPI a window is drawn at: its monitor's where Windows has per-monitor DPI (Windows 10 1607 on),
// else the system's.
UINT WindowDpi(HWND window);

// The window's one font at a DPI: ＭＳ ゴシック, 13 pixels high at 96 DPI.
HFONT CreateFormFont(UINT dpi);

}  // namespace jwcount
