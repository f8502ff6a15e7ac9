// The order of the block list (page 7): as the count first met the names, or sorted by name or by count,
// ascending or descending; and the list as a grid, its head row above the names and the total row below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/GridSource.h"
#include "counting/NameCountTable.h"

namespace jwcount {

enum class BlockSortKey : uint8_t { kAppearance, kName, kCount };

// The row numbers of table.Rows(), each once, in the order of the key. The sort is stable in both
// directions: rows that compare equal keep the order in which the count first met them.
//
// Names sort as a Japanese user reads a list in code order (JIS order, which Shift-JIS bytes follow):
// symbols and digits, Latin letters, full-width forms, hiragana, katakana, then kanji, the first-level
// kanji in the order of their readings. Two folds make alike names meet: half-width katakana sort as their
// full-width forms (ﾄｲﾚ with トイレ, ｶﾞ with ガ), and ASCII letters without regard to case. A byte that
// starts no character sorts as the byte it is.
// The bytes a name sorts by in that order: its own, with half-width katakana as full-width and ASCII
// letters in lower case.
std::string NameSortKey(std::string_view name);

std::vector<int32_t> SortBlockRows(const NameCountTable& table, BlockSortKey key, bool descending);

// A name table as a page shows it (page 7 the blocks, page 9 the texts): the heads (nameHead and 数), one
// row per name in the current order, and 合計 with the total last. No head column, so the names can be
// selected and copied like the counts.
class NameTableSource final : public GridSource {
 public:
  static constexpr int kNameColumn = 0;
  static constexpr int kCountColumn = 1;

  NameTableSource(const NameCountTable& table, std::string_view nameHead)
      : table_(table), nameHead_(nameHead) {}

  // The rows as the count left them, in order of first appearance, sorted by nothing.
  void Reset();
  void Refresh() override { Reset(); }
  // A click on a head: sorts ascending by that column, or, when the list is sorted by it already, turns
  // the order round.
  bool SortBy(int column) override;
  const std::vector<int32_t>& Order() const { return order_; }

  int ColumnCount() const override { return 2; }
  int RowCount() const override { return static_cast<int>(order_.size()) + 2; }
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  int SortMark(int column) const override;
  // The name column is wide enough for typical names.
  int ColumnWidth(int column) const override { return column == kNameColumn ? 200 : 64; }

 private:
  const NameCountTable& table_;
  std::string_view nameHead_;  // Shift-JIS
  std::vector<int32_t> order_;
  BlockSortKey key_ = BlockSortKey::kAppearance;
  bool descending_ = false;
};

}  // namespace jwcount
