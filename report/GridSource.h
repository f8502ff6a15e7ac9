// What a string grid shows: a table of Shift-JIS texts whose first rows and columns are fixed heads. The
// grid control draws only the cells in view and asks for each one as it draws it, so a source renders its
// texts on demand (a count table of 30004 rows, a block list of 100,000 names) instead of holding them.
// The window's pages and their CSV saves see the sections of the count (report/Section.h) through it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "counting/ElementCover.h"

namespace jwcount {

class GridSource {
 public:
  virtual ~GridSource() = default;
  // Rows and columns, the fixed ones included.
  virtual int ColumnCount() const = 0;
  virtual int RowCount() const = 0;
  // The head rows at the top and the head columns at the left, which stay in view while the rest scrolls.
  virtual int FixedColumns() const { return 1; }
  virtual int FixedRows() const { return 1; }
  // The text of a cell (Shift-JIS): "" for a blank cell and for a cell outside the table.
  virtual std::string CellText(int column, int row) const = 0;
  // What resting the mouse on the head of a row shows (Shift-JIS): "" for nothing.
  virtual std::string_view RowTip(int /*row*/) const { return {}; }
  // The order a column is sorted in, for its head to show: 1 ascending, -1 descending, 0 not sorted by it.
  virtual int SortMark(int /*column*/) const { return 0; }
  // A click on the head of a column: true when the source sorted its rows anew and the grid must redraw.
  virtual bool SortBy(int /*column*/) { return false; }
  // The count has filled the tables the source shows; a source that keeps state of its own renews it.
  virtual void Refresh() {}
  // The width a column starts with, in pixels at 96 DPI; 0 for the grid's default width.
  virtual int ColumnWidth(int /*column*/) const { return 0; }
  // True for a column of figures, whose cells below the heads stand at the right edge.
  virtual bool RightAligned(int /*column*/) const { return false; }
  // What the CSV save writes for a cell: its text, unless the grid shows it formatted for people.
  virtual std::string CsvText(int column, int row) const { return CellText(column, row); }
  // What the grid draws in a cell (Shift-JIS): its text, unless that text cannot be seen (a text of
  // nothing or of blanks alone), which is then drawn in a form that can. Only the grid's painting asks;
  // copies, saves and reports keep CellText.
  virtual std::string ShownText(int column, int row) const { return CellText(column, row); }
  // True for a cell the grid draws in grey: one whose ShownText stands in for a text that cannot be seen.
  virtual bool Dimmed(int /*column*/, int /*row*/) const { return false; }
  // The elements a row counts, which marks in the drawing show; nothing for a head or a blank row, and
  // for every row of a page that counts no elements.
  virtual ElementCover RowCover(int /*row*/) const { return {}; }

  // The line of notice above the grid (Shift-JIS; lines separated by CR LF): what the page's rows come
  // from, or why it has none; "" for none.
  virtual std::string Notice() const { return {}; }

  // A row of choices above the grid (Shift-JIS captions, shown as radio buttons), one of which is always
  // chosen; none for most pages.
  virtual std::span<const std::string_view> Choices() const { return {}; }
  virtual int Chosen() const { return 0; }
  // A click on a choice: true when the rows changed and the grid must take them anew.
  virtual bool Choose(int /*index*/) { return false; }
};

// Every cell of the source as the CSV save writes it (CsvText), row by row.
std::vector<std::vector<std::string>> GridRows(const GridSource& source);

}  // namespace jwcount
