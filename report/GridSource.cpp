#include "report/GridSource.h"

namespace jwcount {

std::vector<std::vector<std::string>> GridRows(const GridSource& source) {
  std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(source.RowCount()));
  for (int row = 0; row < source.RowCount(); ++row) {
    auto& cells = rows[static_cast<std::size_t>(row)];
    cells.reserve(static_cast<std::size_t>(source.ColumnCount()));
    for (int column = 0; column < source.ColumnCount(); ++column)
      cells.push_back(source.CsvText(column, row));
  }
  return rows;
}

}  // namespace jwcount
