// The count tables: cells, labels, the tally of one element and the totals.
#include "counting/CountTable.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>

#include "counting/CountTexts.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

constexpr int kGroups = 16;
constexpr int kLayersPerGroup = 16;

std::string Decimal(int32_t value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

std::string Joined(std::string_view head, std::string_view tail) {
  std::string text;
  text.reserve(head.size() + tail.size());
  text.append(head);
  text.append(tail);
  return text;
}

std::string PrefixedNumber(std::string_view prefix, int32_t number) {
  return Joined(prefix, Decimal(number));
}

// SG1: rows of group g start at g * 18 + 1 with its 16 layers, then its subtotal and a blank separator.
std::string LayerLabel(int row) {
  if (row == kSg1TotalRow) return std::string(kTotalLabel);
  if (row < 1 || row > kGroups * kSg1RowsPerGroup) return {};
  const int group = (row - 1) / kSg1RowsPerGroup;
  const int place = (row - 1) % kSg1RowsPerGroup;
  const char groupDigit = HexDigitChar(static_cast<unsigned>(group));
  if (place < kLayersPerGroup) {
    std::string label(1, groupDigit);
    label.append(kFullWidthDash);
    label.push_back(HexDigitChar(static_cast<unsigned>(place)));
    return label;
  }
  if (place == kLayersPerGroup) return Joined(std::string_view(&groupDigit, 1), kSubtotalSuffix);
  return {};  // separator row
}

std::string LayerGroupLabel(int row) {
  if (row == kSg2TotalRow) return std::string(kTotalLabel);
  if (row < 1 || row > kGroups) return {};
  return {'[', HexDigitChar(static_cast<unsigned>(row - 1)), ']'};
}

std::string LineColourLabel(int row) {
  if (row >= 1 && row <= 10) return PrefixedNumber(kLineColourPrefix, row);
  if (row >= 11 && row <= 266) return PrefixedNumber(kSxfPrefix, row - 10);
  if (row == kSg3OtherRow) return std::string(kOtherLabel);
  if (row == kSg3TotalRow) return std::string(kTotalLabel);
  return {};
}

std::string LineTypeLabel(int row) {
  if (row >= 1 && row <= 19) return PrefixedNumber(kLineTypePrefix, row);
  if (row >= 20 && row <= 51) return PrefixedNumber(kSxfPrefix, row - 19);
  if (row == kSg4OtherRow) return std::string(kOtherLabel);
  if (row == kSg4TotalRow) return std::string(kTotalLabel);
  return {};
}

std::string LineWidthLabel(int row) {
  if (row == 0) return std::string(kWidthCorner);
  if (row >= 1 && row <= 30001) return Decimal(row - 1);
  if (row == kSg5OtherRow) return std::string(kOtherLabel);
  if (row == kSg5TotalRow) return std::string(kTotalLabel);
  return {};
}

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
    const RowQuantities q = table.Quantities(row);
    Quantities.LineLength += q.LineLength;
    Quantities.CurveLength += q.CurveLength;
    Quantities.Length += q.Length;
    Quantities.Area += q.Area;
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
  for (int r = sg1.NextUsedRow(LayerRow(0, 0)); r <= LayerRow(kGroups - 1, kLayersPerGroup - 1);
       r = sg1.NextUsedRow(r + 1)) {
    if ((r - 1) % kSg1RowsPerGroup < kLayersPerGroup) total.Add(sg1, r);
  }
  total.WriteTo(sg1, kSg1TotalRow);
  for (int g = 0; g < kGroups; ++g) {
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
  for (int g = 0; g < kGroups; ++g) CopyRow(sg1, GroupSubtotalRow(g), sg2, g + 1);
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

CountTable::CountTable(int rows)
    : rows_(std::max(rows, 0)),
      cells_(CellBytes()),
      usedRows_((static_cast<std::size_t>(rows_) + 63) / 64, 0),
      usedWords_((usedRows_.size() + 63) / 64, 0) {
  const std::size_t cells = static_cast<std::size_t>(rows_) * kColumns;
  counts_ = static_cast<int32_t*>(cells_.Data());
  written_ = reinterpret_cast<uint8_t*>(counts_ + cells);
  quantities_ = reinterpret_cast<RowQuantities*>(static_cast<char*>(cells_.Data()) + QuantitiesOffset());
}

// The counts, the written flags, then the quantities on an 8-byte boundary. The quantities come last so
// that the counts keep the large page a large table starts with, and the few rows a count writes
// quantities into cost a few small pages.
std::size_t CountTable::QuantitiesOffset() const {
  const std::size_t cells = static_cast<std::size_t>(rows_) * kColumns;
  const std::size_t counted = cells * (sizeof(int32_t) + sizeof(uint8_t));
  return (counted + alignof(RowQuantities) - 1) / alignof(RowQuantities) * alignof(RowQuantities);
}

std::size_t CountTable::CellBytes() const {
  return QuantitiesOffset() + static_cast<std::size_t>(rows_) * sizeof(RowQuantities);
}

int CountTable::RowCount() const {
  return rows_;
}

bool CountTable::IsCountCell(int column, int row) const {
  return column >= 1 && column < kColumns && row >= 1 && row < rows_;
}

std::string CountTable::CellText(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= rows_) return {};
  if (column == 0) return RowLabel(row);
  if (row == 0) return headsWritten_ ? std::string(kColumnHeads[column - 1]) : std::string();
  if (IsBlank(column, row)) return {};
  return Decimal(counts_[Cell(column, row)]);
}

std::string CountTable::RowLabel(int row) const {
  switch (labels_) {
    case RowLabels::kNone:
      return {};
    case RowLabels::kLayer:
      return LayerLabel(row);
    case RowLabels::kLayerGroup:
      return LayerGroupLabel(row);
    case RowLabels::kLineColour:
      return LineColourLabel(row);
    case RowLabels::kLineType:
      return LineTypeLabel(row);
    case RowLabels::kLineWidth:
      return LineWidthLabel(row);
  }
  return {};
}

int CountTable::NextUsedRow(int row) const {
  if (std::max(row, 0) >= rows_) return rows_;
  const auto start = static_cast<std::size_t>(std::max(row, 0));
  std::size_t word = start >> 6;
  uint64_t bits = usedRows_[word] & (~uint64_t{0} << (start & 63));
  if (bits == 0) {
    // The next word that holds a row in use, found through the bits of the words.
    ++word;
    std::size_t group = word >> 6;
    if (group == usedWords_.size()) return rows_;
    uint64_t words = usedWords_[group] & (~uint64_t{0} << (word & 63));
    while (words == 0) {
      if (++group == usedWords_.size()) return rows_;
      words = usedWords_[group];
    }
    word = group * 64 + static_cast<std::size_t>(std::countr_zero(words));
    bits = usedRows_[word];
  }
  return static_cast<int>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
}

void CountTable::Clear() {
  for (int r = NextUsedRow(0); r < rows_; r = NextUsedRow(r + 1)) {
    const std::size_t first = Cell(0, r);
    std::memset(counts_ + first, 0, kColumns * sizeof(int32_t));
    std::memset(written_ + first, 0, kColumns * sizeof(uint8_t));
    quantities_[r] = RowQuantities{};
  }
  for (std::size_t group = 0; group < usedWords_.size(); ++group) {
    for (uint64_t words = usedWords_[group]; words != 0; words &= words - 1)
      usedRows_[group * 64 + static_cast<std::size_t>(std::countr_zero(words))] = 0;
    usedWords_[group] = 0;
  }
  headsWritten_ = false;
  labels_ = RowLabels::kNone;
}

void CountTable::WriteHeads() {
  headsWritten_ = true;
}

void CountTable::WriteRowLabels(RowLabels labels) {
  labels_ = labels;
}

bool CountTable::IsBlank(int column, int row) const {
  if (!IsCountCell(column, row)) return true;
  const std::size_t cell = Cell(column, row);
  return counts_[cell] == 0 && written_[cell] == 0;
}

int32_t CountTable::Count(int column, int row) const {
  return IsCountCell(column, row) ? counts_[Cell(column, row)] : 0;
}

RowQuantities CountTable::Quantities(int row) const {
  return row >= 0 && row < rows_ ? quantities_[row] : RowQuantities{};
}

void CountTable::SetQuantities(int row, const RowQuantities& q) {
  if (row < 0 || row >= rows_) return;
  quantities_[row] = q;
  MarkUsed(row);
}

void CountTable::Set(int column, int row, int32_t value) {
  if (!IsCountCell(column, row)) return;
  const std::size_t cell = Cell(column, row);
  counts_[cell] = value;
  written_[cell] = 1;
  MarkUsed(row);
}

void PrepareCountTables(CountTables& tables) {
  const std::pair<CountTable*, RowLabels> layouts[] = {
      {&tables.SG1, RowLabels::kLayer},      {&tables.SG2, RowLabels::kLayerGroup},
      {&tables.SG3, RowLabels::kLineColour}, {&tables.SG4, RowLabels::kLineType},
      {&tables.SG5, RowLabels::kLineWidth},
  };
  for (const auto& [table, labels] : layouts) {
    table->Clear();
    table->WriteHeads();
    table->WriteRowLabels(labels);
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
    if (column == 0 || (group | layer) >= static_cast<uint32_t>(kGroups)) continue;
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
