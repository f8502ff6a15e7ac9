// The main window's place on the screen, as the placement file keeps it.
#pragma once

#include <windows.h>

#include "app/view/Placement.h"

namespace jwcount {

// Moves and sizes the window as stored, except that a window that would lie on no monitor at all is shown
// on the nearest one instead.
void ApplyPlacement(HWND window, const WindowPlacement& placement);

// The window's bounds on the screen; for a minimised window those it has when restored.
WindowPlacement WindowBounds(HWND window);

}  // namespace jwcount
