#include "report/CheckText.h"

#include "counting/CountTexts.h"
#include "tempfile/MyFunc.h"

namespace jwcount {

std::vector<CheckRow> CheckRows(const DrawingChecks& checks) {
  std::vector<CheckRow> rows;
  for (const CheckListRow& check : kCheckList) {
    rows.push_back({check.Label, 0, &check, &check.Of(checks)});
    if (!check.ByKind) continue;
    for (std::size_t k = 0; k < checks.DuplicatesByKind.size(); ++k) {
      if (checks.DuplicatesByKind[k].Count == 0) continue;
      rows.push_back({kKindNames[k], static_cast<int32_t>(k + 1), &check, &checks.DuplicatesByKind[k]});
    }
  }
  return rows;
}

std::string LayersText(const std::bitset<kLayerCount>& layers) {
  constexpr std::size_t kShown = 10;
  std::string text;
  std::size_t listed = 0;
  for (std::size_t code = 0; code < layers.size(); ++code) {
    if (!layers[code]) continue;
    if (listed == kShown) {
      text += ", ";
      text += kMoreLayersPrefix;
      AppendNumber(text, layers.count() - kShown);
      break;
    }
    if (listed++ > 0) text += ", ";
    text += HexDigitChar(static_cast<unsigned>(code >> 4));
    text += kFullWidthDash;
    text += HexDigitChar(static_cast<unsigned>(code & 15));
  }
  return text;
}

std::string CheckSummaryLine(const DrawingChecks& checks) {
  if (!checks.Found()) return {};
  std::string text(kCheckTitle);
  text += ": ";
  bool first = true;
  for (const CheckRow& row : CheckRows(checks)) {
    if (row.Kind != 0 || row.Finding->Count == 0) continue;
    if (!first) text += ", ";
    first = false;
    text += row.Label;
    text += ' ';
    AppendNumber(text, row.Finding->Count);
  }
  return text;
}

}  // namespace jwcount
