#include "report/SectionSink.h"

#include <algorithm>
#include <charconv>

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
  } else if (SectionSheet* sheet = sink.Sheet(); sheet != nullptr && sheet->Member == id) {
    WriteGridSheet(*sheet, title, grid);
  }
}

std::optional<CellFigure> GridFigure(const GridSource& grid, int column, int row) {
  if (row < grid.FixedRows() || !grid.RightAligned(column)) return std::nullopt;
  const std::string text = grid.CsvText(column, row);
  std::string_view digits = text;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  const std::size_t point = digits.find('.');
  const bool plain = !digits.empty() && digits.find_first_not_of("-0123456789.") == std::string_view::npos &&
                     digits.find('-', 1) == std::string_view::npos &&
                     digits.find('.', point + 1) == std::string_view::npos;
  CellFigure figure;
  if (!plain) return std::nullopt;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), figure.Value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (point != std::string_view::npos)
    figure.Decimals = static_cast<int>(std::min<std::size_t>(digits.size() - point - 1, 3));
  return figure;
}

void WriteGridSheet(SectionSheet& out, std::string_view name, const GridSource& grid) {
  std::vector<std::string> heads;
  for (int column = 0; column < grid.ColumnCount(); ++column) heads.push_back(grid.CellText(column, 0));
  out.Begin(name, heads);
  for (int row = 1; row < grid.RowCount(); ++row) {
    for (int column = 0; column < grid.ColumnCount(); ++column) {
      if (const std::optional<CellFigure> figure = GridFigure(grid, column, row)) {
        out.Figure(figure->Value, figure->Decimals);
        continue;
      }
      const std::string text = grid.CsvText(column, row);
      if (text.empty())
        out.Blank();
      else
        out.Text(text);
    }
    out.EndRow();
  }
}

std::string CellName(int column, int64_t row) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

}  // namespace jwcount
