#include "report/CsvWriter.h"

namespace jwcount {

bool StartsFormula(std::string_view text) {
  if (text.empty()) return false;
  switch (text.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
      return true;
    default:
      return false;
  }
}

void AppendCsvField(std::string& out, std::string_view utf8) {
  const bool quoted = utf8.find_first_of(",\"\r\n") != std::string_view::npos;
  if (quoted) out += '"';
  if (StartsFormula(utf8)) out += kFormulaGuard;
  for (const char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  if (quoted) out += '"';
}

void AppendCsvRow(std::string& out, Utf8Text& utf8, std::span<const std::string_view> shiftJisCells) {
  std::string cell;
  for (std::size_t i = 0; i < shiftJisCells.size(); ++i) {
    if (i > 0) out += ',';
    cell.clear();
    utf8.Append(cell, shiftJisCells[i]);
    AppendCsvField(out, cell);
  }
  out += kCsvLineEnd;
}

std::string CsvFile(const std::vector<std::vector<std::string>>& shiftJisRows, std::string_view firstLine) {
  std::string out(kUtf8ByteOrderMark);
  if (!firstLine.empty()) {
    AppendCsvField(out, firstLine);
    out += kCsvLineEnd;
  }
  Utf8Text utf8;
  std::vector<std::string_view> cells;
  for (const std::vector<std::string>& row : shiftJisRows) {
    cells.assign(row.begin(), row.end());
    AppendCsvRow(out, utf8, cells);
  }
  return out;
}

}  // namespace jwcount
