// The CSV report for spreadsheets: one long table of every count.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "text/Utf8Text.h"

namespace jwcount {

// One long table: table, row head, name, column head, count; one line per cell with a count other than 0,
// then the block-name table (row: the block's place in order of first appearance, name: the block name,
// column: 数; the total row: 合計). UTF-8 with a byte-order mark and CR LF line ends, every field through
// the formula guard (report/CsvWriter.h).
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

}  // namespace jwcount
