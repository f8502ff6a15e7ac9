// Elements by a name they carry as a section: the blocks by block name (page 7) and the texts by their
// content (page 9). In the window, the names in the order the count first met them, or sorted by name or by
// count, ascending or descending, under the head row and above the total row; in the reports, the names in
// the order first met, then 合計.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "counting/NameCountTable.h"
#include "report/Section.h"

namespace jwcount {

enum class NameOrder : uint8_t { kAppearance, kName, kCount };

// Names sort as a Japanese user reads a list in code order (JIS order, which Shift-JIS bytes follow):
// symbols and digits, Latin letters, full-width forms, hiragana, katakana, then kanji, the first-level
// kanji in the order of their readings. Two folds make alike names meet: half-width katakana sort as their
// full-width forms (ﾄｲﾚ with トイレ, ｶﾞ with ガ), and ASCII letters without regard to case. A byte that
// starts no character sorts as the byte it is. These are the bytes a name sorts by in that order: its own,
// with half-width katakana as full-width and ASCII letters in lower case.
std::string NameSortKey(std::string_view name);

// The row numbers of table.Rows(), each once, in the given order. The sort is stable in both directions:
// rows that compare equal keep the order in which the count first met them.
std::vector<int32_t> SortNameRows(const NameCountTable& table, NameOrder order, bool descending);

// A name as a page shows it: a text of nothing as （空）, and one of only half- and full-width blanks in
// 「」, so that the two can be told apart and from a row left blank (Shift-JIS). Other names as they are.
std::string ShownName(std::string_view name);
// True for a name ShownName shows in brackets: nothing, or blanks alone.
bool IsBlankName(std::string_view name);

class NameSection final : public OwnFormSection {
 public:
  enum Which { kBlocks, kTexts };
  static constexpr int kNameColumn = 0;
  static constexpr int kCountColumn = 1;

  NameSection(Which which, const NameCountTable& table) : which_(which), table_(table) {}

  std::string_view Id() const override;
  std::string_view Title() const override;
  // ブロック or 文字.
  std::string_view SheetName() const override;
  // The rows as the count left them, in order of first appearance, sorted by nothing.
  void Reset();
  void Refresh() override { Reset(); }
  // A click on a head: sorts ascending by that column, or, when the list is sorted by it already, turns
  // the order round.
  bool SortBy(int column) override;

  int ColumnCount() const override { return 2; }
  int RowCount() const override { return static_cast<int>(order_.size()) + 2; }
  // No head column, so the names can be selected and copied like the counts.
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  // A text of nothing or of blanks alone is drawn as ShownName shows it, in grey, so that its row can be
  // told from a row left blank; CellText keeps the text's own bytes. Block names are drawn as they are.
  std::string ShownText(int column, int row) const override;
  bool Dimmed(int column, int row) const override;
  int SortMark(int column) const override;
  // The name column is wide enough for typical names.
  int ColumnWidth(int column) const override { return column == kNameColumn ? 200 : 64; }
  // A name's row covers every element of that name; 合計, every block or every text.
  ElementCover RowCover(int row) const override;
  // The cover of one name of the table.
  static ElementCover NameCover(Which which, const NameCountRow& row);

 private:
  std::string_view NameHead() const;  // Shift-JIS
  void WriteText(SectionText& out) const override;
  void WriteCsv(SectionCsv& out) const override;
  // In the JSON report each name as shown, its exact bytes and its count.
  void WriteJsonValue(JsonWriter& json) const override;
  // In the workbook each name's own bytes and its count, in the order first met.
  void WriteSheet(SectionSheet& out) const override;

  Which which_;
  const NameCountTable& table_;
  std::vector<int32_t> order_;
  NameOrder key_ = NameOrder::kAppearance;
  bool descending_ = false;
};

}  // namespace jwcount
