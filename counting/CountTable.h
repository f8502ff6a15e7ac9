// One count table: element categories (columns) against one attribute (rows), with the row layouts of the
// five tables and the rows and columns an element is counted in.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "counting/Quantities.h"
#include "tempfile/BulkMemory.h"
#include "tempfile/ReaderState.h"

namespace jwcount {

// What column 0 of a table shows. The labels follow from the row number alone, so a table renders
// them on demand instead of holding 30000 strings.
enum class RowLabels : uint8_t {
  kNone,        // not written yet: column 0 is blank
  kLayer,       // 0－0 ... F－F with 0－計 ... F－計, blank separator rows and 合計
  kLayerGroup,  // [0] ... [F], 合計
  kLineColour,  // 線色1 ... 線色10, SXF1 ... SXF256, ？, 合計
  kLineType,    // 線種1 ... 線種19, SXF1 ... SXF32, ？, 合計
  kLineWidth,   // 0 ... 30000, ？, 合計; cell (0, 0) reads 線幅
};

// The quantities of one row, summed in reading order: lengths in mm, area in mm². A sum beyond the range of
// a double is infinite.
struct RowQuantities {
  double LineLength = 0;   // lines
  double CurveLength = 0;  // circles and arcs
  double Length = 0;       // both
  double Area = 0;         // solids

  // Adds another row's quantities field by field, in this order.
  RowQuantities& operator+=(const RowQuantities& q) {
    LineLength += q.LineLength;
    CurveLength += q.CurveLength;
    Length += q.Length;
    Area += q.Area;
    return *this;
  }
};

// A fixed-size table of 14 columns: row 0 holds the column heads, column 0 the row labels (Shift-JIS),
// every other cell a count that is either blank (never counted) or a number ("0" included). Beside its
// counts every row holds the quantities of the elements counted in it.
//
// Counts are held as integers and rendered on demand. A count cell is blank until it is set or
// tallied: tallying only ever raises a count above 0, and Set marks the cell as written, so a cell
// reads blank exactly when its count is 0 and it was never set.
//
// A count writes a few of the rows (a drawing uses a handful of line widths among 30,001), so the table
// keeps a bitmap of the rows written since it was last cleared: clearing empties those rows alone and the
// totals add those rows alone. Every other row holds nothing (blank cells, quantities 0).
class CountTable {
 public:
  static constexpr int kColumns = 14;

  explicit CountTable(int rows);

  int RowCount() const;
  // The text of cell (column, row): Shift-JIS bytes, "" for a blank cell and for a cell outside the
  // table. Cheap enough to call for every visible cell of a grid.
  std::string CellText(int column, int row) const;

  // Every count cell blank, no heads and no labels: the state of a new table. Costs the rows written since
  // the last Clear, not the whole table.
  void Clear();
  // Clear, then the heads and the row labels: the state a count starts from.
  void Reset(RowLabels labels);
  // Writes the heads of columns 1 to 13 into row 0.
  void WriteHeads();
  // Writes the row labels of column 0 (and, for the width table, the corner cell).
  void WriteRowLabels(RowLabels labels);

  // True when the count cell (column >= 1, row >= 1) holds no number; also true outside the table.
  bool IsBlank(int column, int row) const;
  // The count cell read as a number: 0 for a blank cell and for a cell outside the table.
  int32_t Count(int column, int row) const;
  // Writes a number into the count cell (column >= 1, row >= 1); ignored outside the table.
  void Set(int column, int row, int32_t value);
  // Adds 1 to the count cell. The caller guarantees 1 <= column <= 13 and 1 <= row < RowCount(). A count
  // stops at the largest 32-bit value instead of wrapping to a negative number.
  void Increment(int column, int row) {
    int32_t& cell = counts_[Cell(column, row)];
    // The row is marked when its cell is first counted, behind a branch that is almost never taken: a cell
    // above 0 lies in a row marked already. (An OR into the bitmap for every element would chain each
    // element's tally to the one before through the same bitmap word, several cycles per element.)
    if (cell == 0) MarkUsed(row);
    cell += static_cast<int32_t>(cell != std::numeric_limits<int32_t>::max());
  }
  // Increment, and adds the element's quantities to the row's. One call for both, so that the count marks
  // the row that holds the quantities.
  void Increment(int column, int row, const ElementQuantity& q) {
    Increment(column, row);
    // The element's length is its line length plus its curve length, one of the two always 0.
    quantities_[row] += RowQuantities{q.LineLength, q.CurveLength, q.LineLength + q.CurveLength, q.Area};
  }

  // The quantities of a row; all 0 outside the table.
  RowQuantities Quantities(int row) const;
  // Writes a row's quantities; ignored outside the table.
  void SetQuantities(int row, const RowQuantities& q);

  // The first row at or after `row` that was tallied, Set or given quantities since the table was last
  // cleared; RowCount() when there is none. Every row in between reads blank, with quantities 0, so a walk
  // over the rows that hold something costs those rows and a bit per row of the table.
  int NextUsedRow(int row) const;

 private:
  static std::size_t Cell(int column, int row) {
    return static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column);
  }
  bool IsCountCell(int column, int row) const;
  std::string RowLabel(int row) const;
  void MarkUsed(int row) {
    const std::size_t word = static_cast<std::size_t>(row) >> 6;
    usedRows_[word] |= uint64_t{1} << (static_cast<unsigned>(row) & 63);
    usedWords_[word >> 6] |= uint64_t{1} << (word & 63);
  }

  std::size_t QuantitiesOffset() const;
  std::size_t CellBytes() const;

  int rows_;
  bool headsWritten_ = false;
  RowLabels labels_ = RowLabels::kNone;
  // Zeroed cells taken once, when the table is made, and not touched until written: a table of 30,000 rows
  // (3 MB) where a count uses a few rows costs a few pages, not hundreds of page faults.
  ZeroedBlock cells_;                    // the counts, the written flags, then the quantities
  int32_t* counts_ = nullptr;            // rows_ x kColumns; header cells stay 0
  uint8_t* written_ = nullptr;           // 1 where Set wrote the cell, so a written "0" is not blank
  RowQuantities* quantities_ = nullptr;  // rows_; row 0 stays 0
  std::vector<uint64_t> usedRows_;       // bit r: row r was written since the last Clear
  std::vector<uint64_t> usedWords_;      // bit w: word w of usedRows_ is not 0 (a walk skips 4096 rows a bit)
};

// Row layout of the five tables.
inline constexpr int kLayersPerGroup = 16;
inline constexpr int kSg1Rows = 290;
inline constexpr int kSg1TotalRow = 289;
inline constexpr int kSg1RowsPerGroup = 18;  // 16 layers, the subtotal, a separator
inline constexpr int kSg2Rows = 18;
inline constexpr int kSg2TotalRow = 17;
inline constexpr int kSg3Rows = 269;
inline constexpr int kSg3OtherRow = 267;
inline constexpr int kSg3TotalRow = 268;
inline constexpr int kSg4Rows = 54;
inline constexpr int kSg4OtherRow = 52;
inline constexpr int kSg4TotalRow = 53;
inline constexpr int kSg5Rows = 30004;
inline constexpr int kSg5OtherRow = 30002;
inline constexpr int kSg5TotalRow = 30003;

// The SG1 row of layer l in group g, and of group g's subtotal (g and l 0 to 15).
constexpr int LayerRow(int group, int layer) {
  return group * kSg1RowsPerGroup + layer + 1;
}
constexpr int GroupSubtotalRow(int group) {
  return group * kSg1RowsPerGroup + 17;
}

// Rows of an attribute value: its own row when it has one, else the "？" row.
constexpr int LineColourRow(int32_t colour) {
  if (colour >= 1 && colour <= 10) return colour;
  if (colour >= 101 && colour <= 356) return colour - 90;
  return kSg3OtherRow;
}
constexpr int LineTypeRow(int32_t type) {
  if (type >= 1 && type <= 19) return type;
  if (type >= 31 && type <= 62) return type - 11;
  return kSg4OtherRow;
}
constexpr int LineWidthRow(int32_t width) {
  if (width >= 0 && width <= 30000) return width + 1;
  return kSg5OtherRow;
}

// The column in which elements of a kind are counted: 1 to 13, or 0 for a kind outside 1 to 15. The table
// lies outside the function, so that the tally reads it where it is rather than building a copy on the
// stack for every element.
inline constexpr int8_t kColumnOfKind[16] = {0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13};
constexpr int KindColumn(int32_t kind) {
  const auto index = static_cast<uint32_t>(kind);
  return index < 16 ? kColumnOfKind[index] : 0;
}

}  // namespace jwcount
