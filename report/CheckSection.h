// The drawing checks as a section (page 10). One row per check with the number of elements it found and the
// layers they lie on, the duplicates split into those with an earlier twin on their own layer and the
// rest, and under 重複 a row per kind with duplicates; or, when no check found anything, the one line that
// says so. The CSV report holds the checks that found something.
#pragma once

#include <string>
#include <vector>

#include "counting/DrawingChecks.h"
#include "report/Section.h"

namespace jwcount {

class CheckSection final : public OwnFormSection {
 public:
  static constexpr int kCheckColumn = 0;
  static constexpr int kCountColumn = 1;
  static constexpr int kSameLayerColumn = 2;
  static constexpr int kOtherLayerColumn = 3;
  static constexpr int kLayersColumn = 4;

  explicit CheckSection(const DrawingChecks& checks) : checks_(checks) {}

  std::string_view Id() const override { return "checks"; }
  std::string_view Title() const override;
  std::string_view SheetName() const override;  // チェック
  int ColumnCount() const override { return 5; }
  int RowCount() const override;
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  int ColumnWidth(int column) const override;
  bool RightAligned(int column) const override {
    return column >= kCountColumn && column <= kOtherLayerColumn;
  }
  // A check's row covers every element it found; a kind's row under 重複, that kind's duplicates. A
  // duplicate is every later element of its key: the first stays unmarked.
  ElementCover RowCover(int row) const override;

 private:
  void WriteText(SectionText& out) const override;
  void WriteCsv(SectionCsv& out) const override;
  // In the JSON report each check's number under its key (the duplicates also on their own layer and by
  // kind).
  void WriteJsonValue(JsonWriter& json) const override;

  const DrawingChecks& checks_;
};

// The rows of every check that found something, the kinds under 重複 left out: what page 1's mark command
// and `jwcount-cli mark --checks` mark.
std::vector<ElementCover> CheckCovers(const DrawingChecks& checks);

}  // namespace jwcount
