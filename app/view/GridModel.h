// The state and geometry of a string grid with fixed head rows at the top and fixed head columns at the
// left (one of each for a count table; one head row and no head column for the block list): column widths,
// scroll position, the selected range and hit tests. Free of any window type, so the grid control only
// draws and forwards input.
//
// Geometry: every cell is followed by a one-pixel grid line to its right and below it. The fixed columns
// and rows always stay in view; the other cells scroll, a column or a row at a time.
#pragma once

#include <string>
#include <vector>

namespace jwcount {

class GridSource;

struct GridCell {
  int Column = 0;
  int Row = 0;
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

// A rectangle of cells, all four bounds inclusive.
struct GridRange {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const GridRange&, const GridRange&) = default;
};

inline constexpr int kGridLineWidth = 1;
inline constexpr int kMinColumnWidth = 2;

class GridModel {
 public:
  // columns and rows include the fixed ones; there is always at least one scrolling column and row.
  GridModel(int columns, int rows, int defaultColumnWidth, int rowHeight, int fixedColumns = 1,
            int fixedRows = 1);

  int ColumnCount() const { return static_cast<int>(widths_.size()); }
  int RowCount() const { return rows_; }
  int FixedColumns() const { return fixedColumns_; }
  int FixedRows() const { return fixedRows_; }
  // A new number of rows (the block list after the count); the selection and the view stay where they
  // can.
  void SetRowCount(int rows);
  int RowHeight() const { return rowHeight_; }
  // A new height of every row (the window moved to a screen of another DPI); the view stays where it can.
  void SetRowHeight(int height);
  int ColumnWidth(int column) const { return widths_[column]; }
  void SetColumnWidth(int column, int width);

  // --- View and scrolling ---
  void SetViewSize(int width, int height);
  int TopRow() const { return topRow_; }          // first scrolling row in view
  int LeftColumn() const { return leftColumn_; }  // first scrolling column in view
  int MaxTopRow() const;
  int MaxLeftColumn() const;
  void ScrollToRow(int row);        // clamped to FixedRows .. MaxTopRow
  void ScrollToColumn(int column);  // clamped to FixedColumns .. MaxLeftColumn
  // Scrolling rows that fit in the view completely (at least 1).
  int FullyVisibleRows() const;
  // Scrolling columns from LeftColumn on that fit in the view completely (at least 1).
  int FullyVisibleColumns() const;
  // Scrolls as little as needed so that the cell shows completely (fixed parts ignored).
  void ScrollIntoView(GridCell cell);

  // --- Geometry in view pixels ---
  // The left edge of a column as shown; for a scrolling column left of the view the result is meaningless.
  int ColumnX(int column) const;
  // The top edge of a row as shown, the same way.
  int RowY(int row) const;
  // The cell under a point, or {-1, -1} when the point is past the last column or row.
  GridCell CellAt(int x, int y) const;
  // The scrolling cell under a point, clamped into the scrolling part (for dragging outside the view).
  GridCell ScrollingCellNear(int x, int y) const;
  // The column whose right grid line is within reach of a point in the fixed row, or -1 when there is none.
  int ResizeBorderAt(int x, int y) const;

  // --- Selection ---
  // The anchor stays where a selection began; the cursor is where it ends. Mouse and arrow keys keep both
  // in the scrolling part; SelectAll and SelectRange may take in the head rows and columns, so that a copy
  // carries the heads and labels with the counts.
  GridCell Cursor() const { return cursor_; }
  GridRange Selection() const;
  bool IsSelected(int column, int row) const;
  // Moves the cursor to the cell (clamped into the scrolling part); without extend the anchor follows.
  void Select(GridCell cell, bool extend);
  // Moves the cursor by the given steps, clamped, and scrolls it into view.
  void MoveCursor(int columns, int rows, bool extend);
  // Every cell, the head rows and columns included.
  void SelectAll();
  // The range between two cells, each clamped into the table (header cells allowed).
  void SelectRange(GridCell anchor, GridCell cursor);
  // True once a selection has been made by any of the four above. Until then the selection is only where
  // the cursor starts, which the user never chose: it is neither highlighted nor marked in the drawing.
  bool SelectionMade() const { return selectionMade_; }
  // The selection as a new grid has it: the cursor on the first scrolling cell, no selection made.
  void ResetSelection();

 private:
  GridCell Clamp(GridCell cell) const;
  GridCell InTable(GridCell cell) const;
  int FixedWidth() const;
  int FixedHeight() const { return fixedRows_ * (rowHeight_ + kGridLineWidth); }

  int fixedColumns_;
  int fixedRows_;
  std::vector<int> widths_;
  int rows_;
  int rowHeight_;
  int viewWidth_ = 0;
  int viewHeight_ = 0;
  int topRow_;
  int leftColumn_;
  GridCell anchor_;
  GridCell cursor_;
  bool selectionMade_ = false;
};

// The cells of a range as tab-separated text, each row ending in CR LF (Shift-JIS, as the source holds
// it). Tabs and line breaks inside a cell become spaces so that the shape of the range survives a paste,
// and a cell a spreadsheet would take for a formula gets the CSV writer's guard.
std::string RangeText(const GridSource& source, const GridRange& range);

}  // namespace jwcount
