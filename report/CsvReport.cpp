#include "report/CsvReport.h"

#include <string>

#include "counting/CountTexts.h"
#include "report/CsvWriter.h"

namespace jwcount {
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  std::string line(kUtf8ByteOrderMark);
  line += "table,row,name,column,count";
  line += kCsvLineEnd;
  out.Append(line);
  for (const NamedTable& named : NamedTables(report.Tables)) {
    const CountTable& table = named.Table;
    for (int row = 1; row < table.RowCount(); ++row) {
      std::string label;
      for (int column = 1; column < CountTable::kColumns; ++column) {
        if (table.Count(column, row) == 0) continue;
        const std::string count = table.CellText(column, row);
        if (label.empty()) label = table.CellText(0, row);
        const std::string head = table.CellText(column, 0);
        const std::string_view cells[] = {named.Title, label, RowName(report.State.Drawing, named.Which, row),
                                          head, count};
        line.clear();
        AppendCsvRow(line, utf8, cells);
        out.Append(line);
      }
    }
  }
  const BlockNameTable& blocks = report.Tables.Blocks;
  auto writeBlockRow = [&](std::string_view row, std::string_view name, int32_t count) {
    const std::string number = std::to_string(count);
    const std::string_view cells[] = {kBlockTableTitle, row, name, kCountHead, number};
    line.clear();
    AppendCsvRow(line, utf8, cells);
    out.Append(line);
  };
  for (std::size_t i = 0; i < blocks.Rows().size(); ++i)
    writeBlockRow(std::to_string(i + 1), blocks.Rows()[i].Name, blocks.Rows()[i].Count);
  if (blocks.Total() > 0) writeBlockRow(kTotalLabel, {}, blocks.Total());
}

}  // namespace jwcount
