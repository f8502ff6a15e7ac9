#include "app/view/QuantityPage.h"

#include <algorithm>

#include "counting/CountTexts.h"
#include "report/CountReport.h"
#include "report/CountSection.h"
#include "report/NameSection.h"
#include "report/QuantityText.h"

namespace jwcount {

QuantityTableSource::QuantityTableSource(const CountTables& tables, const DrawingState& drawing)
    : tables_(tables), drawing_(drawing) {
  Refresh();
}

std::span<const std::string_view> QuantityTableSource::Choices() const {
  return kQuantityGroupings;
}

const CountTable& QuantityTableSource::Table() const {
  return CountTableOf(grouping_).Of(tables_);
}

bool QuantityTableSource::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(kQuantityGroupings.size())) return false;
  grouping_ = static_cast<CountTableId>(index);
  Refresh();
  return true;
}

void QuantityTableSource::Refresh() {
  rows_ = QuantityRows(Table());
  sortColumn_ = -1;
  descending_ = false;
}

std::string_view QuantityTableSource::Name(int tableRow) const {
  return RowName(drawing_, grouping_, tableRow);
}

double QuantityTableSource::Figure(int column, int tableRow) const {
  return QuantityFigures(Table().Quantities(tableRow))[static_cast<std::size_t>(column - kFirstFigureColumn)];
}

bool QuantityTableSource::SortBy(int column) {
  if (column < 0 || column >= ColumnCount() || rows_.size() < 2) return false;
  descending_ = column == sortColumn_ && !descending_;
  sortColumn_ = column;
  const auto last = rows_.end() - 1;  // 合計 stays last
  std::sort(rows_.begin(), last);     // the order of the table, from which the stable sort starts
  if (column == kHeadColumn) {
    if (descending_) std::reverse(rows_.begin(), last);
  } else if (column == kNameColumn) {
    std::vector<std::pair<std::string, int>> keyed;
    for (auto it = rows_.begin(); it != last; ++it) keyed.emplace_back(NameSortKey(Name(*it)), *it);
    std::stable_sort(keyed.begin(), keyed.end(), [this](const auto& a, const auto& b) {
      return descending_ ? a.first > b.first : a.first < b.first;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) rows_[i] = keyed[i].second;
  } else {
    std::stable_sort(rows_.begin(), last, [this, column](int a, int b) {
      return descending_ ? Figure(column, a) > Figure(column, b) : Figure(column, a) < Figure(column, b);
    });
  }
  return true;
}

int QuantityTableSource::SortMark(int column) const {
  if (column != sortColumn_) return 0;
  return descending_ ? -1 : 1;
}

std::string QuantityTableSource::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) {
    if (column == kHeadColumn) return std::string(kQuantityGroupings[static_cast<std::size_t>(grouping_)]);
    if (column == kNameColumn) return std::string(kNameHead);
    return std::string(kQuantityHeads[static_cast<std::size_t>(column - kFirstFigureColumn)]);
  }
  const int tableRow = rows_[static_cast<std::size_t>(row - 1)];
  if (column == kHeadColumn) return Table().CellText(0, tableRow);
  if (column == kNameColumn) return std::string(Name(tableRow));
  return ShownQuantity(Figure(column, tableRow), column == ColumnCount() - 1);
}

std::string QuantityTableSource::CsvText(int column, int row) const {
  if (row < 1 || row >= RowCount() || column < kFirstFigureColumn || column >= ColumnCount())
    return CellText(column, row);
  const double scale = column == ColumnCount() - 1 ? 1e6 : 1e3;
  return ExactQuantity(Figure(column, rows_[static_cast<std::size_t>(row - 1)]) / scale);
}

ElementCover QuantityTableSource::RowCover(int row) const {
  if (row < 1 || row >= RowCount()) return {};
  return CountSection(Table(), drawing_, grouping_).RowCover(rows_[static_cast<std::size_t>(row - 1)]);
}

int QuantityTableSource::ColumnWidth(int column) const {
  constexpr int kWidths[] = {64, 88, 80, 100, 88, 128};
  return column >= 0 && column < ColumnCount() ? kWidths[column] : 0;
}

}  // namespace jwcount
