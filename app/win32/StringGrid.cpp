#include "StringGrid.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "CountTable.h"
#include "GridModel.h"
#include "WinText.h"

namespace jwcount {
namespace {

constexpr wchar_t kGridClass[] = L"TStringGrid";
constexpr int kTextInset = 2;  // text starts this far from a cell's left edge
constexpr int kWheelRows = 3;  // rows per wheel notch

enum class Drag { kNone, kSelecting, kResizing };

// One grid: its table, its geometry and selection, and what the mouse is doing.
struct StringGrid {
  HWND hwnd = nullptr;
  const CountTable* table = nullptr;
  HFONT font = nullptr;
  GridModel model;
  Drag drag = Drag::kNone;
  int resizeColumn = -1;
  int wheelDelta = 0;

  StringGrid(const CountTable& t, HFONT f)
      : table(&t),
        font(f),
        model(CountTable::kColumns, t.RowCount(), kGridDefaultColumnWidth, kGridRowHeight) {}
};

// --- Scroll bars ---

void UpdateScrollBars(StringGrid& grid) {
  const GridModel& m = grid.model;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  // Positions count scrolling rows from 0; the page is chosen so that the largest position the bar
  // allows (max - page + 1) is the largest top row.
  info.nMin = 0;
  info.nMax = m.RowCount() - 2;
  info.nPage = static_cast<UINT>(m.RowCount() - m.MaxTopRow());
  info.nPos = m.TopRow() - 1;
  SetScrollInfo(grid.hwnd, SB_VERT, &info, TRUE);
  info.nMax = m.ColumnCount() - 2;
  info.nPage = static_cast<UINT>(m.ColumnCount() - m.MaxLeftColumn());
  info.nPos = m.LeftColumn() - 1;
  SetScrollInfo(grid.hwnd, SB_HORZ, &info, TRUE);
}

// Redraws after the view or the selection changed.
void Changed(StringGrid& grid) {
  UpdateScrollBars(grid);
  InvalidateRect(grid.hwnd, nullptr, FALSE);
}

// The new first position for a scroll-bar action; pageSize is the number of whole rows or columns shown.
int ScrollTarget(HWND hwnd, int bar, int code, int current, int pageSize) {
  switch (code) {
    case SB_LINEUP:
      return current - 1;
    case SB_LINEDOWN:
      return current + 1;
    case SB_PAGEUP:
      return current - pageSize;
    case SB_PAGEDOWN:
      return current + pageSize;
    case SB_TOP:
      return 1;
    case SB_BOTTOM:
      return INT_MAX / 2;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the 16 bits of the message would cut 30004 rows short.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, bar, &info);
      return info.nTrackPos + 1;
    }
    default:
      return current;
  }
}

void OnVScroll(StringGrid& grid, int code) {
  GridModel& m = grid.model;
  m.ScrollToRow(ScrollTarget(grid.hwnd, SB_VERT, code, m.TopRow(), m.FullyVisibleRows()));
  Changed(grid);
}

void OnHScroll(StringGrid& grid, int code) {
  GridModel& m = grid.model;
  m.ScrollToColumn(ScrollTarget(grid.hwnd, SB_HORZ, code, m.LeftColumn(), m.FullyVisibleColumns()));
  Changed(grid);
}

// --- Painting ---

void FillArea(HDC dc, int left, int top, int width, int height, COLORREF colour) {
  SetBkColor(dc, colour);
  const RECT rect{left, top, left + width, top + height};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void PaintCell(const StringGrid& grid, HDC dc, int column, int row, int x, int y, bool focused) {
  const GridModel& m = grid.model;
  const int width = m.ColumnWidth(column);
  const int height = m.RowHeight();
  const bool fixed = column == 0 || row == 0;
  const bool cursor = GridCell{column, row} == m.Cursor();
  const bool highlighted = !fixed && m.IsSelected(column, row) && !(cursor && focused);
  COLORREF back = GetSysColor(COLOR_WINDOW);
  COLORREF fore = GetSysColor(COLOR_WINDOWTEXT);
  if (fixed) {
    back = GetSysColor(COLOR_BTNFACE);
    fore = GetSysColor(COLOR_BTNTEXT);
  } else if (highlighted) {
    back = GetSysColor(COLOR_HIGHLIGHT);
    fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  RECT rect{x, y, x + width, y + height};
  FillArea(dc, x, y, width, height, back);
  const std::wstring text = Widen(grid.table->CellText(column, row));
  if (!text.empty()) {
    SetTextColor(dc, fore);
    RECT textRect{x + kTextInset, y, x + width, y + height};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (!fixed && cursor && focused) DrawFocusRect(dc, &rect);
  // The grid lines right of and below the cell; fixed cells get the darker line.
  const COLORREF line = fixed ? GetSysColor(COLOR_BTNSHADOW) : RGB(192, 192, 192);
  FillArea(dc, x + width, y, kGridLineWidth, height + kGridLineWidth, line);
  FillArea(dc, x, y + height, width + kGridLineWidth, kGridLineWidth, line);
}

// Paints one row of visible cells: the fixed column, then the scrolling ones up to the right edge.
void PaintRow(const StringGrid& grid, HDC dc, int row, int y, int viewWidth, bool focused) {
  const GridModel& m = grid.model;
  PaintCell(grid, dc, 0, row, 0, y, focused);
  int x = m.ColumnWidth(0) + kGridLineWidth;
  for (int column = m.LeftColumn(); column < m.ColumnCount() && x < viewWidth; ++column) {
    PaintCell(grid, dc, column, row, x, y, focused);
    x += m.ColumnWidth(column) + kGridLineWidth;
  }
  if (x < viewWidth)
    FillArea(dc, x, y, viewWidth - x, m.RowHeight() + kGridLineWidth, GetSysColor(COLOR_WINDOW));
}

void OnPaint(StringGrid& grid) {
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(grid.hwnd, &ps);
  RECT client;
  GetClientRect(grid.hwnd, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width > 0 && height > 0) {
    // Drawn off screen first, so that scrolling never flickers.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, grid.font);
    SetBkMode(dc, TRANSPARENT);
    const bool focused = GetFocus() == grid.hwnd;
    const GridModel& m = grid.model;
    const int pitch = m.RowHeight() + kGridLineWidth;
    PaintRow(grid, dc, 0, 0, width, focused);
    int y = pitch;
    for (int row = m.TopRow(); row < m.RowCount() && y < height; ++row, y += pitch) {
      PaintRow(grid, dc, row, y, width, focused);
    }
    if (y < height) FillArea(dc, 0, y, width, height - y, GetSysColor(COLOR_WINDOW));
    BitBlt(screen, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  EndPaint(grid.hwnd, &ps);
}

// --- Selection text and clipboard ---

std::wstring SelectionText(const StringGrid& grid) {
  return Widen(RangeText(*grid.table, grid.model.Selection()));
}

void CopySelection(const StringGrid& grid) {
  const std::wstring text = SelectionText(grid);
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return;
  if (void* target = GlobalLock(memory); target != nullptr) {
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
  }
  if (OpenClipboard(grid.hwnd)) {
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) memory = nullptr;  // the clipboard owns it now
    CloseClipboard();
  }
  if (memory != nullptr) GlobalFree(memory);
}

LRESULT OnGetText(const StringGrid& grid, WPARAM capacity, wchar_t* buffer) {
  if (buffer == nullptr || capacity == 0) return 0;
  const std::wstring text = SelectionText(grid);
  const std::size_t length = std::min<std::size_t>(text.size(), capacity - 1);
  std::wmemcpy(buffer, text.c_str(), length);
  buffer[length] = L'\0';
  return static_cast<LRESULT>(length);
}

// --- Keyboard ---

bool KeyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

void OnKeyDown(StringGrid& grid, WPARAM key) {
  GridModel& m = grid.model;
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  const int page = m.FullyVisibleRows();
  switch (key) {
    case VK_LEFT:
      m.MoveCursor(-1, 0, shift);
      break;
    case VK_RIGHT:
      m.MoveCursor(1, 0, shift);
      break;
    case VK_UP:
      m.MoveCursor(0, -1, shift);
      break;
    case VK_DOWN:
      m.MoveCursor(0, 1, shift);
      break;
    case VK_PRIOR:
      m.ScrollToRow(m.TopRow() - page);
      m.MoveCursor(0, -page, shift);
      break;
    case VK_NEXT:
      m.ScrollToRow(m.TopRow() + page);
      m.MoveCursor(0, page, shift);
      break;
    case VK_HOME:
      m.MoveCursor(-INT_MAX, control ? -INT_MAX : 0, shift);
      break;
    case VK_END:
      m.MoveCursor(INT_MAX, control ? INT_MAX : 0, shift);
      break;
    case 'A':
      if (!control) return;
      m.SelectAll();
      break;
    case 'C':
    case VK_INSERT:
      if (control) CopySelection(grid);
      return;
    default:
      return;
  }
  Changed(grid);
}

// --- Mouse ---

void OnLButtonDown(StringGrid& grid, int x, int y) {
  SetFocus(grid.hwnd);
  GridModel& m = grid.model;
  if (const int column = m.ResizeBorderAt(x, y); column >= 0) {
    grid.drag = Drag::kResizing;
    grid.resizeColumn = column;
    SetCapture(grid.hwnd);
    return;
  }
  const GridCell cell = m.CellAt(x, y);
  if (cell.Column < 1 || cell.Row < 1) return;  // header cells and the empty area select nothing
  m.Select(cell, KeyDown(VK_SHIFT));
  grid.drag = Drag::kSelecting;
  SetCapture(grid.hwnd);
  Changed(grid);
}

void OnMouseMove(StringGrid& grid, int x, int y) {
  GridModel& m = grid.model;
  if (grid.drag == Drag::kResizing) {
    m.SetColumnWidth(grid.resizeColumn, x - m.ColumnX(grid.resizeColumn));
    Changed(grid);
  } else if (grid.drag == Drag::kSelecting) {
    // Past an edge of the view the selection runs one cell further and the view follows.
    const GridCell cell = m.ScrollingCellNear(x, y);
    if (cell == m.Cursor()) return;
    m.Select(cell, true);
    m.ScrollIntoView(cell);
    Changed(grid);
  }
}

bool OnSetCursor(const StringGrid& grid) {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(grid.hwnd, &point);
  if (grid.drag != Drag::kResizing && grid.model.ResizeBorderAt(point.x, point.y) < 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return true;
}

void OnMouseWheel(StringGrid& grid, int delta) {
  grid.wheelDelta += delta;
  const int notches = grid.wheelDelta / WHEEL_DELTA;
  if (notches == 0) return;
  grid.wheelDelta -= notches * WHEEL_DELTA;
  grid.model.ScrollToRow(grid.model.TopRow() - notches * kWheelRows);
  Changed(grid);
}

void OnSetSelection(StringGrid& grid, WPARAM anchor, LPARAM cursor) {
  GridModel& m = grid.model;
  m.SelectRange({LOWORD(anchor), HIWORD(anchor)}, {LOWORD(cursor), HIWORD(cursor)});
  m.ScrollIntoView(m.Cursor());
  Changed(grid);
}

LRESULT HandleMessage(StringGrid& grid, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(grid);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      grid.model.SetViewSize(LOWORD(lParam), HIWORD(lParam));
      Changed(grid);
      return 0;
    case WM_VSCROLL:
      OnVScroll(grid, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(grid, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(grid, GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(grid, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(grid, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == grid.hwnd) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      grid.drag = Drag::kNone;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && OnSetCursor(grid)) return TRUE;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(grid.hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      OnKeyDown(grid, wParam);
      return 0;
    case WM_COPY:
      CopySelection(grid);
      return 0;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(SelectionText(grid).size());
    case WM_GETTEXT:
      return OnGetText(grid, wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_SETTEXT:
      return FALSE;  // read-only
    case kGridSetSelection:
      OnSetSelection(grid, wParam, lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(grid.hwnd, message, wParam, lParam);
}

struct CreateParams {
  const CountTable* table;
  HFONT font;
};

LRESULT CALLBACK GridProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* grid = reinterpret_cast<StringGrid*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const auto* params = static_cast<const CreateParams*>(create->lpCreateParams);
    grid = new (std::nothrow) StringGrid(*params->table, params->font);
    if (grid == nullptr) return FALSE;
    grid->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(grid));
  }
  if (grid == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete grid;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return HandleMessage(*grid, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);  // out of memory while building a text
  }
}

}  // namespace

void RegisterStringGrid(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = GridProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kGridClass;
  RegisterClassExW(&windowClass);
}

HWND CreateStringGrid(HWND parent, int id, const CountTable& table, HFONT font) {
  CreateParams params{&table, font};
  return CreateWindowExW(WS_EX_CLIENTEDGE, kGridClass, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), &params);
}

void RefreshStringGrid(HWND grid) {
  InvalidateRect(grid, nullptr, FALSE);
}

}  // namespace jwcount
