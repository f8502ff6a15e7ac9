#include "report/CountSection.h"

#include <utility>
#include <vector>

#include "counting/CountTexts.h"
#include "report/QuantityText.h"
#include "report/SheetTexts.h"

namespace jwcount {
namespace {

constexpr std::string_view kWidthLabel = "\x90\xFC\x95\x9D ";  // "線幅 " before a width

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

}  // namespace

std::string_view CountSection::Id() const {
  return CountTableOf(id_).Id;
}

std::string_view CountSection::Title() const {
  return CountTableOf(id_).Title;
}

std::string_view CountSection::SheetName() const {
  const std::string_view title = Title();
  return title.substr(0, title.find(' '));
}

std::string_view CountSection::RowTip(int row) const {
  if (table_.CellText(0, row).empty()) return {};
  return RowName(drawing_, id_, row);
}

ElementCover CountSection::RowCover(int row) const {
  ElementCover cover;
  // A row the count never wrote counts nothing; most rows of the width table are such rows.
  if (row < 1 || table_.NextUsedRow(row) != row) return cover;
  const std::string head = table_.CellText(0, row);
  if (head.empty()) return cover;  // a separator
  cover.From = ElementCover::Source::kCountRow;
  cover.Table = id_;
  cover.Row = row;
  // A width alone is a bare number: the notice says what it is.
  if (id_ == CountTableId::kSG5 && row < kSg5OtherRow) cover.Label = kWidthLabel;
  cover.Label += head;
  for (int column = 1; column < CountTable::kColumns; ++column) cover.Count += table_.Count(column, row);
  return cover;
}

std::string CountSection::RowHead(SectionText& out, int row) const {
  std::string head = out.Utf8(table_.CellText(0, row));
  const std::string_view name = RowName(drawing_, id_, row);
  if (!name.empty()) {
    head += ' ';
    head += out.Name(name);
  }
  return head;
}

void CountSection::WriteText(SectionText& out) const {
  std::vector<int> shown = RowsToShow(table_);
  shown.insert(shown.begin(), 0);
  std::vector<std::vector<std::string>> rows;
  for (const int row : shown) {
    std::vector<std::string>& cells = rows.emplace_back(CountTable::kColumns);
    cells[0] = RowHead(out, row);
    for (int column = 1; column < CountTable::kColumns; ++column)
      cells[static_cast<std::size_t>(column)] = out.Utf8(table_.CellText(column, row));
  }
  out.Table(Title(), rows);
  WriteQuantities(out);
}

// The table's lengths and areas: the rows that hold any and the total, in m and ㎡; nothing when the
// drawing measures nothing.
void CountSection::WriteQuantities(SectionText& out) const {
  if (!HasQuantities(table_)) return;
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string>& heads = rows.emplace_back(1 + kQuantityHeads.size());
  heads[0] = out.Utf8(CountTableOf(id_).Grouping);
  for (std::size_t i = 0; i < kQuantityHeads.size(); ++i) heads[i + 1] = out.Utf8(kQuantityHeads[i]);
  for (const int row : QuantityRows(table_)) {
    std::vector<std::string>& cells = rows.emplace_back();
    cells.push_back(RowHead(out, row));
    const auto figures = QuantityFigures(table_.Quantities(row));
    for (std::size_t i = 0; i < figures.size(); ++i)
      cells.push_back(out.Utf8(ShownQuantity(figures[i], i == figures.size() - 1)));
  }
  const std::string_view title = Title();
  std::string sectionTitle(title.substr(0, title.find(' ') + 1));
  sectionTitle += kQuantityTitle;
  out.BlankLine();
  out.Table(sectionTitle, rows);
}

// Lengths (mm) and areas (mm²) of every row, head and separator rows 0, a sum beyond the range of a
// double null.
void CountSection::WriteJson(SectionJson& out) const {
  JsonWriter& json = out.Json;
  if (out.Member == "tables") {
    json.Newline();
    json.Key(Id());
    WriteJsonRows(json, *this);
  } else if (out.Member == "quantities") {
    std::vector<double> lengths;
    std::vector<double> areas;
    for (int row = 0; row < table_.RowCount(); ++row) {
      const RowQuantities q = table_.Quantities(row);
      lengths.push_back(q.Length);
      areas.push_back(q.Area);
    }
    json.Newline();
    json.Key(Id());
    json.BeginObject();
    json.ArrayField("length", lengths);
    json.Newline();
    json.ArrayField("area", areas);
    json.EndObject();
  }
}

void CountSection::WriteCsv(SectionCsv& out) const {
  for (int row = 1; row < table_.RowCount(); ++row) {
    const std::string_view name = RowName(drawing_, id_, row);
    std::string label;
    for (int column = 1; column < CountTable::kColumns; ++column) {
      if (table_.Count(column, row) == 0) continue;
      if (label.empty()) label = table_.CellText(0, row);
      out.Record(Title(), label, name, table_.CellText(column, 0), table_.CellText(column, row));
    }
    // Then the row's length and area, when it has any, in mm and mm² at full precision.
    const RowQuantities q = table_.Quantities(row);
    const std::pair<std::string_view, double> quantities[] = {{kLengthMmHead, q.Length},
                                                              {kAreaMm2Head, q.Area}};
    for (const auto& [head, value] : quantities) {
      if (value == 0) continue;
      if (label.empty()) label = table_.CellText(0, row);
      out.Record(Title(), label, name, head, ExactQuantity(value));
    }
  }
}

void CountSection::WriteSheet(SectionSheet& out) const {
  const auto name = [&out](std::string_view text) { text.empty() ? out.Blank() : out.Text(text); };
  if (out.Member == "tables") {
    const std::string corner = table_.CellText(0, 0);
    std::vector<std::string> heads{corner.empty() ? std::string(CountTableOf(id_).Grouping) : corner,
                                   std::string(kNameHead)};
    for (int column = 1; column < CountTable::kColumns; ++column) heads.push_back(table_.CellText(column, 0));
    out.Begin(SheetName(), heads);
    for (const int row : RowsToShow(table_)) {
      out.Text(table_.CellText(0, row));
      name(RowName(drawing_, id_, row));
      for (int column = 1; column < CountTable::kColumns; ++column) {
        // A count as the page shows it: a blank cell stays blank, a 0 the page shows is 0.
        table_.CellText(column, row).empty() ? out.Blank() : out.Whole(table_.Count(column, row));
      }
      out.EndRow();
    }
  } else if (out.Member == "quantities" && HasQuantities(table_)) {
    std::vector<std::string> heads{std::string(kGroupingHead), std::string(kRowHead), std::string(kNameHead)};
    heads.insert(heads.end(), kQuantityHeads.begin(), kQuantityHeads.end());
    out.Begin(kQuantityTitle, heads);
    for (const int row : QuantityRows(table_)) {
      out.Text(CountTableOf(id_).Grouping);
      out.Text(table_.CellText(0, row));
      name(RowName(drawing_, id_, row));
      const auto figures = QuantityFigures(table_.Quantities(row));
      for (std::size_t i = 0; i < figures.size(); ++i)
        out.Figure(figures[i] / (i == figures.size() - 1 ? 1e6 : 1e3), 3);
      out.EndRow();
    }
  }
}

}  // namespace jwcount
