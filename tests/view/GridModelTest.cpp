// The grid's geometry, scrolling, selection and copied text, without a window.
#include "app/view/GridModel.h"

#include <gtest/gtest.h>

#include <climits>

#include "counting/CountTable.h"
#include "report/CountSection.h"
#include "report/GridSource.h"
#include "report/NameSection.h"

namespace jwcount {
namespace {

// 14 columns of 48 pixels and rows of 18, as the window uses them: a pitch of 49 by 19 with the lines.
GridModel Grid(int rows, int width, int height) {
  GridModel grid(CountTable::kColumns, rows, 48, 18);
  grid.SetViewSize(width, height);
  return grid;
}

TEST(GridModel, HitTestsCellsAndGridLines) {
  const GridModel grid = Grid(290, 400, 200);
  struct Hit {
    int x, y;
    GridCell cell;
  };
  const Hit hits[] = {
      {0, 0, {0, 0}},    {48, 18, {0, 0}},  // the grid line still belongs to the cell before it
      {49, 19, {1, 1}},  {97, 37, {1, 1}}, {98, 38, {2, 2}}, {49 * 14, 5, {-1, -1}},  // past the last column
      {-1, 5, {-1, -1}},
  };
  for (const Hit& hit : hits) EXPECT_EQ(grid.CellAt(hit.x, hit.y), hit.cell) << hit.x << "," << hit.y;
}

TEST(GridModel, ScrollingKeepsTheHeadersAndClampsAtTheEnd) {
  GridModel grid = Grid(30004, 400, 19 * 11);  // the header row and ten whole rows
  EXPECT_EQ(grid.FullyVisibleRows(), 10);
  EXPECT_EQ(grid.MaxTopRow(), 30004 - 10);
  grid.ScrollToRow(100);
  EXPECT_EQ(grid.CellAt(10, 18), (GridCell{0, 0}));
  EXPECT_EQ(grid.CellAt(10, 19), (GridCell{0, 100}));
  EXPECT_EQ(grid.CellAt(10, 19 * 2), (GridCell{0, 101}));
  grid.ScrollToRow(INT_MAX);
  EXPECT_EQ(grid.TopRow(), 29994);
  grid.ScrollToRow(-5);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST(GridModel, HorizontalScrollStopsWhenTheLastColumnShows) {
  GridModel grid = Grid(18, 49 * 5, 300);  // the header column and four whole columns
  EXPECT_EQ(grid.MaxLeftColumn(), 10);
  grid.ScrollToColumn(50);
  EXPECT_EQ(grid.LeftColumn(), 10);
  EXPECT_EQ(grid.ColumnX(10), 49);
  EXPECT_EQ(grid.ColumnX(0), 0);
  grid.SetViewSize(49 * 14, 300);  // everything fits: no horizontal scrolling at all
  EXPECT_EQ(grid.MaxLeftColumn(), 1);
  EXPECT_EQ(grid.LeftColumn(), 1);
}

TEST(GridModel, KeyboardMovesTheCursorAndScrollsItIntoView) {
  GridModel grid = Grid(290, 49 * 5, 19 * 11);
  grid.MoveCursor(0, 12, false);
  EXPECT_EQ(grid.Cursor(), (GridCell{1, 13}));
  EXPECT_EQ(grid.TopRow(), 4);  // row 13 is the last whole row
  grid.MoveCursor(INT_MAX, INT_MAX, false);
  EXPECT_EQ(grid.Cursor(), (GridCell{13, 289}));
  EXPECT_EQ(grid.TopRow(), 280);
  EXPECT_EQ(grid.LeftColumn(), 10);
  grid.MoveCursor(-INT_MAX, -INT_MAX, false);
  EXPECT_EQ(grid.Cursor(), (GridCell{1, 1}));
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.LeftColumn(), 1);
}

TEST(GridModel, ShiftExtendsFromTheAnchor) {
  GridModel grid = Grid(290, 400, 300);
  grid.Select({3, 5}, false);
  grid.MoveCursor(-1, 2, true);
  EXPECT_EQ(grid.Selection(), (GridRange{2, 5, 3, 7}));
  EXPECT_TRUE(grid.IsSelected(2, 7));
  EXPECT_FALSE(grid.IsSelected(4, 7));
  grid.MoveCursor(1, 0, false);  // without shift the range collapses onto the cursor
  EXPECT_EQ(grid.Selection(), (GridRange{3, 7, 3, 7}));
}

TEST(GridModel, MouseSelectionStaysOutOfTheHeaders) {
  GridModel grid = Grid(290, 400, 300);
  grid.Select({0, 0}, false);
  EXPECT_EQ(grid.Cursor(), (GridCell{1, 1}));
  grid.ScrollToRow(50);
  // Dragging above the scrolling rows reaches one row beyond the top of the view.
  EXPECT_EQ(grid.ScrollingCellNear(60, 5), (GridCell{1, 49}));
  EXPECT_EQ(grid.ScrollingCellNear(60, 5000).Row, 50 + grid.FullyVisibleRows());
  EXPECT_EQ(grid.ScrollingCellNear(-20, 40), (GridCell{1, 51}));
}

TEST(GridModel, ResizingGrabsTheNearestLineInTheHeaderRowOnly) {
  GridModel grid = Grid(18, 600, 300);
  EXPECT_EQ(grid.ResizeBorderAt(48, 5), 0);
  EXPECT_EQ(grid.ResizeBorderAt(49 + 48 + 2, 5), 1);
  EXPECT_EQ(grid.ResizeBorderAt(49 + 24, 5), -1);
  EXPECT_EQ(grid.ResizeBorderAt(49 + 48, 30), -1);  // below the header row
  grid.SetColumnWidth(1, 0);
  EXPECT_EQ(grid.ColumnWidth(1), kMinColumnWidth);
  EXPECT_EQ(grid.ResizeBorderAt(49 + kMinColumnWidth, 5), 1);  // a narrow column can still be widened
  EXPECT_EQ(grid.ColumnX(2), 49 + kMinColumnWidth + 1);
}

// The block list: a head row but no head column, a name column wider than the view, and a row count that
// changes after the count.
TEST(GridModel, WithoutAHeadColumnEveryColumnScrollsAndTheRowsCanChange) {
  GridModel grid(2, 6, 48, 18, 0, 1);
  grid.SetColumnWidth(0, 200);
  grid.SetViewSize(150, 19 * 4);  // the head row and three whole rows
  EXPECT_EQ(grid.CellAt(5, 5), (GridCell{0, 0}));
  EXPECT_EQ(grid.CellAt(5, 19), (GridCell{0, 1}));
  grid.Select({0, 0}, false);  // a name can be selected, a head cannot
  EXPECT_EQ(grid.Cursor(), (GridCell{0, 1}));
  EXPECT_EQ(grid.ResizeBorderAt(200, 5), 0);
  EXPECT_EQ(grid.MaxLeftColumn(), 1);  // the count column alone fits: the names scroll out of view
  grid.MoveCursor(1, 4, false);
  EXPECT_EQ(grid.Cursor(), (GridCell{1, 5}));
  EXPECT_EQ(grid.LeftColumn(), 1);
  EXPECT_EQ(grid.ColumnX(1), 0);
  EXPECT_EQ(grid.CellAt(5, 19), (GridCell{1, 3}));
  EXPECT_EQ(grid.TopRow(), 3);
  EXPECT_EQ(grid.RowY(5), 19 * 3);
  grid.SetRowCount(3);  // fewer rows: the cursor and the view come back into the table
  EXPECT_EQ(grid.Cursor(), (GridCell{1, 2}));
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetRowCount(100002);
  grid.SelectAll();
  EXPECT_EQ(grid.Selection(), (GridRange{0, 0, 1, 100001}));
}

TEST(RangeText, TabsBetweenCellsAndCrLfAfterEveryRow) {
  CountTable table(4);
  table.WriteHeads();
  table.Set(1, 1, 5);
  table.Set(2, 2, 0);
  const DrawingState drawing;
  const CountSection source(table, drawing, CountTableId::kSG3);
  GridModel grid(CountTable::kColumns, 4, 48, 18);
  grid.SelectRange({1, 1}, {2, 2});
  EXPECT_EQ(RangeText(source, grid.Selection()), "5\t\r\n\t0\r\n");  // a blank cell stays empty
  grid.SelectRange({3, 0}, {1, 0});
  EXPECT_EQ(RangeText(source, grid.Selection()), "\x90\xFC\t\x89\x7E\x8C\xCA\t\x95\xB6\x8E\x9A\r\n");
  grid.SelectAll();
  EXPECT_EQ(grid.Selection(), (GridRange{0, 0, 13, 3}));
}

// Names from other people's drawings reach a spreadsheet by the clipboard too: a cell that would start a
// formula gets the guard the CSV writer gives it, a tab inside a name cannot split the row.
TEST(RangeText, CopiedNamesNeverBecomeFormulas) {
  NameCountTable names;
  for (const char* name : {"=HYPERLINK(\"http://x\",\"y\")", "+1", "-2", "@SUM(A1)", "\tx", "WD1", "a=b"})
    names.Tally(name);
  NameSection source(NameSection::kTexts, names);
  source.Refresh();
  GridModel grid(2, source.RowCount(), 48, 18);
  grid.SelectRange({0, 1}, {0, 7});
  EXPECT_EQ(RangeText(source, grid.Selection()),
            "'=HYPERLINK(\"http://x\",\"y\")\r\n'+1\r\n'-2\r\n'@SUM(A1)\r\n' x\r\nWD1\r\na=b\r\n");
}

}  // namespace
}  // namespace jwcount
