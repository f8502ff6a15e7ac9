// The string grid: one custom virtual control that shows a GridSource cell for cell (a count table, the
// block list). Only the visible cells are drawn, straight from the source, so even 30004 or 100,000 rows
// appear at once and scroll smoothly. Fixed head rows and columns, grid lines, range selection by mouse and
// keyboard, column resizing by dragging the lines of the head row, thumb tracking; read-only. Ctrl+A
// selects the whole table with its heads and labels. A head shows the source's sort mark (▲ ▼); a row
// head shows the source's tip for it when the mouse rests on it.
//
// Messages beyond the usual ones:
//   WM_GETTEXT / WM_GETTEXTLENGTH  the selected range as tab-separated text, rows ending in CR LF
//   WM_COPY (and Ctrl+C, Ctrl+Insert) puts that text on the clipboard as Unicode text
//   kGridSetSelection              wParam = MAKEWPARAM(column, row) of the anchor, lParam = MAKELPARAM
//                                  of the cursor; selects that range (header cells allowed) and
//                                  scrolls the cursor into view. Each number is a signed 16-bit value;
//                                  a negative one counts from the end (-1 the last row or column).
//   kGridSelectAll                 selects every cell, as Ctrl+A does
//   kGridGetRowHeight              the height of a row in pixels, grid line left out
// Notifications (WM_NOTIFY to the parent):
//   kGridHeadClick                 a click on a cell of the head row (GridHeadClick), for sorting
// A right click selects the cell under the mouse unless it lies in the selection, then asks the parent for
// the context menu (WM_CONTEXTMENU); opened from the keyboard, the menu's point is below the cursor cell.
#pragma once

#include <windows.h>

namespace jwcount {

class GridSource;

inline constexpr UINT kGridSetSelection = WM_APP + 1;
inline constexpr UINT kGridSelectAll = WM_APP + 2;
inline constexpr UINT kGridGetRowHeight = WM_APP + 3;
inline constexpr UINT kGridHeadClick = 1;
// At 96 DPI; a grid scales them to the DPI of its window.
inline constexpr int kGridDefaultColumnWidth = 48;
inline constexpr int kGridRowHeight = 18;

struct GridHeadClick {
  NMHDR Header;
  int Column;
};

// Registers the window class once per process.
void RegisterStringGrid(HINSTANCE instance);
// The source must outlive the control.
HWND CreateStringGrid(HWND parent, int id, const GridSource& source, HFONT font);
// Redraws the grid after its source has changed, taking its new number of rows.
void RefreshStringGrid(HWND grid);
// The grid shows another source, which may have other columns: they start at the default width, scrolled to
// the top left, nothing selected. The source must outlive the control, or be replaced again first.
void SetStringGridSource(HWND grid, const GridSource& source);
// The selection as a new grid has it (after a count): nothing chosen, the cursor on the first cell.
void ResetStringGridSelection(HWND grid);
// The first and last row of the selection the user made (mouse, keys, Ctrl+A or kGridSetSelection), false
// while none has been made: the cursor's place alone selects nothing.
bool StringGridSelectedRows(HWND grid, int& first, int& last);
// Sets a column's width in pixels at the grid's DPI.
void SetStringGridColumnWidth(HWND grid, int column, int width);
// Widens every column whose head texts do not fit in it with a sort mark beside them (for heads that
// change with what the source shows); never narrows a column.
void WidenStringGridToHeads(HWND grid);
// The window moved to a screen of another DPI: every column and row scaled to it, and the font made for it.
void SetStringGridDpi(HWND grid, UINT dpi, HFONT font);

}  // namespace jwcount
