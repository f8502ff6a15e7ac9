// The text report for people: UTF-8, aligned by width on a terminal.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "report/SectionList.h"
#include "text/Utf8Text.h"

namespace jwcount {

// The thirteen summary lines, then each section of the count in order, an empty line before each
// (report/Section.h): the five count tables with their lengths and areas, the blocks and the texts by name,
// and the checks.
void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report,
                     std::span<const SectionRow> sections = Sections());

}  // namespace jwcount
