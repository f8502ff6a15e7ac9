// The CSV report for spreadsheets: one long table of every count.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "report/SectionList.h"
#include "text/Utf8Text.h"

namespace jwcount {

// One long table: table, row head, name, column head, count; the records of each section of the count in
// order (report/Section.h): a line per cell of a count table with a count other than 0 and per length or
// area, a line per name (row: its place in order of first appearance; 合計 last), a line per finding of
// the checks. UTF-8 with a byte-order mark and CR LF line ends, every field through the formula guard
// (report/CsvWriter.h).
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report,
                    std::span<const SectionRow> sections = Sections());

}  // namespace jwcount
