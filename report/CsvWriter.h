// CSV for spreadsheets, shared by the window's "save as CSV" and jwcount-cli's CSV report: UTF-8 with a
// byte-order mark and CR LF line ends, as spreadsheets on Windows expect.
//
// Block and layer names come from drawings other people made, so every field passes the formula guard:
// a text that begins with =, +, -, @, a tab or a CR gets a leading apostrophe, which a spreadsheet reads
// as "this is text" and never as a formula.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/Utf8Text.h"

namespace jwcount {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// True when a spreadsheet would take the text for a formula: it begins with =, +, -, @, a tab or a CR.
// The test looks at one ASCII byte, so it holds for Shift-JIS and UTF-8 alike.
bool StartsFormula(std::string_view text);
// What goes before such a text, so that a spreadsheet takes it as text; it shows the text without it.
inline constexpr char kFormulaGuard = '\'';

// Appends one field holding the UTF-8 text: guarded, and in double quotes (inner quotes doubled) when it
// holds a comma, a double quote, a CR or an LF.
void AppendCsvField(std::string& out, std::string_view utf8);

// Appends one line: the Shift-JIS cells converted to UTF-8, each a field as above, then CR LF.
void AppendCsvRow(std::string& out, Utf8Text& utf8, std::span<const std::string_view> shiftJisCells);

// A whole CSV file: the byte-order mark, firstLine (UTF-8, such as a warning) as a line of one field
// unless it is empty, then one line per row of Shift-JIS cells.
std::string CsvFile(const std::vector<std::vector<std::string>>& shiftJisRows,
                    std::string_view firstLine = {});

}  // namespace jwcount
