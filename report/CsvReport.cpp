#include "report/CsvReport.h"

#include <string>
#include <utility>

#include "counting/CountTexts.h"
#include "report/CheckText.h"
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
  // Elements by a name they carry: row is the name's place in order of first appearance, then 合計.
  auto writeNames = [&](std::string_view title, const NameCountTable& table) {
    for (std::size_t i = 0; i < table.Rows().size(); ++i)
      writeLine(title, std::to_string(i + 1), table.Rows()[i].Name, kCountHead,
                std::to_string(table.Rows()[i].Count));
    if (table.Total() > 0) writeLine(title, kTotalLabel, {}, kCountHead, std::to_string(table.Total()));
  };
  writeNames(kBlockTableTitle, report.Tables.Blocks);
  writeNames(kTextTableTitle, report.Tables.Texts);
  // The checks that found something, the duplicates also by layer and by kind (the kind as the name).
  const DrawingChecks& checks = report.Tables.Checks;
  for (const CheckRow& row : CheckRows(checks)) {
    if (row.Finding->Count == 0) continue;
    const bool byKind = row.Kind != 0;
    writeLine(kCheckTitle, byKind ? kDuplicateLabel : row.Label, byKind ? row.Label : std::string_view(),
              kCountHead, std::to_string(row.Finding->Count));
    if (row.Finding != &checks.Duplicates) continue;
    const int32_t other = checks.Duplicates.Count - checks.SameLayer;
    if (checks.SameLayer > 0)
      writeLine(kCheckTitle, row.Label, {}, kSameLayerHead, std::to_string(checks.SameLayer));
    if (other > 0) writeLine(kCheckTitle, row.Label, {}, kOtherLayerHead, std::to_string(other));
  }
}

}  // namespace jwcount
