// Page 11, 基準との差: this count against the baseline kept for its drawing, as a section. One row per
// figure that differs (the rows of CompareCounts), under 表 行 項目 基準 今回 増減, lengths and areas in m
// and ㎡ as on page 8; a line above says whose baseline it is and warns when the selection ranges differ.
// With no row to show (no baseline, one that cannot be read, nothing differs...) the grid is its heads
// alone, and the words that say why go above it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/CountDiff.h"
#include "report/Section.h"

namespace jwcount {

class DiffSection final : public OwnFormSection {
 public:
  static constexpr int kSectionColumn = 0;
  static constexpr int kHeadColumn = 1;
  static constexpr int kItemColumn = 2;
  static constexpr int kBaselineColumn = 3;
  static constexpr int kCurrentColumn = 4;
  static constexpr int kChangeColumn = 5;

  // `comparison` may be null: a count with no comparison to show (the CLI's count), which writes nothing.
  explicit DiffSection(const CountComparison* comparison) : comparison_(comparison) {}

  std::string_view Id() const override { return "diff"; }
  std::string_view Title() const override;
  bool HasContent() const override { return comparison_ != nullptr; }
  // Whose baseline, kept when, and the warning of another range (Shift-JIS); "" with no comparison.
  std::string BaselineLine() const;
  // The words of a comparison with no rows (Shift-JIS), "" while there are rows: why there are none.
  std::string Message() const;
  // Above the grid: the baseline's line and, while the grid is its heads alone, the words that say why.
  std::string Notice() const override;

  // The rows as the comparison gives them, or sorted by a column when its head is clicked (again: the
  // other way round).
  void Refresh() override;
  bool SortBy(int column) override;
  int SortMark(int column) const override;
  // A row whose figure rose covers the elements behind it in this count (of the row's kind, or those with a
  // length or an area); one that fell covers nothing, for nothing of it is left to mark.
  ElementCover RowCover(int row) const override;

  int ColumnCount() const override { return 6; }
  int RowCount() const override;
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  int ColumnWidth(int column) const override;
  bool RightAligned(int column) const override { return column > kItemColumn; }

 private:
  bool HasRows() const;

  const DiffRow& RowAt(int row) const;
  // The text report's part (the table, or the sentence when there are no rows), the CSV report's records
  // and, in JSON, one object: "baseline" and "current" (file, time, range, version; null where unknown),
  // "range_differs" and "rows", one row a line.
  void WriteText(SectionText& out) const override;
  void WriteCsv(SectionCsv& out) const override;
  void WriteJsonValue(JsonWriter& json) const override;
  // In the workbook, when a baseline was compared: the rows in the order shown, each figure a number in
  // the unit of its head (m and ㎡ for lengths and areas).
  void WriteSheet(SectionSheet& out) const override;

  const CountComparison* comparison_;
  std::vector<int32_t> order_;  // rows of the comparison in the order shown; empty: as they come
  int sortColumn_ = -1;
  bool descending_ = false;
};

// A figure as the text and CSV forms show it: a count as a whole number, a length or area to three
// decimal places in the unit given, and "?" for one beyond a double; a change with its sign.
std::string DiffFigure(const std::optional<double>& value, bool quantity, bool signedChange);

}  // namespace jwcount
