// The quantity sheet as a section (page 12 数量表): the items grouped by trade, each trade closed by its
// 小計, then 合計, then a 未割当 row for each kind some element of which no rule took; or, for a rules file
// with errors, the errors by line and column. Its JSON member `takeoff` holds the sheet with where its
// rules came from.
#pragma once

#include <string>
#include <vector>

#include "report/Section.h"
#include "takeoff/Takeoff.h"

namespace jwcount {

class TakeoffSection final : public OwnFormSection {
 public:
  // The sheet's columns, in page order.
  enum Column : int {
    kTrade,
    kName,
    kGrade,
    kQuantity,
    kUnit,
    kUnitPrice,
    kAmount,
    kNote,
    kElements,
    kMeasured,
    kLoss,
    kRuleLines,
    kSheetColumns,
  };

  // `takeoff` is none where the count was made without rules.
  explicit TakeoffSection(const TakeoffResult* takeoff);

  std::string_view Id() const override { return "takeoff"; }
  std::string_view Title() const override;
  // Rules were given: the sheet, or why there is none.
  bool HasContent() const override;
  int ColumnCount() const override;
  int RowCount() const override;
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  std::string CsvText(int column, int row) const override;
  int ColumnWidth(int column) const override;
  bool RightAligned(int column) const override;
  // An item's row covers what its rules took; a 未割当 row, the elements of its kind no rule took.
  ElementCover RowCover(int row) const override;
  // Above the grid: the rules file, then the sheet's figures (SheetFigures), how many errors the rules have,
  // or why there is no sheet; or that there is no rules file.
  std::string Notice() const override;

  // What the rows of the sheet are.
  struct Row {
    enum class Kind : uint8_t { kItem, kSubtotal, kTotal, kUnassigned };
    Kind What = Kind::kItem;
    std::size_t Index = 0;  // an item or trade of the sheet, or a column 1 to 13
  };

 private:
  bool ShowsErrors() const;
  std::string SheetCell(int column, const Row& row, bool forCsv) const;
  std::string ErrorCell(int column, int row) const;
  void WriteText(SectionText& out) const override;
  void WriteCsv(SectionCsv& out) const override;
  void WriteJsonValue(JsonWriter& json) const override;
  // In the workbook the sheet with live figures: 数量 and 金額 of each item, 小計 and 合計 are formulas
  // that give our figures (and hold them), so that a unit price changed in Excel carries through.
  void WriteSheet(SectionSheet& out) const override;
  void WriteItemRow(SectionSheet& out, const TakeoffItem& item) const;

  const TakeoffResult* takeoff_;
  std::vector<Row> rows_;
};

// What an item's row marks (what its rules took), and a 未割当 row (what no rule took of a column 1 to 13, or
// of every column for 0).
ElementCover TakeoffItemCover(const TakeoffResult& takeoff, const TakeoffItem& item);
ElementCover UnassignedCover(const TakeoffResult& takeoff, int column);

// The sheet in a line: "13 品目, 合計 ￥2,067,959, 未割当 157" (items, the total amount when an item is
// priced, the elements no rule took), Shift-JIS.
std::string SheetFigures(const TakeoffSheet& sheet);

// An item's name as the comparison and the marks name it: 工種／品名／規格／単位 (Shift-JIS).
std::string TakeoffItemHead(const TakeoffItemDef& item);

}  // namespace jwcount
