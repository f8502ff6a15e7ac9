#include "report/CsvReport.h"

#include <string>
#include <utility>

#include "counting/CountTexts.h"
#include "report/CsvWriter.h"
#include "report/QuantityText.h"

namespace jwcount {
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  std::string line(kUtf8ByteOrderMark);
  line += "table,row,name,column,count";
  line += kCsvLineEnd;
  out.Append(line);
  auto writeLine = [&](std::string_view table, std::string_view row, std::string_view name,
                       std::string_view column, std::string_view value) {
    const std::string_view cells[] = {table, row, name, column, value};
    line.clear();
    AppendCsvRow(line, utf8, cells);
    out.Append(line);
  };
  for (const NamedTable& named : NamedTables(report.Tables)) {
    const CountTable& table = named.Table;
    for (int row = 1; row < table.RowCount(); ++row) {
      const std::string_view name = RowName(report.State.Drawing, named.Which, row);
      std::string label;
      for (int column = 1; column < CountTable::kColumns; ++column) {
        if (table.Count(column, row) == 0) continue;
        if (label.empty()) label = table.CellText(0, row);
        writeLine(named.Title, label, name, table.CellText(column, 0), table.CellText(column, row));
      }
      // Then the row's length and area, when it has any, in mm and mm² at full precision.
      const RowQuantities q = table.Quantities(row);
      const std::pair<std::string_view, double> quantities[] = {{kLengthMmHead, q.Length},
                                                                {kAreaMm2Head, q.Area}};
      for (const auto& [head, value] : quantities) {
        if (value == 0) continue;
        if (label.empty()) label = table.CellText(0, row);
        writeLine(named.Title, label, name, head, ExactQuantity(value));
      }
    }
  }
  const BlockNameTable& blocks = report.Tables.Blocks;
  for (std::size_t i = 0; i < blocks.Rows().size(); ++i) {
    writeLine(kBlockTableTitle, std::to_string(i + 1), blocks.Rows()[i].Name, kCountHead,
              std::to_string(blocks.Rows()[i].Count));
  }
  if (blocks.Total() > 0)
    writeLine(kBlockTableTitle, kTotalLabel, {}, kCountHead, std::to_string(blocks.Total()));
}

}  // namespace jwcount
