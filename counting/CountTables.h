// The five count tables of one count with the tables of blocks and texts and the checks, the tally that
// fills them element by element, and their totals.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "counting/CountTable.h"
#include "counting/CountTexts.h"
#include "counting/DrawingChecks.h"
#include "counting/NameCountTable.h"
#include "counting/Quantities.h"
#include "counting/RowNames.h"
#include "tempfile/Records.h"

namespace jwcount {

struct CountTables {
  CountTable SG1{kSg1Rows};  // by layer group and layer
  CountTable SG2{kSg2Rows};  // by layer group
  CountTable SG3{kSg3Rows};  // by line colour
  CountTable SG4{kSg4Rows};  // by line type
  CountTable SG5{kSg5Rows};  // by line width
  NameCountTable Blocks;     // block insertions by block name, filled in the same tally
  NameCountTable Texts;      // texts by their content, filled in the same tally
  DrawingChecks Checks;      // what may be garbage, over every element read
};

// The five count tables, described once, in page order: the id every output, file and selector spells a
// table by, the title of its page, what one of its rows is (the grouping of page 8 and the comparison's
// 表 column, Shift-JIS) and where a count keeps it.
struct CountTableRow {
  CountTableId Which;
  std::string_view Id;
  std::string_view Title;
  std::string_view Grouping;
  CountTable CountTables::*Table;

  const CountTable& Of(const CountTables& tables) const { return tables.*Table; }
};
inline constexpr std::array<CountTableRow, 5> kCountTableList = {{
    {CountTableId::kSG1, "SG1", kTableTitles[0], kQuantityGroupings[0], &CountTables::SG1},
    {CountTableId::kSG2, "SG2", kTableTitles[1], kQuantityGroupings[1], &CountTables::SG2},
    {CountTableId::kSG3, "SG3", kTableTitles[2], kQuantityGroupings[2], &CountTables::SG3},
    {CountTableId::kSG4, "SG4", kTableTitles[3], kQuantityGroupings[3], &CountTables::SG4},
    {CountTableId::kSG5, "SG5", kTableTitles[4], kQuantityGroupings[4], &CountTables::SG5},
}};
constexpr const CountTableRow& CountTableOf(CountTableId which) {
  return kCountTableList[static_cast<std::size_t>(which)];
}
// The table of an id ("SG1", any case); nullptr for none.
const CountTableRow* FindCountTable(std::string_view id);

// Empties all five tables and writes their column heads, SG5's corner "線幅" and their row labels; empties
// the block-name and text tables and the checks.
void PrepareCountTables(CountTables& tables);

// Adds 1 for the element in its kind's column of SG1, SG3, SG4 and SG5, and its quantities to the same
// rows. Does nothing for a kind outside 1 to 15, and (since no such element can be stored) for a layer
// group or layer outside 0 to 15.
void TallyEntity(CountTables& tables, int32_t kind, const EntityAttributes& attributes,
                 const ElementQuantity& quantity = {});

// TallyEntity for count elements at once: kinds[i] with attributes[i] and quantities[i], in order.
void TallyEntities(CountTables& tables, const int32_t* kinds, const EntityAttributes* attributes,
                   const ElementQuantity* quantities, int count);

// Writes the SG1 grand totals and group subtotals, the SG3, SG4 and SG5 totals, and fills SG2 from SG1,
// the quantities by the same rules as the counts.
void FinishCountTables(CountTables& tables);

}  // namespace jwcount
