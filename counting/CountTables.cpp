// The five count tables as one: their layouts, the tally of the elements into them and their totals.
#include "counting/CountTables.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace jwcount {
namespace {

// Sums are taken in 64 bits. A column never holds more than the number of elements, itself a 32-bit
// count, so the clamp only guards against a table filled by other means.
int32_t ClampedSum(int64_t sum) {
  return static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
}

// The sums of some rows of a table: counts in 64 bits, quantities in row order.
struct RowSums {
  int64_t Counts[CountTable::kColumns] = {};
  RowQuantities Quantities;

  void Add(const CountTable& table, int row) {
    for (int k = 1; k < CountTable::kColumns; ++k) Counts[k] += table.Count(k, row);
    Quantities += table.Quantities(row);
  }
  void WriteTo(CountTable& table, int row) const {
    for (int k = 1; k < CountTable::kColumns; ++k) table.Set(k, row, ClampedSum(Counts[k]));
    table.SetQuantities(row, Quantities);
  }
};

// Sets every count column and the quantities of `row` to the sums of rows first to last (inclusive). Only
// the rows in use are added: the others hold counts of 0 and quantities of +0.0, and a sum that starts at
// +0.0 stays the same double when +0.0 is added (it is never -0.0), so the sums are those of every row in
// order.
void WriteColumnSums(CountTable& table, int first, int last, int row) {
  RowSums sums;
  for (int r = table.NextUsedRow(first); r <= last; r = table.NextUsedRow(r + 1)) sums.Add(table, r);
  sums.WriteTo(table, row);
}

// SG1: the grand total over the 256 layer rows in use (in row order, which is group by group and layer by
// layer, leaving out the subtotal and separator rows), then the 16 group subtotals.
void FinishLayerTable(CountTable& sg1) {
  RowSums total;
  for (int r = sg1.NextUsedRow(LayerRow(0, 0)); r <= LayerRow(kGroupCount - 1, kLayersPerGroup - 1);
       r = sg1.NextUsedRow(r + 1)) {
    if ((r - 1) % kSg1RowsPerGroup < kLayersPerGroup) total.Add(sg1, r);
  }
  total.WriteTo(sg1, kSg1TotalRow);
  for (int g = 0; g < kGroupCount; ++g) {
    WriteColumnSums(sg1, LayerRow(g, 0), LayerRow(g, kLayersPerGroup - 1), GroupSubtotalRow(g));
  }
}

// Copies a row of one table into a row of another, counts and quantities.
void CopyRow(const CountTable& from, int fromRow, CountTable& to, int toRow) {
  for (int k = 1; k < CountTable::kColumns; ++k) to.Set(k, toRow, from.Count(k, fromRow));
  to.SetQuantities(toRow, from.Quantities(fromRow));
}

// SG2: group g's subtotal goes to row g + 1, the grand total to row 17.
void FillGroupTable(const CountTable& sg1, CountTable& sg2) {
  for (int g = 0; g < kGroupCount; ++g) CopyRow(sg1, GroupSubtotalRow(g), sg2, g + 1);
  CopyRow(sg1, kSg1TotalRow, sg2, kSg2TotalRow);
}

// Row lookups for the attribute values that have rows of their own; everything else goes to "？".
template <int N>
struct RowTable {
  uint16_t Rows[N];
};

constexpr RowTable<357> kColourRows = [] {
  RowTable<357> t{};
  for (int c = 0; c < 357; ++c) t.Rows[c] = static_cast<uint16_t>(LineColourRow(c));
  return t;
}();

constexpr RowTable<63> kTypeRows = [] {
  RowTable<63> t{};
  for (int y = 0; y < 63; ++y) t.Rows[y] = static_cast<uint16_t>(LineTypeRow(y));
  return t;
}();

}  // namespace

const CountTableRow* FindCountTable(std::string_view id) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (const CountTableRow& row : kCountTableList) {
    if (row.Id.size() == id.size() &&
        std::equal(id.begin(), id.end(), row.Id.begin(), [&](char a, char b) { return upper(a) == b; }))
      return &row;
  }
  return nullptr;
}

void PrepareCountTables(CountTables& tables) {
  const std::pair<CountTable*, RowLabels> layouts[] = {
      {&tables.SG1, RowLabels::kLayer},      {&tables.SG2, RowLabels::kLayerGroup},
      {&tables.SG3, RowLabels::kLineColour}, {&tables.SG4, RowLabels::kLineType},
      {&tables.SG5, RowLabels::kLineWidth},
  };
  for (const auto& [table, labels] : layouts) {
    table->Reset(labels);
  }
  tables.Blocks.Clear();
  tables.Texts.Clear();
  tables.Checks = {};
}

void TallyEntity(CountTables& tables, int32_t kind, const EntityAttributes& attributes,
                 const ElementQuantity& quantity) {
  TallyEntities(tables, &kind, &attributes, &quantity, 1);
}

// The tally, kept free of string work and of unpredictable branches: it runs once per element, a million
// times for a large drawing.
void TallyEntities(CountTables& tables, const int32_t* kinds, const EntityAttributes* attributes,
                   const ElementQuantity* quantities, int count) {
  for (int i = 0; i < count; ++i) {
    const EntityAttributes& a = attributes[i];
    const int column = KindColumn(kinds[i]);
    const auto group = static_cast<uint32_t>(a.LayerGroup);
    const auto layer = static_cast<uint32_t>(a.Layer);
    // No stored element has a layer group or layer outside 0 to 15; one that had would be counted
    // nowhere rather than in a row of another table part.
    if (column == 0 || (group | layer) >= static_cast<uint32_t>(kGroupCount)) continue;
    const auto colour = static_cast<uint32_t>(a.LineColour);
    const auto type = static_cast<uint32_t>(a.LineType);
    const int row1 = LayerRow(static_cast<int>(group), static_cast<int>(layer));
    const int row3 = colour < 357 ? kColourRows.Rows[colour] : kSg3OtherRow;
    const int row4 = type < 63 ? kTypeRows.Rows[type] : kSg4OtherRow;
    const int row5 = LineWidthRow(a.LineWidth);
    // Texts, points, blocks and the like measure nothing: they skip the quantities.
    const ElementQuantity& q = quantities[i];
    if (HasQuantity(q)) {
      tables.SG1.Increment(column, row1, q);
      tables.SG3.Increment(column, row3, q);
      tables.SG4.Increment(column, row4, q);
      tables.SG5.Increment(column, row5, q);
    } else {
      tables.SG1.Increment(column, row1);
      tables.SG3.Increment(column, row3);
      tables.SG4.Increment(column, row4);
      tables.SG5.Increment(column, row5);
    }
  }
}

void FinishCountTables(CountTables& tables) {
  FinishLayerTable(tables.SG1);
  WriteColumnSums(tables.SG3, 1, kSg3OtherRow, kSg3TotalRow);
  WriteColumnSums(tables.SG4, 1, kSg4OtherRow, kSg4TotalRow);
  WriteColumnSums(tables.SG5, 1, kSg5OtherRow, kSg5TotalRow);
  FillGroupTable(tables.SG1, tables.SG2);
}

}  // namespace jwcount
