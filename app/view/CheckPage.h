// Page 10: the drawing checks. One row per check with the number of elements it found and the layers they
// lie on, the duplicates split into those with an earlier twin on their own layer and the rest, and under
// 重複 a row per kind with duplicates; or, when no check found anything, the one line that says so.
#pragma once

#include <string>

#include "app/view/GridSource.h"
#include "counting/DrawingChecks.h"

namespace jwcount {

class CheckTableSource final : public GridSource {
 public:
  static constexpr int kCheckColumn = 0;
  static constexpr int kCountColumn = 1;
  static constexpr int kSameLayerColumn = 2;
  static constexpr int kOtherLayerColumn = 3;
  static constexpr int kLayersColumn = 4;

  explicit CheckTableSource(const DrawingChecks& checks) : checks_(checks) {}

  int ColumnCount() const override { return 5; }
  int RowCount() const override;
  int FixedColumns() const override { return 0; }
  std::string CellText(int column, int row) const override;
  int ColumnWidth(int column) const override;
  bool RightAligned(int column) const override {
    return column >= kCountColumn && column <= kOtherLayerColumn;
  }

 private:
  const DrawingChecks& checks_;
};

}  // namespace jwcount
