// The text report for people: UTF-8, aligned by width on a terminal.
#pragma once

#include "report/CountReport.h"
#include "report/OutputBuffer.h"
#include "text/Utf8Text.h"

namespace jwcount {

// The thirteen summary lines, then per table its title, head, the rows that hold a count other than 0 and
// the total row, aligned in columns, a layer or layer group row head followed by its name; last the
// block-name table, every name in order of first appearance and the total.
void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report);

}  // namespace jwcount
