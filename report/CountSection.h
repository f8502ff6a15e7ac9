// A count table as a section (pages 2 to 6): every row in the window, its heads in row 0 and its row
// labels in column 0, the rows of SG1 and SG2 carrying the names of their layers and layer groups as tips;
// in the reports, the rows that hold a count and the total, then the table's lengths and areas.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "counting/CountTable.h"
#include "counting/RowNames.h"
#include "report/Section.h"

namespace jwcount {

class CountSection final : public OwnFormSection {
 public:
  CountSection(const CountTable& table, const DrawingState& drawing, CountTableId id)
      : table_(table), drawing_(drawing), id_(id) {}

  std::string_view Id() const override;
  std::string_view Title() const override;
  // The title without 要素数: レイヤグループ・レイヤ別, ..., 線幅別.
  std::string_view SheetName() const override;
  // In the JSON report the table's rows under "tables" and its lengths and areas under "quantities".
  std::vector<std::string_view> JsonMembers() const override { return {"tables", "quantities"}; }

  int ColumnCount() const override { return CountTable::kColumns; }
  int RowCount() const override { return table_.RowCount(); }
  std::string CellText(int column, int row) const override { return table_.CellText(column, row); }
  std::string_view RowTip(int row) const override;
  // A row covers the elements counted in it; a subtotal or total row, those of the rows it sums.
  ElementCover RowCover(int row) const override;

 private:
  // The head of a row as the reports show it, with the name the drawing gives its layer or group.
  std::string RowHead(SectionText& out, int row) const;
  void WriteText(SectionText& out) const override;
  void WriteQuantities(SectionText& out) const;
  void WriteCsv(SectionCsv& out) const override;
  void WriteJson(SectionJson& out) const override;
  // The sheet of its counts (the rows that hold one, and the total; each row's name beside its head), and
  // its part of 長さ・面積 (its rows with a length or an area, in m and ㎡, after the grouping's name).
  void WriteSheet(SectionSheet& out) const override;

  const CountTable& table_;
  const DrawingState& drawing_;
  CountTableId id_;
};

}  // namespace jwcount
