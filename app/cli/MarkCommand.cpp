#include "app/cli/MarkCommand.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "report/CheckSection.h"
#include "report/CountSection.h"
#include "report/NameSection.h"
#include "report/TakeoffSection.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

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
  const CountTableRow* Table;
  int Row;
};
std::optional<TableRow> ParseTableRow(std::string_view text) {
  const std::size_t colon = text.find(':');
  const CountTableRow* table = FindCountTable(text.substr(0, colon));
  if (colon == std::string_view::npos || table == nullptr) return std::nullopt;
  int row = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data() + colon + 1, end, row);
  if (error != std::errc{} || last != end || colon + 1 == text.size()) return std::nullopt;
  return TableRow{table, row};
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// The items of the sheet named `selector.value` (in the trade it names, if any).
void AddItems(const TakeoffResult& takeoff, const MarkSelector& selector, std::vector<ElementCover>& covers) {
  for (const TakeoffItem& item : takeoff.Sheet.Items) {
    const TakeoffItemDef& def = takeoff.Rules.Items[static_cast<std::size_t>(item.Def)];
    if (ShiftJisToUtf8(def.Name) != selector.value) continue;
    if (selector.trade && ShiftJisToUtf8(def.Trade) != *selector.trade) continue;
    if (item.Elements > 0) covers.push_back(TakeoffItemCover(takeoff, item));
  }
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
          const CheckListRow* check = FindCheckByCliName(selector.value);  // the parser knows the names
          if (check != nullptr && cover.Check == check->Id) result.Covers.push_back(std::move(cover));
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
      case MarkSelector::By::kItem:
        if (report.Takeoff) AddItems(*report.Takeoff, selector, result.Covers);
        nothing = "no item " + Quoted(selector.value) +
                  (selector.trade ? " of " + Quoted(*selector.trade) : "") + " takes an element";
        break;
      case MarkSelector::By::kUnassigned:
        if (report.Takeoff && report.Takeoff->Sheet.Unassigned.Elements > 0)
          result.Covers.push_back(UnassignedCover(*report.Takeoff, 0));
        nothing = "every element is taken by a rule";
        break;
      case MarkSelector::By::kRow: {
        const std::optional<TableRow> place = ParseTableRow(selector.value);
        if (!place) {
          result.Error = "--row takes TABLE:ROW, such as SG1:47, not " + Quoted(selector.value);
          return result;
        }
        const CountTableRow& table = *place->Table;
        ElementCover cover = CountSection(table.Of(tables), drawing, table.Which).RowCover(place->Row);
        if (cover.CoversAny()) result.Covers.push_back(std::move(cover));
        nothing = "row " + std::to_string(place->Row) + " of " + std::string(table.Id) + " counts no element";
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
