// Page 8: lengths and areas by one of the five groupings of the count tables (layer, layer group, line
// colour, line type, line width), chosen in a row of radio buttons above the grid.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountTables.h"
#include "counting/RowNames.h"
#include "report/GridSource.h"
#include "tempfile/ReaderState.h"

namespace jwcount {

// The rows of the chosen table that hold a length or an area (and, by layer, the subtotals of their layer
// groups), then 合計. Columns: the row head, the name the drawing gives that layer or group, lines,
// circles and arcs, all lengths (m) and solid area (㎡). A click on a head sorts by that column and a
// second turns the order round; 合計 stays last. The figures show three decimals with a thousands
// separator; the CSV save writes them in full.
class QuantityTableSource final : public GridSource {
 public:
  static constexpr int kHeadColumn = 0;
  static constexpr int kNameColumn = 1;
  static constexpr int kFirstFigureColumn = 2;

  QuantityTableSource(const CountTables& tables, const DrawingState& drawing);

  std::span<const std::string_view> Choices() const override;
  int Chosen() const override { return static_cast<int>(grouping_); }
  // Shows another grouping, in the order of its table and sorted by nothing.
  bool Choose(int index) override;
  void Refresh() override;
  bool SortBy(int column) override;
  int SortMark(int column) const override;

  int ColumnCount() const override { return kFirstFigureColumn + 4; }
  int RowCount() const override { return static_cast<int>(rows_.size()) + 1; }
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  std::string CsvText(int column, int row) const override;
  int ColumnWidth(int column) const override;
  bool RightAligned(int column) const override { return column >= kFirstFigureColumn; }
  // A row covers what the same row of the chosen count table covers on its own page.
  ElementCover RowCover(int row) const override;

 private:
  const CountTable& Table() const;
  std::string_view Name(int tableRow) const;
  double Figure(int column, int tableRow) const;

  const CountTables& tables_;
  const DrawingState& drawing_;
  CountTableId grouping_ = CountTableId::kSG1;
  std::vector<int> rows_;
  int sortColumn_ = -1;  // -1: in the order of the table
  bool descending_ = false;
};

}  // namespace jwcount
