// The JSON report for programs: every label, status text and table cell, the block names with their exact
// bytes, the layer-group and layer names, and on request the reader state after the read.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "tempfile/JwwGaibu.h"
#include "text/Utf8Text.h"

namespace jwcount {

// With the report's state shown, the reader (whose index and stores the read filled) supplies the index,
// the stores and their capacities.
void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader);

}  // namespace jwcount
