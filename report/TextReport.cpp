#include "report/TextReport.h"

#include <algorithm>
#include <string>
#include <vector>

#include "counting/CountTexts.h"
#include "report/CheckText.h"
#include "report/QuantityText.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// The rows a person wants to see: those that hold a count other than 0, and the total row.
std::vector<int> RowsToShow(const CountTable& table) {
  std::vector<int> rows;
  const int last = table.RowCount() - 1;
  for (int row = 1; row <= last; ++row) {
    bool show = row == last;
    for (int column = 1; column < CountTable::kColumns && !show; ++column) {
      show = table.Count(column, row) != 0;
    }
    if (show) rows.push_back(row);
  }
  return rows;
}

void AppendUtf8(OutputBuffer& out, Utf8Text& utf8, std::string_view shiftJis) {
  utf8.Convert(shiftJis, [&out](std::string_view piece, bool) { out.Append(piece); });
}

std::string Converted(Utf8Text& utf8, std::string_view shiftJis) {
  std::string text;
  utf8.Append(text, shiftJis);
  return text;
}

// A name from the drawing in UTF-8 for a terminal. The reader keeps a double-byte character whole even when
// its second byte is a control byte, so a broken name can carry a tab or an escape; each control character
// shows as U+FFFD, so that it can neither move the columns nor reach the terminal.
void AppendNameForTerminal(std::string& out, Utf8Text& utf8, std::string_view shiftJis) {
  utf8.Convert(shiftJis, [&out](std::string_view piece, bool) {
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
}

// A table of UTF-8 cells under its title: the first column left-aligned, the others right-aligned two
// columns apart, by width on a terminal; the last one left-aligned too when it holds words, not figures.
void WriteAligned(OutputBuffer& out, Utf8Text& utf8, std::string_view title,
                  const std::vector<std::vector<std::string>>& rows, bool lastColumnLeft = false) {
  std::vector<std::size_t> widths;
  for (const std::vector<std::string>& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t column = 0; column < row.size(); ++column)
      widths[column] = std::max(widths[column], Utf8Text::Columns(row[column]));
  }
  AppendUtf8(out, utf8, title);
  out.Append('\n');
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
    out.Append(line);
  }
}

// The head of a row as the count tables show it, with the name the drawing gives its layer or group.
std::string RowHead(Utf8Text& utf8, const NamedTable& named, const DrawingState& drawing, int row) {
  std::string head;
  utf8.Append(head, named.Table.CellText(0, row));
  const std::string_view name = RowName(drawing, named.Which, row);
  if (!name.empty()) {
    head += ' ';
    AppendNameForTerminal(head, utf8, name);
  }
  return head;
}

void WriteTextTable(OutputBuffer& out, Utf8Text& utf8, const NamedTable& named, const DrawingState& drawing) {
  const CountTable& table = named.Table;
  std::vector<int> shown = RowsToShow(table);
  shown.insert(shown.begin(), 0);
  std::vector<std::vector<std::string>> rows;
  for (const int row : shown) {
    std::vector<std::string>& cells = rows.emplace_back(CountTable::kColumns);
    cells[0] = RowHead(utf8, named, drawing, row);
    for (int column = 1; column < CountTable::kColumns; ++column)
      utf8.Append(cells[static_cast<std::size_t>(column)], table.CellText(column, row));
  }
  WriteAligned(out, utf8, named.Title, rows);
}

// A table's lengths and areas: the rows that hold any and the total, in m and ㎡; nothing when the drawing
// measures nothing.
void WriteQuantityTable(OutputBuffer& out, Utf8Text& utf8, const NamedTable& named,
                        const DrawingState& drawing) {
  if (!HasQuantities(named.Table)) return;
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string>& heads = rows.emplace_back(1 + kQuantityHeads.size());
  utf8.Append(heads[0], kQuantityGroupings[static_cast<std::size_t>(named.Which)]);
  for (std::size_t i = 0; i < kQuantityHeads.size(); ++i) utf8.Append(heads[i + 1], kQuantityHeads[i]);
  for (const int row : QuantityRows(named.Table)) {
    std::vector<std::string>& cells = rows.emplace_back();
    cells.push_back(RowHead(utf8, named, drawing, row));
    const auto figures = QuantityFigures(named.Table.Quantities(row));
    for (std::size_t i = 0; i < figures.size(); ++i) {
      utf8.Append(cells.emplace_back(), ShownQuantity(figures[i], i == figures.size() - 1));
    }
  }
  const std::string_view title = named.Title;
  std::string sectionTitle(title.substr(0, title.find(' ') + 1));
  sectionTitle += kQuantityTitle;
  out.Append('\n');
  WriteAligned(out, utf8, sectionTitle, rows);
}

// Elements by a name they carry under the table's title: the heads (name and 数), one row per name in order
// of first appearance, and 合計.
void WriteNameTable(OutputBuffer& out, Utf8Text& utf8, std::string_view title, std::string_view nameHead,
                    const NameCountTable& table) {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({Converted(utf8, nameHead), Converted(utf8, kCountHead)});
  for (const NameCountRow& row : table.Rows()) {
    std::string name;
    AppendNameForTerminal(name, utf8, row.Name);
    rows.push_back({std::move(name), std::to_string(row.Count)});
  }
  rows.push_back({Converted(utf8, kTotalLabel), std::to_string(table.Total())});
  WriteAligned(out, utf8, title, rows);
}

// The checks: a row per check (and per kind with duplicates) with the number of elements and their layers,
// the duplicates split into those with an earlier twin on their own layer and the rest; or the line that
// says nothing was found.
void WriteCheckTable(OutputBuffer& out, Utf8Text& utf8, const DrawingChecks& checks) {
  if (!checks.Found()) {
    AppendUtf8(out, utf8, kCheckTitle);
    out.Append('\n');
    AppendUtf8(out, utf8, kNoProblems);
    out.Append('\n');
    return;
  }
  std::vector<std::vector<std::string>> rows;
  rows.push_back({Converted(utf8, kCheckTitle), Converted(utf8, kCountHead), Converted(utf8, kSameLayerHead),
                  Converted(utf8, kOtherLayerHead), Converted(utf8, kLayersHead)});
  for (const CheckRow& row : CheckRows(checks)) {
    std::vector<std::string>& cells = rows.emplace_back();
    cells.push_back((row.Kind != 0 ? "  " : "") + Converted(utf8, row.Label));
    cells.push_back(std::to_string(row.Finding->Count));
    const bool split = row.Finding == &checks.Duplicates;
    cells.push_back(split ? std::to_string(checks.SameLayer) : "");
    cells.push_back(split ? std::to_string(checks.Duplicates.Count - checks.SameLayer) : "");
    cells.push_back(Converted(utf8, LayersText(row.Finding->Layers)));
  }
  WriteAligned(out, utf8, kCheckTitle, rows, true);
}

}  // namespace

void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  for (const std::string& label : report.Labels) {
    AppendUtf8(out, utf8, label);
    out.Append('\n');
  }
  for (const NamedTable& named : NamedTables(report.Tables)) {
    out.Append('\n');
    WriteTextTable(out, utf8, named, report.State.Drawing);
    WriteQuantityTable(out, utf8, named, report.State.Drawing);
  }
  out.Append('\n');
  WriteNameTable(out, utf8, kBlockTableTitle, kBlockNameHead, report.Tables.Blocks);
  out.Append('\n');
  WriteNameTable(out, utf8, kTextTableTitle, kTextHead, report.Tables.Texts);
  out.Append('\n');
  WriteCheckTable(out, utf8, report.Tables.Checks);
}

}  // namespace jwcount
