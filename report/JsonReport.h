// The JSON report for programs: every label, status text and table cell, the block names with their exact
// bytes, the layer-group and layer names, and on request the reader state after the read.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "report/SectionList.h"
#include "tempfile/JwwGaibu.h"
#include "text/Utf8Text.h"

namespace jwcount {

// With the report's state shown, the reader (whose index and stores the read filled) supplies the index,
// the stores and their capacities.
// `sections` are those the report holds: every section of the count, unless told otherwise.
void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                     std::span<const SectionRow> sections = Sections());

// The count kept as the baseline of its drawing: the JSON report and a last member "baseline" with the
// drawing's path ("file=", UTF-8), `time` (ISO 8601 with its offset; null when empty), the selection range
// ("hn", or null when the file gave none) and jwcount's version.
void WriteBaselineFile(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                       std::string_view time);

}  // namespace jwcount
