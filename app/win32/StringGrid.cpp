#include "app/win32/StringGrid.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "app/view/GridModel.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"
#include "report/GridSource.h"

namespace jwcount {
namespace {

constexpr wchar_t kGridClass[] = L"TStringGrid";
constexpr int kTextInset = 2;  // text starts this far from a cell's left edge
constexpr int kWheelRows = 3;  // rows per wheel notch
// A cell shows at most this much of its text: more never fits on a screen, and a name of 100,000 bytes
// would otherwise be converted and measured whole for every paint.
constexpr std::size_t kShownBytes = 2048;
// A tip shows at most this many characters, wrapped at kTipWidth pixels.
constexpr std::size_t kTipCharacters = 512;
constexpr int kTipWidth = 480;
constexpr UINT_PTR kTipTool = 1;
constexpr wchar_t kAscending[] = L"▲";
constexpr wchar_t kDescending[] = L"▼";

enum class Drag { kNone, kSelecting, kResizing };

// One grid: its source, its geometry and selection, what the mouse is doing, and the tip of a row head.
struct StringGrid {
  HWND hwnd = nullptr;
  const GridSource* source = nullptr;
  HFONT font = nullptr;
  UINT dpi = 96;  // the sizes below are scaled to it
  GridModel model;
  Drag drag = Drag::kNone;
  int resizeColumn = -1;
  int wheelDelta = 0;
  HWND tooltip = nullptr;  // made when a row head first has a tip
  int tipRow = -1;         // the row whose head the mouse is over, -1 for none

  StringGrid(HWND h, const GridSource& s, HFONT f, UINT d)
      : hwnd(h),
        source(&s),
        font(f),
        dpi(d),
        model(s.ColumnCount(), s.RowCount(), Scaled(kGridDefaultColumnWidth, d), Scaled(kGridRowHeight, d),
              s.FixedColumns(), s.FixedRows()) {}
  int TextInset() const { return Scaled(kTextInset, dpi); }

  static StringGrid* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(StringGrid* grid);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
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
  info.nMax = m.RowCount() - m.FixedRows() - 1;
  info.nPage = static_cast<UINT>(m.RowCount() - m.MaxTopRow());
  info.nPos = m.TopRow() - m.FixedRows();
  SetScrollInfo(grid.hwnd, SB_VERT, &info, TRUE);
  info.nMax = m.ColumnCount() - m.FixedColumns() - 1;
  info.nPage = static_cast<UINT>(m.ColumnCount() - m.MaxLeftColumn());
  info.nPos = m.LeftColumn() - m.FixedColumns();
  SetScrollInfo(grid.hwnd, SB_HORZ, &info, TRUE);
}

// Redraws after the view or the selection changed.
void Changed(StringGrid& grid) {
  UpdateScrollBars(grid);
  InvalidateRect(grid.hwnd, nullptr, FALSE);
}

// The new first position for a scroll-bar action; pageSize is the number of whole rows or columns shown,
// first the first scrolling one.
int ScrollTarget(HWND hwnd, int bar, int code, int current, int pageSize, int first) {
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
      return first;
    case SB_BOTTOM:
      return INT_MAX / 2;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the 16 bits of the message would cut 30004 rows short.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, bar, &info);
      return info.nTrackPos + first;
    }
    default:
      return current;
  }
}

void OnVScroll(StringGrid& grid, int code) {
  GridModel& m = grid.model;
  m.ScrollToRow(ScrollTarget(grid.hwnd, SB_VERT, code, m.TopRow(), m.FullyVisibleRows(), m.FixedRows()));
  Changed(grid);
}

void OnHScroll(StringGrid& grid, int code) {
  GridModel& m = grid.model;
  m.ScrollToColumn(
      ScrollTarget(grid.hwnd, SB_HORZ, code, m.LeftColumn(), m.FullyVisibleColumns(), m.FixedColumns()));
  Changed(grid);
}

// --- Painting ---

void FillArea(HDC dc, int left, int top, int width, int height, COLORREF colour) {
  SetBkColor(dc, colour);
  const RECT rect{left, top, left + width, top + height};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

bool IsFixed(const GridModel& m, int column, int row) {
  return column < m.FixedColumns() || row < m.FixedRows();
}

void PaintCell(const StringGrid& grid, HDC dc, int column, int row, int x, int y, bool focused) {
  const GridModel& m = grid.model;
  const int width = m.ColumnWidth(column);
  const int height = m.RowHeight();
  const bool fixed = IsFixed(m, column, row);
  const bool cursor = GridCell{column, row} == m.Cursor();
  const bool highlighted = !fixed && m.SelectionMade() && m.IsSelected(column, row) && !(cursor && focused);
  COLORREF back = GetSysColor(COLOR_WINDOW);
  COLORREF fore = GetSysColor(COLOR_WINDOWTEXT);
  if (fixed) {
    back = GetSysColor(COLOR_BTNFACE);
    fore = GetSysColor(COLOR_BTNTEXT);
  } else if (highlighted) {
    back = GetSysColor(COLOR_HIGHLIGHT);
    fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  // A cell that stands in for a text that cannot be seen is grey, unless the selection colours it.
  if (!fixed && !highlighted && grid.source->Dimmed(column, row)) fore = GetSysColor(COLOR_GRAYTEXT);
  RECT rect{x, y, x + width, y + height};
  FillArea(dc, x, y, width, height, back);
  SetTextColor(dc, fore);
  RECT textRect{x + grid.TextInset(), y, x + width, y + height};
  // A head the source is sorted by shows the direction at its right end; the text keeps clear of it.
  if (const int mark = row < m.FixedRows() ? grid.source->SortMark(column) : 0; mark != 0) {
    RECT markRect{x, y, x + width - grid.TextInset(), y + height};
    const wchar_t* symbol = mark > 0 ? kAscending : kDescending;
    DrawTextW(dc, symbol, 1, &markRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    SIZE size{};
    GetTextExtentPoint32W(dc, symbol, 1, &size);
    textRect.right = std::max(textRect.left, markRect.right - size.cx - grid.TextInset());
  }
  // Figures below the heads stand at the right edge, as far from it as other texts are from the left.
  UINT align = DT_LEFT;
  if (row >= m.FixedRows() && grid.source->RightAligned(column)) {
    align = DT_RIGHT;
    textRect.right = std::max(textRect.left, textRect.right - grid.TextInset());
  }
  const std::string text = grid.source->ShownText(column, row);
  if (!text.empty()) {
    const std::wstring shown = Widen(std::string_view(text).substr(0, kShownBytes));
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
  }
  if (!fixed && cursor && focused) DrawFocusRect(dc, &rect);
  // The grid lines right of and below the cell; fixed cells get the darker line.
  const COLORREF line = fixed ? GetSysColor(COLOR_BTNSHADOW) : RGB(192, 192, 192);
  FillArea(dc, x + width, y, kGridLineWidth, height + kGridLineWidth, line);
  FillArea(dc, x, y + height, width + kGridLineWidth, kGridLineWidth, line);
}

// Paints one row of visible cells: the fixed columns, then the scrolling ones up to the right edge.
void PaintRow(const StringGrid& grid, HDC dc, int row, int y, int viewWidth, bool focused) {
  const GridModel& m = grid.model;
  for (int column = 0; column < m.FixedColumns(); ++column) {
    PaintCell(grid, dc, column, row, m.ColumnX(column), y, focused);
  }
  int x = m.ColumnX(m.LeftColumn());
  for (int column = m.LeftColumn(); column < m.ColumnCount() && x < viewWidth; ++column) {
    PaintCell(grid, dc, column, row, x, y, focused);
    x += m.ColumnWidth(column) + kGridLineWidth;
  }
  if (x < viewWidth)
    FillArea(dc, x, y, viewWidth - x, m.RowHeight() + kGridLineWidth, GetSysColor(COLOR_WINDOW));
}

// Paints the whole view into dc, which is width x height.
void PaintView(const StringGrid& grid, HDC dc, int width, int height) {
  SetBkMode(dc, TRANSPARENT);
  const bool focused = GetFocus() == grid.hwnd;
  const GridModel& m = grid.model;
  const int pitch = m.RowHeight() + kGridLineWidth;
  int y = 0;
  for (int row = 0; row < m.FixedRows(); ++row, y += pitch) PaintRow(grid, dc, row, y, width, focused);
  for (int row = m.TopRow(); row < m.RowCount() && y < height; ++row, y += pitch) {
    PaintRow(grid, dc, row, y, width, focused);
  }
  if (y < height) FillArea(dc, 0, y, width, height - y, GetSysColor(COLOR_WINDOW));
}

void OnPaint(const StringGrid& grid) {
  PaintScope paint(grid.hwnd);
  RECT client;
  GetClientRect(grid.hwnd, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  // Drawn off screen first, so that scrolling never flickers.
  MemoryDc memory(paint.Dc());
  const Bitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  ScopedSelectObject selectBitmap(memory.Dc(), bitmap.Get());
  ScopedSelectObject selectFont(memory.Dc(), grid.font);
  PaintView(grid, memory.Dc(), width, height);
  BitBlt(paint.Dc(), 0, 0, width, height, memory.Dc(), 0, 0, SRCCOPY);
}

void OnSize(StringGrid& grid, int width, int height) {
  grid.model.SetViewSize(width, height);
  Changed(grid);
}

// --- Selection text and clipboard ---

std::wstring SelectionText(const StringGrid& grid) {
  return Widen(RangeText(*grid.source, grid.model.Selection()));
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

void OnKeyDown(StringGrid& grid, WPARAM key) {
  GridModel& m = grid.model;
  const bool shift = KeyIsDown(VK_SHIFT);
  const bool control = KeyIsDown(VK_CONTROL);
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

// --- Row-head tips ---

// The tip window, made on first need: shown on resting the mouse, also while the window is inactive.
void MakeTooltip(StringGrid& grid) {
  grid.tooltip = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, grid.hwnd, nullptr, InstanceOf(grid.hwnd), nullptr);
  if (grid.tooltip == nullptr) return;
  SetControlFont(grid.tooltip, grid.font);
  SendMessageW(grid.tooltip, TTM_SETMAXTIPWIDTH, 0, Scaled(kTipWidth, grid.dpi));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = grid.hwnd;
  tool.uId = kTipTool;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(grid.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// One tool follows the mouse from row head to row head: its rectangle is the head under the mouse when
// that row has a tip, and empty (so nothing shows) when it has none.
void FollowRowHeads(StringGrid& grid, int x, int y) {
  const GridModel& m = grid.model;
  const GridCell cell = m.CellAt(x, y);
  const bool onRowHead = cell.Column >= 0 && cell.Column < m.FixedColumns() && cell.Row >= m.FixedRows();
  const int row = onRowHead ? cell.Row : -1;
  if (row == grid.tipRow) return;
  grid.tipRow = row;
  const std::string_view tip = row >= 0 ? grid.source->RowTip(row) : std::string_view();
  if (grid.tooltip == nullptr) {
    if (tip.empty()) return;
    MakeTooltip(grid);
    if (grid.tooltip == nullptr) return;
  }
  std::wstring text = Widen(tip.substr(0, kTipCharacters * 2));
  if (text.size() > kTipCharacters) text.replace(kTipCharacters, std::wstring::npos, L"…");
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = grid.hwnd;
  tool.uId = kTipTool;
  if (!tip.empty()) {
    const int left = m.ColumnX(cell.Column);
    const int top = m.RowY(cell.Row);
    tool.rect = {left, top, left + m.ColumnWidth(cell.Column), top + m.RowHeight()};
  }
  tool.lpszText = text.data();
  SendMessageW(grid.tooltip, TTM_POP, 0, 0);
  SendMessageW(grid.tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(grid.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The tip window sees the mouse through the grid: it times the rest and hides itself when the mouse goes.
void RelayToTooltip(const StringGrid& grid, UINT message, WPARAM wParam, LPARAM lParam) {
  if (grid.tooltip == nullptr) return;
  MSG msg{};
  msg.hwnd = grid.hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetMessageTime();
  const DWORD position = GetMessagePos();
  msg.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  SendMessageW(grid.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

// --- Mouse ---

void NotifyHeadClick(const StringGrid& grid, int column) {
  GridHeadClick click{};
  click.Header.hwndFrom = grid.hwnd;
  click.Header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(grid.hwnd));
  click.Header.code = kGridHeadClick;
  click.Column = column;
  SendMessageW(GetParent(grid.hwnd), WM_NOTIFY, click.Header.idFrom, reinterpret_cast<LPARAM>(&click));
}

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
  if (cell.Row >= 0 && cell.Row < m.FixedRows()) {
    NotifyHeadClick(grid, cell.Column);
    return;
  }
  if (IsFixed(m, cell.Column, cell.Row)) return;  // row heads and the empty area select nothing
  m.Select(cell, KeyIsDown(VK_SHIFT));
  grid.drag = Drag::kSelecting;
  SetCapture(grid.hwnd);
  Changed(grid);
}

// A right click on a cell outside the selection selects that cell, so the menu acts on what was clicked.
void OnRButtonDown(StringGrid& grid, int x, int y) {
  SetFocus(grid.hwnd);
  GridModel& m = grid.model;
  const GridCell cell = m.CellAt(x, y);
  if (IsFixed(m, cell.Column, cell.Row) || (m.SelectionMade() && m.IsSelected(cell.Column, cell.Row))) return;
  m.Select(cell, false);
  Changed(grid);
}

// The menu is the parent's: it is asked for it at the screen point of the click, or below the cursor cell
// when the menu was opened from the keyboard (x and y both -1).
void OnContextMenu(const StringGrid& grid, int x, int y) {
  POINT at{x, y};
  if (x == -1 && y == -1) {
    const GridModel& m = grid.model;
    RECT client;
    GetClientRect(grid.hwnd, &client);
    at.x = std::clamp(m.ColumnX(m.Cursor().Column) + grid.TextInset(), 0, static_cast<int>(client.right));
    at.y = std::clamp(m.RowY(m.Cursor().Row) + m.RowHeight(), 0, static_cast<int>(client.bottom));
    ClientToScreen(grid.hwnd, &at);
  }
  SendMessageW(GetParent(grid.hwnd), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(grid.hwnd),
               MAKELPARAM(static_cast<SHORT>(at.x), static_cast<SHORT>(at.y)));
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
  } else {
    FollowRowHeads(grid, x, y);
  }
}

void OnLButtonUp(const StringGrid& grid) {
  if (GetCapture() == grid.hwnd) ReleaseCapture();
}

void OnCaptureChanged(StringGrid& grid) {
  grid.drag = Drag::kNone;
}

// True over a column border of the head row and while a column is resized.
bool WantsResizeCursor(const StringGrid& grid) {
  if (grid.drag == Drag::kResizing) return true;
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(grid.hwnd, &point);
  return grid.model.ResizeBorderAt(point.x, point.y) >= 0;
}

LRESULT OnSetCursor(const StringGrid& grid, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT || !WantsResizeCursor(grid))
    return DefWindowProcW(grid.hwnd, WM_SETCURSOR, wParam, lParam);
  SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return TRUE;
}

void OnMouseWheel(StringGrid& grid, int delta) {
  grid.wheelDelta += delta;
  const int notches = grid.wheelDelta / WHEEL_DELTA;
  if (notches == 0) return;
  grid.wheelDelta -= notches * WHEEL_DELTA;
  grid.model.ScrollToRow(grid.model.TopRow() - notches * kWheelRows);
  Changed(grid);
}

// A cell given as two signed 16-bit numbers; a negative one counts from the end.
GridCell CellFrom(const GridModel& m, WPARAM packed) {
  const auto column = static_cast<short>(LOWORD(packed));
  const auto row = static_cast<short>(HIWORD(packed));
  return {column < 0 ? m.ColumnCount() + column : column, row < 0 ? m.RowCount() + row : row};
}

void OnSetSelection(StringGrid& grid, WPARAM anchor, LPARAM cursor) {
  GridModel& m = grid.model;
  m.SelectRange(CellFrom(m, anchor), CellFrom(m, static_cast<WPARAM>(cursor)));
  m.ScrollIntoView(m.Cursor());
  Changed(grid);
}

void OnSelectAll(StringGrid& grid) {
  grid.model.SelectAll();
  Changed(grid);
}

// The focus cell is drawn only while the grid has the focus.
void OnFocusChanged(const StringGrid& grid) {
  InvalidateRect(grid.hwnd, nullptr, FALSE);
}

struct CreateParams {
  const GridSource* source;
  HFONT font;
};

StringGrid* StringGrid::Attach(HWND hwnd, const CREATESTRUCTW& create) {
  const auto& params = *static_cast<const CreateParams*>(create.lpCreateParams);
  return new (std::nothrow) StringGrid(hwnd, *params.source, params.font, WindowDpi(hwnd));
}

void StringGrid::Detach(StringGrid* grid) {
  if (grid->tooltip != nullptr) DestroyWindow(grid->tooltip);
  delete grid;
}

LRESULT StringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(*this);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      OnSize(*this, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_VSCROLL:
      OnVScroll(*this, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(*this, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(*this, GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      RelayToTooltip(*this, message, wParam, lParam);
      OnLButtonDown(*this, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      RelayToTooltip(*this, message, wParam, lParam);
      OnRButtonDown(*this, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(*this, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      RelayToTooltip(*this, message, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      RelayToTooltip(*this, message, wParam, lParam);
      OnLButtonUp(*this);
      return 0;
    case WM_RBUTTONUP:
      RelayToTooltip(*this, message, wParam, lParam);
      return DefWindowProcW(hwnd, message, wParam, lParam);  // which sends WM_CONTEXTMENU
    case WM_CONTEXTMENU:
      OnContextMenu(*this, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(*this);
      return 0;
    case WM_SETCURSOR:
      return OnSetCursor(*this, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocusChanged(*this);
      return 0;
    case WM_GETDLGCODE:  // the letters typed are the grid's, never a button's mnemonic
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      OnKeyDown(*this, wParam);
      return 0;
    case WM_COPY:
      CopySelection(*this);
      return 0;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(SelectionText(*this).size());
    case WM_GETTEXT:
      return OnGetText(*this, wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_SETTEXT:
      return FALSE;  // read-only
    case kGridSetSelection:
      OnSetSelection(*this, wParam, lParam);
      return 0;
    case kGridSelectAll:
      OnSelectAll(*this);
      return 0;
    case kGridGetRowHeight:
      return model.RowHeight();
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

StringGrid* GridOf(HWND hwnd) {
  return reinterpret_cast<StringGrid*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

void RegisterStringGrid(HINSTANCE instance) {
  // No double clicks: every click counts as a click of its own, so that a quick second click on a head
  // turns the order round instead of being swallowed.
  RegisterWindowClass<StringGrid>(instance, kGridClass, {.Cursor = ArrowCursor()});
}

HWND CreateStringGrid(HWND parent, int id, const GridSource& source, HFONT font) {
  CreateParams params{&source, font};
  return CreateWindowExW(WS_EX_CLIENTEDGE, kGridClass, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, parent,
                         ControlId(id), InstanceOf(parent), &params);
}

void RefreshStringGrid(HWND hwnd) {
  if (StringGrid* grid = GridOf(hwnd); grid != nullptr) {
    grid->model.SetRowCount(grid->source->RowCount());
    grid->tipRow = -1;
    Changed(*grid);
  }
}

void SetStringGridSource(HWND hwnd, const GridSource& source) {
  StringGrid* grid = GridOf(hwnd);
  if (grid == nullptr) return;
  if (GetCapture() == hwnd) ReleaseCapture();  // a drag over the old rows ends with them
  grid->source = &source;
  grid->model = GridModel(source.ColumnCount(), source.RowCount(), Scaled(kGridDefaultColumnWidth, grid->dpi),
                          Scaled(kGridRowHeight, grid->dpi), source.FixedColumns(), source.FixedRows());
  grid->tipRow = -1;
  RECT client;
  GetClientRect(hwnd, &client);
  OnSize(*grid, client.right, client.bottom);
}

void ResetStringGridSelection(HWND hwnd) {
  if (StringGrid* grid = GridOf(hwnd); grid != nullptr) {
    grid->model.ResetSelection();
    Changed(*grid);
  }
}

bool StringGridSelectedRows(HWND hwnd, int& first, int& last) {
  const StringGrid* grid = GridOf(hwnd);
  if (grid == nullptr || !grid->model.SelectionMade()) return false;
  const GridRange range = grid->model.Selection();
  first = range.Top;
  last = range.Bottom;
  return true;
}

void SetStringGridDpi(HWND hwnd, UINT dpi, HFONT font) {
  StringGrid* grid = GridOf(hwnd);
  if (grid == nullptr || dpi == 0) return;
  GridModel& m = grid->model;
  for (int column = 0; column < m.ColumnCount(); ++column)
    m.SetColumnWidth(column,
                     MulDiv(m.ColumnWidth(column), static_cast<int>(dpi), static_cast<int>(grid->dpi)));
  m.SetRowHeight(Scaled(kGridRowHeight, dpi));
  grid->dpi = dpi;
  grid->font = font;
  if (grid->tooltip != nullptr) {
    SetControlFont(grid->tooltip, font);
    SendMessageW(grid->tooltip, TTM_SETMAXTIPWIDTH, 0, Scaled(kTipWidth, dpi));
  }
  Changed(*grid);
}

void SetStringGridColumnWidth(HWND hwnd, int column, int width) {
  StringGrid* grid = GridOf(hwnd);
  if (grid == nullptr || column < 0 || column >= grid->model.ColumnCount()) return;
  grid->model.SetColumnWidth(column, width);
  Changed(*grid);
}

void WidenStringGridToHeads(HWND hwnd) {
  StringGrid* grid = GridOf(hwnd);
  if (grid == nullptr) return;
  GridModel& m = grid->model;
  WindowDc dc(hwnd);
  ScopedSelectObject selectFont(dc.Dc(), grid->font);
  SIZE mark{};
  GetTextExtentPoint32W(dc.Dc(), kDescending, 1, &mark);
  for (int column = 0; column < m.ColumnCount(); ++column) {
    for (int row = 0; row < m.FixedRows(); ++row) {
      const std::string text = grid->source->CellText(column, row);
      const std::wstring shown = Widen(std::string_view(text).substr(0, kShownBytes));
      SIZE size{};
      GetTextExtentPoint32W(dc.Dc(), shown.c_str(), static_cast<int>(shown.size()), &size);
      // As PaintCell places them: the inset, the text, an inset, the mark, an inset.
      const int needed = size.cx + mark.cx + 3 * grid->TextInset();
      if (m.ColumnWidth(column) < needed) m.SetColumnWidth(column, needed);
    }
  }
  Changed(*grid);
}

}  // namespace jwcount
