// The rows of a comparison of two counts (report/CountDiff.h) as text for a terminal, as CSV and as JSON.
// The text and the CSV are page 11's (report/DiffSection.h): its part of the text report, and its grid as
// the window's CSV save writes it.
#pragma once

#include "report/CountDiff.h"
#include "report/OutputBuffer.h"

namespace jwcount {

void WriteDiffText(OutputBuffer& out, const CountDiff& diff);
void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff);
// One object: "baseline" and "current" (file, time, range, version; null where unknown), "range_differs"
// and "rows".
void WriteDiffJson(OutputBuffer& out, const CountDiff& diff);

// A figure as the text and CSV forms show it: a count as a whole number, a length or area to the
// millimetre's thousandth, and "?" for one beyond a double; a change with its sign.
std::string DiffFigure(const std::optional<double>& value, bool quantity, bool signedChange);

}  // namespace jwcount
