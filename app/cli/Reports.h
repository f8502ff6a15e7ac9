// The three reports of a count on standard output: text for people, CSV for spreadsheets, JSON for
// programs.
#pragma once

#include "CountReport.h"
#include "OutputBuffer.h"
#include "RowNames.h"
#include "Utf8Text.h"

namespace jwcount {

// The JSON report. With the report's state captured, the reader (whose index and stores the read filled)
// supplies the index, the stores and their capacities.
void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader);

// The thirteen summary lines, then per table its title, head, the rows that hold a count other than 0 and
// the total row, aligned in columns, a layer or layer group row head followed by its name; last the
// block-name table, every name in order of first appearance and the total.
void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

// One long table: table, row head, name, column head, count; one line per cell with a count other than 0,
// then the block-name table (row: the block's place in order of first appearance, name: the block name,
// column: 数; the total row: 合計). UTF-8 with a byte-order mark and CR LF line ends, every field through
// the formula guard (CsvWriter.h).
void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

// The five tables in page order, with their ids and their page titles (Shift-JIS).
struct NamedTable {
  const char* Id;
  CountTableId Which;
  std::string_view Title;
  const CountTable& Table;
};
std::array<NamedTable, 5> NamedTables(const CountTables& tables);

}  // namespace jwcount
