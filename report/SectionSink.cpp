#include "report/SectionSink.h"

#include <algorithm>

#include "report/CsvWriter.h"
#include "text/ShiftJis.h"

namespace jwcount {

void SectionText::Line(std::string_view shiftJis) {
  utf8_.Convert(shiftJis, [this](std::string_view piece, bool) { out_.Append(piece); });
  out_.Append('\n');
}

std::string SectionText::Utf8(std::string_view shiftJis) {
  std::string text;
  utf8_.Append(text, shiftJis);
  return text;
}

std::string SectionText::Name(std::string_view shiftJis) {
  std::string out;
  utf8_.Convert(shiftJis, [&out](std::string_view piece, bool) {
    for (std::size_t i = 0; i < piece.size(); ++i) {
      const auto b = static_cast<unsigned char>(piece[i]);
      const bool c1 = b == 0xC2 && i + 1 < piece.size() && static_cast<unsigned char>(piece[i + 1]) < 0xA0;
      if (b < 0x20 || b == 0x7F) {
        out += kReplacementUtf8;
      } else if (c1) {  // U+0080 to U+009F
        out += kReplacementUtf8;
        ++i;
      } else {
        out += piece[i];
      }
    }
  });
  return out;
}

void SectionText::Table(std::string_view title, const std::vector<std::vector<std::string>>& rows,
                        bool lastColumnLeft) {
  std::vector<std::size_t> widths;
  for (const std::vector<std::string>& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t column = 0; column < row.size(); ++column)
      widths[column] = std::max(widths[column], Utf8Text::Columns(row[column]));
  }
  Line(title);
  std::string line;
  for (const std::vector<std::string>& row : rows) {
    line.clear();
    for (std::size_t column = 0; column < row.size(); ++column) {
      const std::size_t padding = widths[column] - Utf8Text::Columns(row[column]);
      if (column == 0) {
        line += row[column];
        line.append(padding, ' ');
      } else if (lastColumnLeft && column + 1 == widths.size()) {
        line.append(2, ' ');
        line += row[column];
      } else {
        line.append(padding + 2, ' ');
        line += row[column];
      }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    line += '\n';
    out_.Append(line);
  }
}

void SectionCsv::Record(std::string_view table, std::string_view row, std::string_view name,
                        std::string_view column, std::string_view value) {
  const std::string_view cells[] = {table, row, name, column, value};
  line_.clear();
  AppendCsvRow(line_, utf8_, cells);
  out_.Append(line_);
}

void WriteGrid(SectionSink& sink, std::string_view id, std::string_view title, const GridSource& grid) {
  if (SectionText* text = sink.Text()) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < grid.RowCount(); ++row) {
      std::vector<std::string>& cells = rows.emplace_back();
      for (int column = 0; column < grid.ColumnCount(); ++column)
        cells.push_back(text->Name(grid.CellText(column, row)));
    }
    text->Table(title, rows);
  } else if (SectionCsv* csv = sink.Csv()) {
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
      const std::string head = grid.CellText(0, row);
      for (int column = 1; column < grid.ColumnCount(); ++column) {
        const std::string value = grid.CellText(column, row);
        if (!value.empty()) csv->Record(title, head, {}, grid.CellText(column, 0), value);
      }
    }
  } else if (SectionJson* json = sink.Json(); json != nullptr && json->Member == id) {
    WriteJsonRows(json->Json, grid);
  }
}

}  // namespace jwcount
