// The main window's place on the screen, as the placement file keeps it.
#pragma once

#include <windows.h>

#include <filesystem>

#include "app/view/Placement.h"

namespace jwcount {

// Moves and sizes the window as stored, except that a window that would lie on no monitor at all is shown
// on the nearest one instead.
void ApplyPlacement(HWND window, const WindowPlacement& placement);

// The window's bounds on the screen; for a minimised window those it has when restored.
WindowPlacement WindowBounds(HWND window);

// Places the window as the placement file beside the program at programPath keeps it, raised to the
// minimums at the DPI; without a placement file, at the defaults scaled to the DPI (PlacementAtDpi).
void RestorePlacement(HWND window, const std::filesystem::path& programPath, UINT dpi);
// Keeps the window's bounds (no smaller than the least it is shown at) in the placement file beside the
// program at programPath.
void KeepPlacement(HWND window, const std::filesystem::path& programPath);

}  // namespace jwcount
