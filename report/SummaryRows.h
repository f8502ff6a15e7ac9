// Page 1 as a table: the thirteen summary labels as rows of a kind and its count, for the window's CSV
// save and the table drawn into the drawing.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace jwcount {

// The heads 種類 and 数, then one row per summary label: the kind (the label's caption without its closing
// 数：, such as 線データ) and the count the label shows after its caption ("" before the count).
// labelTexts are the thirteen label texts as shown, Shift-JIS; a missing one counts as its bare caption.
std::vector<std::vector<std::string>> SummaryRows(std::span<const std::string> labelTexts);

}  // namespace jwcount
