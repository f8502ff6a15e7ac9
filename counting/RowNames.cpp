#include "counting/RowNames.h"

#include "counting/CountTable.h"

namespace jwcount {

std::string_view RowName(const DrawingState& drawing, CountTableId table, int row) {
  if (table == CountTableId::kSG1 && row >= 1 && row < kSg1TotalRow) {
    const int group = (row - 1) / kSg1RowsPerGroup;
    const int place = (row - 1) % kSg1RowsPerGroup;  // 0 to 15 the layers, 16 the subtotal, 17 blank
    if (place < kGroupCount) return drawing.LayerNames[static_cast<std::size_t>(group * kGroupCount + place)];
    if (row == GroupSubtotalRow(group)) return drawing.GroupNames[static_cast<std::size_t>(group)];
    return {};
  }
  if (table == CountTableId::kSG2 && row >= 1 && row <= kGroupCount) {
    return drawing.GroupNames[static_cast<std::size_t>(row - 1)];
  }
  return {};
}

}  // namespace jwcount
