// The rows of a comparison of two counts (report/CountDiff.h) as text for a terminal, as CSV and as JSON.
#pragma once

#include "report/CountDiff.h"
#include "report/OutputBuffer.h"

namespace jwcount {

// A line on each count (its drawing and time), a warning when their selection ranges differ, then the rows
// under 表 行 項目 基準 今回 増減, aligned; "基準と同じ" when no row differs. UTF-8.
void WriteDiffText(OutputBuffer& out, const CountDiff& diff);
// The same rows as CSV: 表,行,項目,基準,今回,増減, UTF-8 with a byte-order mark and CR LF.
void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff);
// One object: "baseline" and "current" (file, time, range, version; null where unknown), "range_differs"
// and "rows".
void WriteDiffJson(OutputBuffer& out, const CountDiff& diff);

// A figure as the text and CSV forms show it: a count as a whole number, a length or area to the
// millimetre's thousandth, and "?" for one beyond a double; a change with its sign.
std::string DiffFigure(const std::optional<double>& value, bool quantity, bool signedChange);

}  // namespace jwcount
