// The drawing checks as the outputs show them: one row per check, the duplicates of each kind under
// 重複, the layers each row's elements lie on, and page 1's line of what was found.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CheckList.h"
#include "counting/DrawingChecks.h"

namespace jwcount {

struct CheckRow {
  std::string_view Label;  // Shift-JIS: the check, or for a kind's duplicates the kind's name
  int32_t Kind = 0;        // 1 to 15 for a kind's duplicates, else 0
  const CheckListRow* Check = nullptr;
  const CheckFinding* Finding = nullptr;
};

// Every check in the order of the list, a check told by kind followed by a row per kind it found
// something of: 重複 and its kinds, 長さ 0 の線, 半径 0 の円・円弧, 空の文字.
std::vector<CheckRow> CheckRows(const DrawingChecks& checks);

// The layers as row heads show them, in order, ", " between them: "0－3, 1－A"; after ten of them
// "ほか N" for the N more. Shift-JIS.
std::string LayersText(const std::bitset<kLayerCount>& layers);

// "点検: 重複 12, 長さ 0 の線 3" for the checks that found something; "" when none did. Shift-JIS.
std::string CheckSummaryLine(const DrawingChecks& checks);

}  // namespace jwcount
