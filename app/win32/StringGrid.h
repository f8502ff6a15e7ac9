// The string grid: one custom virtual control that shows a CountTable cell for cell. Only the visible
// cells are drawn, straight from the table, so even 30004 rows appear at once and scroll smoothly.
// Fixed header row and column, grid lines, range selection by mouse and keyboard, column resizing by
// dragging the lines of the header row, thumb tracking; read-only. Ctrl+A selects the whole table with its
// heads and labels.
//
// Messages beyond the usual ones:
//   WM_GETTEXT / WM_GETTEXTLENGTH  the selected range as tab-separated text, rows ending in CR LF
//   WM_COPY (and Ctrl+C, Ctrl+Insert) puts that text on the clipboard as Unicode text
//   kGridSetSelection              wParam = MAKEWPARAM(column, row) of the anchor, lParam = MAKELPARAM
//                                  of the cursor; selects that range (header cells allowed) and
//                                  scrolls the cursor into view
#pragma once

#include <windows.h>

namespace jwcount {

class CountTable;

inline constexpr UINT kGridSetSelection = WM_APP + 1;
inline constexpr int kGridDefaultColumnWidth = 48;
inline constexpr int kGridRowHeight = 18;

// Registers the window class once per process.
void RegisterStringGrid(HINSTANCE instance);
// The table must outlive the control.
HWND CreateStringGrid(HWND parent, int id, const CountTable& table, HFONT font);
// Redraws the grid after its table has changed.
void RefreshStringGrid(HWND grid);

}  // namespace jwcount
