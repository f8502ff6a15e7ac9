#include "app/cli/MarkCommand.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "report/CheckSection.h"
#include "report/CountSection.h"
#include "report/NameSection.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// The check of an id, as `--checks=ID` names it (the parser knows the ids).
CheckId CheckOf(std::string_view id) {
  if (id == "zero-length-lines") return CheckId::kZeroLengthLines;
  if (id == "zero-radius") return CheckId::kZeroRadius;
  if (id == "empty-texts") return CheckId::kEmptyTexts;
  return CheckId::kDuplicates;
}

// Every name of the table that reads `utf8` in UTF-8: the drawing's bytes of it (two code-page-932 forms of
// one character both match).
void AddNames(const NameCountTable& table, NameSection::Which which, std::string_view utf8,
              std::vector<ElementCover>& covers) {
  for (const NameCountRow& row : table.Rows()) {
    if (ShiftJisToUtf8(row.Name) == utf8) covers.push_back(NameSection::NameCover(which, row));
  }
}

// "SG1:47" as a table and a row; nothing for any other text.
struct TableRow {
  CountTableId Table;
  int Row;
};
std::optional<TableRow> ParseTableRow(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon != 3 || (text[0] != 'S' && text[0] != 's') || (text[1] != 'G' && text[1] != 'g') ||
      text[2] < '1' || text[2] > '5')
    return std::nullopt;
  int row = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data() + colon + 1, end, row);
  if (error != std::errc{} || last != end || colon + 1 == text.size()) return std::nullopt;
  return TableRow{static_cast<CountTableId>(text[2] - '1'), row};
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

}  // namespace

SelectorCovers CoversOfSelectors(const std::vector<MarkSelector>& selectors, const CountReport& report,
                                 const DrawingState& drawing) {
  SelectorCovers result;
  const CountTables& tables = report.Tables;
  for (const MarkSelector& selector : selectors) {
    const std::size_t before = result.Covers.size();
    std::string nothing;
    switch (selector.by) {
      case MarkSelector::By::kChecks:
        for (ElementCover& cover : CheckCovers(tables.Checks)) result.Covers.push_back(std::move(cover));
        nothing = "the drawing checks found nothing";
        break;
      case MarkSelector::By::kCheck:
        for (ElementCover& cover : CheckCovers(tables.Checks)) {
          if (cover.Check == CheckOf(selector.value)) result.Covers.push_back(std::move(cover));
        }
        nothing = "the check " + Quoted(selector.value) + " found nothing";
        break;
      case MarkSelector::By::kBlock:
        AddNames(tables.Blocks, NameSection::kBlocks, selector.value, result.Covers);
        nothing = "no block is named " + Quoted(selector.value);
        break;
      case MarkSelector::By::kText:
        AddNames(tables.Texts, NameSection::kTexts, selector.value, result.Covers);
        nothing = "no text reads " + Quoted(selector.value);
        break;
      case MarkSelector::By::kRow: {
        const std::optional<TableRow> place = ParseTableRow(selector.value);
        if (!place) {
          result.Error = "--row takes TABLE:ROW, such as SG1:47, not " + Quoted(selector.value);
          return result;
        }
        const NamedTable named = NamedTables(tables)[static_cast<std::size_t>(place->Table)];
        ElementCover cover = CountSection(named.Table, drawing, place->Table).RowCover(place->Row);
        if (cover.CoversAny()) result.Covers.push_back(std::move(cover));
        nothing = "row " + std::to_string(place->Row) + " of " + named.Id + " counts no element";
        break;
      }
    }
    if (result.Covers.size() == before) {
      result.Error = std::move(nothing);
      return result;
    }
  }
  return result;
}

}  // namespace jwcount
