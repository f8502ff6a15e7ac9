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
  if (row < 1 || row > kGroupCount * kSg1RowsPerGroup) return {};
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
  if (row < 1 || row > kGroupCount) return {};
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

void CountTable::Reset(RowLabels labels) {
  Clear();
  WriteHeads();
  WriteRowLabels(labels);
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

}  // namespace jwcount
