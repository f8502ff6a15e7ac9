#include "report/CountReport.h"

#include "counting/CountTexts.h"

namespace jwcount {

std::array<NamedTable, 5> NamedTables(const CountTables& tables) {
  return {{
      {"SG1", CountTableId::kSG1, kTableTitles[0], tables.SG1},
      {"SG2", CountTableId::kSG2, kTableTitles[1], tables.SG2},
      {"SG3", CountTableId::kSG3, kTableTitles[2], tables.SG3},
      {"SG4", CountTableId::kSG4, kTableTitles[3], tables.SG4},
      {"SG5", CountTableId::kSG5, kTableTitles[4], tables.SG5},
  }};
}

}  // namespace jwcount
