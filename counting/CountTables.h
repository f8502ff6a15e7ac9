// The five count tables of one count with the tables of blocks and texts and the checks, the tally that
// fills them element by element, and their totals.
#pragma once

#include <cstdint>

#include "counting/CountTable.h"
#include "counting/DrawingChecks.h"
#include "counting/NameCountTable.h"
#include "counting/Quantities.h"
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
