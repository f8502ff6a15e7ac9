// A comparison of two counts (report/CountDiff.h) as `jwcount-cli diff` writes it: page 11's section
// (report/DiffSection.h) through the text and the JSON sink, and as CSV its grid as the window's CSV save
// writes it.
#pragma once

#include "report/CountDiff.h"
#include "report/OutputBuffer.h"

namespace jwcount {

void WriteDiffText(OutputBuffer& out, const CountDiff& diff);
void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff);
void WriteDiffJson(OutputBuffer& out, const CountDiff& diff);

}  // namespace jwcount
