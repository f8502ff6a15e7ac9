#include "app/view/GridModel.h"

#include <algorithm>
#include <cstdlib>

#include "report/CsvWriter.h"
#include "report/GridSource.h"

namespace jwcount {
namespace {

constexpr int kResizeReach = 2;  // pixels on either side of a grid line that grab it

}  // namespace

GridModel::GridModel(int columns, int rows, int defaultColumnWidth, int rowHeight, int fixedColumns,
                     int fixedRows)
    : fixedColumns_(std::max(fixedColumns, 0)),
      fixedRows_(std::max(fixedRows, 0)),
      widths_(static_cast<std::size_t>(std::max(columns, fixedColumns_ + 1)), defaultColumnWidth),
      rows_(std::max(rows, fixedRows_ + 1)),
      rowHeight_(rowHeight),
      topRow_(fixedRows_),
      leftColumn_(fixedColumns_),
      anchor_{fixedColumns_, fixedRows_},
      cursor_{fixedColumns_, fixedRows_} {}

void GridModel::SetRowCount(int rows) {
  rows_ = std::max(rows, fixedRows_ + 1);
  anchor_ = InTable(anchor_);
  cursor_ = InTable(cursor_);
  ScrollToRow(topRow_);
}

void GridModel::SetColumnWidth(int column, int width) {
  widths_[column] = std::max(width, kMinColumnWidth);
  ScrollToColumn(leftColumn_);
}

void GridModel::SetRowHeight(int height) {
  rowHeight_ = std::max(height, 1);
  ScrollToRow(topRow_);
}

void GridModel::SetViewSize(int width, int height) {
  viewWidth_ = width;
  viewHeight_ = height;
  ScrollToRow(topRow_);
  ScrollToColumn(leftColumn_);
}

int GridModel::FixedWidth() const {
  int width = 0;
  for (int column = 0; column < fixedColumns_; ++column) width += widths_[column] + kGridLineWidth;
  return width;
}

int GridModel::FullyVisibleRows() const {
  const int pitch = rowHeight_ + kGridLineWidth;
  return std::max(1, (viewHeight_ - FixedHeight()) / pitch);
}

int GridModel::FullyVisibleColumns() const {
  int x = ColumnX(leftColumn_);
  int count = 0;
  for (int column = leftColumn_; column < ColumnCount(); ++column) {
    x += widths_[column] + kGridLineWidth;
    if (x > viewWidth_) break;
    ++count;
  }
  return std::max(1, count);
}

int GridModel::MaxTopRow() const {
  return std::max(fixedRows_, rows_ - FullyVisibleRows());
}

int GridModel::MaxLeftColumn() const {
  const int available = viewWidth_ - FixedWidth();
  int used = 0;
  int column = ColumnCount() - 1;
  while (column >= fixedColumns_ && used + widths_[column] + kGridLineWidth <= available) {
    used += widths_[column] + kGridLineWidth;
    --column;
  }
  return std::clamp(column + 1, fixedColumns_, ColumnCount() - 1);
}

void GridModel::ScrollToRow(int row) {
  topRow_ = std::clamp(row, fixedRows_, MaxTopRow());
}

void GridModel::ScrollToColumn(int column) {
  leftColumn_ = std::clamp(column, fixedColumns_, MaxLeftColumn());
}

void GridModel::ScrollIntoView(GridCell cell) {
  if (cell.Row >= fixedRows_) {
    if (cell.Row < topRow_) {
      ScrollToRow(cell.Row);
    } else if (cell.Row >= topRow_ + FullyVisibleRows()) {
      ScrollToRow(cell.Row - FullyVisibleRows() + 1);
    }
  }
  if (cell.Column >= fixedColumns_) {
    if (cell.Column < leftColumn_) {
      ScrollToColumn(cell.Column);
    } else {
      while (leftColumn_ < cell.Column && leftColumn_ < MaxLeftColumn() &&
             ColumnX(cell.Column) + widths_[cell.Column] + kGridLineWidth > viewWidth_) {
        ++leftColumn_;
      }
    }
  }
}

int GridModel::ColumnX(int column) const {
  int x = 0;
  if (column < fixedColumns_) {
    for (int c = 0; c < column; ++c) x += widths_[c] + kGridLineWidth;
    return x;
  }
  x = FixedWidth();
  for (int c = leftColumn_; c < column; ++c) x += widths_[c] + kGridLineWidth;
  for (int c = column; c < leftColumn_; ++c) x -= widths_[c] + kGridLineWidth;
  return x;
}

int GridModel::RowY(int row) const {
  const int pitch = rowHeight_ + kGridLineWidth;
  if (row < fixedRows_) return row * pitch;
  return FixedHeight() + (row - topRow_) * pitch;
}

GridCell GridModel::CellAt(int x, int y) const {
  const GridCell none{-1, -1};
  if (x < 0 || y < 0) return none;
  GridCell cell;
  const int pitch = rowHeight_ + kGridLineWidth;
  cell.Row = y < FixedHeight() ? y / pitch : topRow_ + (y - FixedHeight()) / pitch;
  if (cell.Row >= rows_) return none;
  int right = 0;
  for (int column = 0; column < fixedColumns_; ++column) {
    right += widths_[column] + kGridLineWidth;
    if (x < right) {
      cell.Column = column;
      return cell;
    }
  }
  for (int column = leftColumn_; column < ColumnCount(); ++column) {
    right += widths_[column] + kGridLineWidth;
    if (x < right) {
      cell.Column = column;
      return cell;
    }
  }
  return none;
}

GridCell GridModel::ScrollingCellNear(int x, int y) const {
  const int pitch = rowHeight_ + kGridLineWidth;
  GridCell cell;
  if (y < FixedHeight()) {
    cell.Row = topRow_ - 1;
  } else if (y >= viewHeight_) {
    cell.Row = topRow_ + FullyVisibleRows();
  } else {
    cell.Row = topRow_ + (y - FixedHeight()) / pitch;
  }
  if (x < FixedWidth()) {
    cell.Column = leftColumn_ - 1;
  } else if (x >= viewWidth_) {
    cell.Column = leftColumn_ + FullyVisibleColumns();
  } else {
    cell.Column = ColumnCount() - 1;
    int right = FixedWidth();
    for (int column = leftColumn_; column < ColumnCount(); ++column) {
      right += widths_[column] + kGridLineWidth;
      if (x < right) {
        cell.Column = column;
        break;
      }
    }
  }
  return Clamp(cell);
}

int GridModel::ResizeBorderAt(int x, int y) const {
  if (y < 0 || y >= FixedHeight()) return -1;
  int best = -1;
  int bestDistance = kResizeReach + 1;
  auto consider = [&](int column) {
    const int distance = std::abs(x - (ColumnX(column) + widths_[column]));
    if (distance <= bestDistance) {  // on a tie the right-hand column wins, so a narrow one can grow
      best = column;
      bestDistance = distance;
    }
  };
  for (int column = 0; column < fixedColumns_; ++column) consider(column);
  for (int column = leftColumn_; column < ColumnCount() && ColumnX(column) < viewWidth_; ++column) {
    consider(column);
  }
  return bestDistance <= kResizeReach ? best : -1;
}

GridRange GridModel::Selection() const {
  return {std::min(anchor_.Column, cursor_.Column), std::min(anchor_.Row, cursor_.Row),
          std::max(anchor_.Column, cursor_.Column), std::max(anchor_.Row, cursor_.Row)};
}

bool GridModel::IsSelected(int column, int row) const {
  const GridRange range = Selection();
  return column >= range.Left && column <= range.Right && row >= range.Top && row <= range.Bottom;
}

void GridModel::Select(GridCell cell, bool extend) {
  cursor_ = Clamp(cell);
  if (!extend) anchor_ = cursor_;
  selectionMade_ = true;
}

void GridModel::MoveCursor(int columns, int rows, bool extend) {
  // Steps are added in 64 bits so that "to the end" moves (INT_MAX) cannot overflow.
  const auto step = [](int from, int by) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(from) + by, 0, 1 << 30));
  };
  Select({step(cursor_.Column, columns), step(cursor_.Row, rows)}, extend);
  ScrollIntoView(cursor_);
}

void GridModel::SelectAll() {
  SelectRange({0, 0}, {ColumnCount() - 1, rows_ - 1});
}

void GridModel::SelectRange(GridCell anchor, GridCell cursor) {
  anchor_ = InTable(anchor);
  cursor_ = InTable(cursor);
  selectionMade_ = true;
}

void GridModel::ResetSelection() {
  anchor_ = cursor_ = {fixedColumns_, fixedRows_};
  selectionMade_ = false;
}

GridCell GridModel::Clamp(GridCell cell) const {
  return {std::clamp(cell.Column, fixedColumns_, ColumnCount() - 1),
          std::clamp(cell.Row, fixedRows_, rows_ - 1)};
}

GridCell GridModel::InTable(GridCell cell) const {
  return {std::clamp(cell.Column, 0, ColumnCount() - 1), std::clamp(cell.Row, 0, rows_ - 1)};
}

std::string RangeText(const GridSource& source, const GridRange& range) {
  std::string text;
  for (int row = range.Top; row <= range.Bottom; ++row) {
    for (int column = range.Left; column <= range.Right; ++column) {
      if (column > range.Left) text += '\t';
      const std::string cell = source.CellText(column, row);
      // Pasting into a spreadsheet reads the text as typed: a name from the drawing such as
      // =HYPERLINK(...) gets the same guard as in a CSV file, which the spreadsheet then hides.
      if (StartsFormula(cell)) text += kFormulaGuard;
      for (char c : cell) {
        text += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
      }
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace jwcount
