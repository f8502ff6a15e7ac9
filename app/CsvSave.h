// What the window's "save as CSV" computes without a window: the rows of page 1, and the file name and
// folder the Save dialog offers.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

// The heads of page 1's two columns (Shift-JIS): 種類 and 数.
inline constexpr std::string_view kKindHead = "\x8E\xED\x97\xDE";  // 種類
inline constexpr std::string_view kCountHead = "\x90\x94";         // 数

// Page 1 as rows: the heads, then one row per summary label: the kind (the label's caption without its
// closing 数：, such as 線データ) and the count the label shows after its caption ("" before the count).
// labelTexts are the thirteen label texts as shown, Shift-JIS.
std::vector<std::vector<std::string>> SummaryRows(std::span<const std::string> labelTexts);

// The name and folder offered for the CSV file (UTF-8). For a drawing the exchange file names ("file=",
// a Shift-JIS Windows path), "<drawing name>_要素数.csv" in the drawing's folder; the folder is "" when the
// path has none. Without a drawing name, "要素数.csv" and no folder. Characters a Windows file name cannot
// hold become "_".
struct CsvFileName {
  std::string FolderUtf8;
  std::string NameUtf8;
};
CsvFileName DefaultCsvFileName(std::string_view drawingFile);

}  // namespace jwcount
