// The text report for people and the CSV report for spreadsheets.
#include <algorithm>
#include <vector>

#include "Reports.h"

namespace jwcount {
namespace {

bool IsNonZeroCount(const std::string& cell) {
  return !cell.empty() && cell != "0";
}

// The rows a person wants to see: those that hold a count other than 0, and the total row.
std::vector<int> RowsToShow(const CountTable& table) {
  std::vector<int> rows;
  const int last = table.RowCount() - 1;
  for (int row = 1; row <= last; ++row) {
    bool show = row == last;
    for (int column = 1; column < CountTable::kColumns && !show; ++column) {
      show = IsNonZeroCount(table.CellText(column, row));
    }
    if (show) rows.push_back(row);
  }
  return rows;
}

void AppendUtf8(OutputBuffer& out, Utf8Text& utf8, std::string_view shiftJis) {
  utf8.Convert(shiftJis, [&out](std::string_view piece, bool) { out.Append(piece); });
}

void WriteTextTable(OutputBuffer& out, Utf8Text& utf8, const NamedTable& named) {
  const CountTable& table = named.Table;
  const std::vector<int> rows = RowsToShow(table);
  // Column widths over the head row and the rows shown; a Shift-JIS text is as wide as it is long.
  std::vector<std::size_t> widths(CountTable::kColumns, 0);
  for (int column = 0; column < CountTable::kColumns; ++column) {
    widths[column] = DisplayWidth(table.CellText(column, 0));
    for (const int row : rows)
      widths[column] = std::max(widths[column], DisplayWidth(table.CellText(column, row)));
  }
  AppendUtf8(out, utf8, named.Title);
  out.Append('\n');
  std::string line;
  auto writeRow = [&](int row) {
    line.clear();
    for (int column = 0; column < CountTable::kColumns; ++column) {
      const std::string text = table.CellText(column, row);
      const std::size_t padding = widths[column] - DisplayWidth(text);
      if (column == 0) {
        line += text;
        line.append(padding, ' ');
      } else {
        line.append(padding + 2, ' ');
        line += text;
      }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    AppendUtf8(out, utf8, line);
    out.Append('\n');
  };
  writeRow(0);
  for (const int row : rows) writeRow(row);
}

void AppendCsvField(OutputBuffer& out, Utf8Text& utf8, std::string_view shiftJis) {
  const bool quoted = shiftJis.find_first_of(",\"\r\n") != std::string_view::npos;
  if (!quoted) {
    AppendUtf8(out, utf8, shiftJis);
    return;
  }
  out.Append('"');
  utf8.Convert(shiftJis, [&out](std::string_view piece, bool ascii) {
    if (!ascii) {
      out.Append(piece);
      return;
    }
    for (const char c : piece) {
      if (c == '"') out.Append('"');
      out.Append(c);
    }
  });
  out.Append('"');
}

}  // namespace

std::array<NamedTable, 5> NamedTables(const CountTables& tables) {
  return {{
      {"SG1",
       "\x83\x8c\x83\x43\x83\x84\x83\x4f\x83\x8b\x81\x5b\x83\x76\x81\x45\x83\x8c\x83\x43\x83\x84\x95\xca"
       "\x20\x97\x76\x91\x66\x90\x94",
       tables.SG1},
      {"SG2", "\x83\x8c\x83\x43\x83\x84\x83\x4f\x83\x8b\x81\x5b\x83\x76\x95\xca\x20\x97\x76\x91\x66\x90\x94",
       tables.SG2},
      {"SG3", "\x90\xfc\x90\x46\x95\xca\x20\x97\x76\x91\x66\x90\x94", tables.SG3},
      {"SG4", "\x90\xfc\x8e\xed\x95\xca\x20\x97\x76\x91\x66\x90\x94", tables.SG4},
      {"SG5", "\x90\xfc\x95\x9d\x95\xca\x20\x97\x76\x91\x66\x90\x94", tables.SG5},
  }};
}

void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  for (const std::string& label : report.Labels) {
    AppendUtf8(out, utf8, label);
    out.Append('\n');
  }
  for (const NamedTable& named : NamedTables(report.Tables)) {
    out.Append('\n');
    WriteTextTable(out, utf8, named);
  }
}

void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  out.Append(
      "\xEF\xBB\xBF"
      "table,row,column,count\r\n");
  for (const NamedTable& named : NamedTables(report.Tables)) {
    const CountTable& table = named.Table;
    for (int row = 1; row < table.RowCount(); ++row) {
      std::string label;
      for (int column = 1; column < CountTable::kColumns; ++column) {
        const std::string count = table.CellText(column, row);
        if (!IsNonZeroCount(count)) continue;
        if (label.empty()) label = table.CellText(0, row);
        AppendCsvField(out, utf8, named.Title);
        out.Append(',');
        AppendCsvField(out, utf8, label);
        out.Append(',');
        AppendCsvField(out, utf8, table.CellText(column, 0));
        out.Append(',');
        out.Append(count);
        out.Append("\r\n");
      }
    }
  }
}

}  // namespace jwcount
