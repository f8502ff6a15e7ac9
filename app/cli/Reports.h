// The three reports of a count on standard output: text for people, CSV for spreadsheets, JSON for
// programs.
#pragma once

#include "CountReport.h"
#include "OutputBuffer.h"
#include "Utf8Text.h"

namespace jwcount {

// The JSON report. With the report's state captured, the reader (whose index and stores the read filled)
// supplies the index, the stores and their capacities.
void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader);

// The thirteen summary lines, then per table its title, head, the rows that hold a count other than 0 and
// the total row, aligned in columns.
void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

// One long table: table, row label, column head, count; one line per cell with a count other than 0. UTF-8
// with a byte-order mark and CR LF line ends, as spreadsheets on Windows expect.
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

// The five tables in page order, with their ids and their page titles (Shift-JIS).
struct NamedTable {
  const char* Id;
  std::string_view Title;
  const CountTable& Table;
};
std::array<NamedTable, 5> NamedTables(const CountTables& tables);

}  // namespace jwcount
