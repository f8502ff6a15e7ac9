#include "app/view/CheckPage.h"

#include "counting/CountTexts.h"
#include "report/CheckText.h"

namespace jwcount {
namespace {

constexpr std::string_view kIndent = "\x81\x40";  // a full-width blank before a kind under 重複

}  // namespace

int CheckTableSource::RowCount() const {
  return checks_.Found() ? static_cast<int>(CheckRows(checks_).size()) + 1 : 2;
}

std::string CheckTableSource::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) {
    constexpr std::string_view kHeads[] = {kCheckTitle, kCountHead, kSameLayerHead, kOtherLayerHead,
                                           kLayersHead};
    return std::string(kHeads[column]);
  }
  if (!checks_.Found()) return column == kCheckColumn ? std::string(kNoProblems) : std::string();
  const CheckRow entry = CheckRows(checks_)[static_cast<std::size_t>(row - 1)];
  const bool duplicates = entry.Finding == &checks_.Duplicates;
  switch (column) {
    case kCheckColumn:
      return entry.Kind != 0 ? std::string(kIndent) + std::string(entry.Label) : std::string(entry.Label);
    case kCountColumn:
      return std::to_string(entry.Finding->Count);
    case kSameLayerColumn:
      return duplicates ? std::to_string(checks_.SameLayer) : std::string();
    case kOtherLayerColumn:
      return duplicates ? std::to_string(checks_.Duplicates.Count - checks_.SameLayer) : std::string();
    default:
      return LayersText(entry.Finding->Layers);
  }
}

int CheckTableSource::ColumnWidth(int column) const {
  constexpr int kWidths[] = {136, 48, 72, 72, 160};
  return column >= 0 && column < ColumnCount() ? kWidths[column] : 0;
}

}  // namespace jwcount
